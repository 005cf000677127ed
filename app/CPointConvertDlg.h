#pragma once

#include "CDialogUnits.h"
#include "chosen_names.h"
#include "conversion_run.h"
#include "message.h"
#include "source_selection.h"
#include "window_settings.h"

#include <QDialog>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CColorLabel;
class CFileChooser;
class CMessageBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QMimeData;
class QPushButton;

// The main window: the background picture, the two captions, the file-name display, the browse
// and convert buttons and the format list. Its size and every control's geometry come from the
// template's dialog units (template 102: 342 x 183) in the template font. Beyond the template, the
// free top of the group box holds the options in force (one short line) and the small 设置...
// button; the settings are loaded when the window opens and saved whenever they change.
class CPointConvertDlg : public QDialog {
    Q_OBJECT

  public:
    CPointConvertDlg(CFileChooser &fileChooser, CMessageBox &messageBox, QWidget *parent = nullptr);
    ~CPointConvertDlg() override;

    // Control geometries of template 102, in dialog units.
    static constexpr QSize kTemplateSize{342, 183};
    static constexpr QRect kLabelSourceRect{35, 110, 57, 8};   // 1003
    static constexpr QRect kFileNameRect{102, 105, 147, 14};   // 1002
    static constexpr QRect kBrowseRect{265, 105, 34, 15};      // 1000
    static constexpr QRect kConvertRect{266, 140, 34, 14};     // 1001
    static constexpr QRect kGroupBoxRect{23, 75, 296, 94};     // -1
    static constexpr QRect kFormatListRect{101, 141, 149, 48}; // 1004, height with the list open
    static constexpr QRect kLabelFormatRect{35, 143, 57, 8};   // 1005
    // Beyond the template, in the group box's free top, clear of every template control.
    static constexpr QRect kOptionsLineRect{35, 87, 220, 9};
    static constexpr QRect kSettingsRect{265, 84, 34, 14};

    [[nodiscard]] const CDialogUnits &dialogUnits() const { return m_units; }
    [[nodiscard]] const QString &sourcePath() const { return m_strSourcePath; }
    [[nodiscard]] const QString &sourceName() const { return m_strSourceName; }
    [[nodiscard]] const QPixmap &background() const { return m_bmpBackground; }
    [[nodiscard]] const velkaro::dialog::WindowSettings &settings() const { return m_settings; }

    // The part of path after its last separator: "/" and, on Windows, also "\".
    [[nodiscard]] static QString fileNamePart(const QString &path);
    // Where the minimised window draws its icon: (client - icon + 1) / 2 on each axis,
    // truncated toward zero.
    [[nodiscard]] static QPoint minimisedIconPosition(QSize client, QSize icon);
    // What a drop carries, sorted: the local files Qt can show, as the core's names (their
    // bytes), those it cannot, and the folders and other entries that are no file, both escaped
    // for display; each in the drop's order. Empty when it carries no local name.
    [[nodiscard]] static velkaro::dialog::ChosenNames droppedItems(const QMimeData *mimeData);
    // A file name as the core takes it turned into UTF-8 for display, and a path turned into
    // the core's name.
    [[nodiscard]] static std::string decodeCoreName(std::string_view coreName);
    [[nodiscard]] static std::string toCoreName(const QString &path);

    // The menu the dialog gives itself in place of a window menu; it ends with a separator and
    // the about entry. Owned by the caller.
    [[nodiscard]] std::unique_ptr<QMenu> createWindowMenu();

  signals:
    // Emitted when the mouse moves with the left button held after a press on the background
    // (or on a control that lets presses through), with the press point in client coordinates,
    // just before the window system is asked to move the window.
    void windowMoveRequested(QPoint clientPoint);

  public slots:
    void OnBrowse();
    void OnConvert();
    void OnHelp();
    void OnAbout();
    void OnSettings();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;
#endif

  private:
    void initDialog();
    void placeControls();
    void placeFileNameDisplay();
    void placeFormatList();
    void placeSettingsControls();
    void setTabOrderAsTemplate();
    void fillFormatList();
    void appendAboutToSystemMenu();
    // Moves m_strSourceName into control 1002.
    void exchangeToControls();
    void takeSourceFiles(const QStringList &paths);
    void takeChosenNames(const velkaro::dialog::ChosenNames &names);
    void rememberShownFolder();
    void reportUndecodableNames(const std::vector<std::string> &coreNames);
    void showOptionsLine();
    // The names in folder (a core name) that Qt cannot show, sorted.
    [[nodiscard]] static std::vector<std::string> undecodableNamesIn(const std::string &folder);
    void OnFormatTextEdited(const QString &text);
    void centreOnPrimaryScreen();
    void paintMinimised(QPainter &painter);
    void requestWindowMove(QPoint clientPoint);
    [[nodiscard]] std::optional<velkaro::TargetFormat> selectedFormat() const;

    CFileChooser &m_fileChooser;
    CMessageBox &m_messageBox;
    const CDialogUnits m_units;

    QString m_strSourcePath;
    QPixmap m_bmpBackground;
    QComboBox *const m_comboFormat;
    CColorLabel *const m_labelSource;
    CColorLabel *const m_labelFormat;
    QString m_strSourceName;
    QIcon m_hIcon;
    // Every file of the last browse or drop; m_strSourcePath and m_strSourceName are its first.
    velkaro::dialog::SourceSelection m_selection;

    QLabel *const m_fileNameDisplay;
    QPushButton *const m_buttonBrowse;
    QPushButton *const m_buttonConvert;
    QGroupBox *const m_groupBox;
    QLabel *const m_optionsLine;
    QPushButton *const m_buttonSettings;
    velkaro::dialog::WindowSettings m_settings;
    bool m_centred = false;
    std::optional<QPoint> m_movePress; // a press that moves the window once the mouse moves
};
