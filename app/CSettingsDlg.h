#pragma once

#include "window_settings.h"

#include <QDialog>

#include <string>

class CFileChooser;
class CMessageBox;
class CSourcePreview;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// 转换设置: the converter's options under velkaro-convert's own names and ranges, and where the
// outputs go. 确定 takes the choices only when they are valid (a text height in range, a folder
// chosen for 指定文件夹), and says what is wrong otherwise; 恢复默认 puts back the old tool's
// behaviour; 取消, Esc and the close box change nothing. The source's layout and encoding show at
// once in a preview of the chosen file's first points.
class CSettingsDlg : public QDialog {
    Q_OBJECT

  public:
    // sourcePath: the first chosen source as a core name, empty before a choice; the preview's.
    CSettingsDlg(const velkaro::dialog::WindowSettings &settings, const std::string &sourcePath,
                 CFileChooser &fileChooser, CMessageBox &messageBox, QWidget *parent);

    // What the controls hold; the text height as typed when it is valid.
    [[nodiscard]] velkaro::dialog::WindowSettings settings() const;
    void showSettings(const velkaro::dialog::WindowSettings &settings);

  public slots:
    void accept() override;
    void OnDefaults();
    void OnChooseFolder();

  private:
    void buildForm();
    void buildSourceRows(QFormLayout &form);
    void buildCrsRow(QFormLayout &form);
    void showSourceReading(const velkaro::SourceReading &reading);
    [[nodiscard]] bool customRoles() const;
    [[nodiscard]] std::string layoutText() const;
    void updatePreview();
    void buildButtons();
    void enableDependents();
    void complain(std::string_view text);

    CFileChooser &m_fileChooser;
    CMessageBox &m_messageBox;
    const std::string m_lastFolder; // kept as it came; Browse changes it, not this dialog
    std::string m_outputFolder;     // a core name

    QComboBox *const m_codePage;
    QComboBox *const m_axes;
    QCheckBox *const m_labels;
    QLineEdit *const m_labelHeight;
    QSpinBox *const m_labelDecimals;
    QComboBox *const m_cassColumns;
    QCheckBox *const m_skipJunk;
    QCheckBox *const m_summary;
    QRadioButton *const m_besideSource;
    QRadioButton *const m_folder;
    QLineEdit *const m_folderName;
    QPushButton *const m_chooseFolder;
    QPushButton *const m_defaults;
    QComboBox *const m_layout;
    QLineEdit *const m_roles;
    QComboBox *const m_encoding;
    QComboBox *const m_crs;
    CSourcePreview *const m_preview;
};
