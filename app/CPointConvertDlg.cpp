#include "CPointConvertDlg.h"

#include "CAboutBox.h"
#include "CColorLabel.h"
#include "CCoreNames.h"
#include "CFileChooser.h"
#include "CMessageBox.h"
#include "CMessageBoxHost.h"
#include "CPointConvertApp.h"
#include "CSettingsDlg.h"
#include "CSettingsStore.h"
#include "QtText.h"
#include "chosen_names.h"
#include "convert_command.h"
#include "dialog_texts.h"
#include "format_selection.h"
#include "unrepresentable_name.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#define NOMINMAX
#include <windows.h>
#endif

namespace {

namespace texts = velkaro::dialog;

} // namespace

CPointConvertDlg::CPointConvertDlg(CFileChooser &fileChooser, CMessageBox &messageBox,
                                   QWidget *parent)
    : QDialog(parent), m_fileChooser(fileChooser), m_messageBox(messageBox),
      m_units(CDialogUnits::templateFont()), m_comboFormat(new QComboBox(this)),
      m_labelSource(new CColorLabel(qtText(texts::kSourceCaptionTemplate), this)),
      m_labelFormat(new CColorLabel(qtText(texts::kFormatCaption), this)),
      m_hIcon(CPointConvertApp::programIcon()), m_fileNameDisplay(new QLabel(this)),
      m_buttonBrowse(new QPushButton(qtText(texts::kBrowseText), this)),
      m_buttonConvert(new QPushButton(qtText(texts::kConvertText), this)),
      m_groupBox(new QGroupBox(this)), m_optionsLine(new QLabel(this)),
      m_buttonSettings(new QPushButton(qtText(texts::kSettingsButtonText), this)),
      m_settings(CSettingsStore::load()) {
    setObjectName(QStringLiteral("pointConvertDlg"));
    setFont(CDialogUnits::templateFont());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setAcceptDrops(true);
    setFixedSize(m_units.toPixels(kTemplateSize));
    placeControls();
    setTabOrderAsTemplate();
    connect(m_buttonBrowse, &QPushButton::clicked, this, &CPointConvertDlg::OnBrowse);
    connect(m_buttonConvert, &QPushButton::clicked, this, &CPointConvertDlg::OnConvert);
    connect(m_buttonSettings, &QPushButton::clicked, this, &CPointConvertDlg::OnSettings);
    auto *const help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &CPointConvertDlg::OnHelp);
    initDialog();
}

CPointConvertDlg::~CPointConvertDlg() = default;

void CPointConvertDlg::placeControls() {
    m_labelSource->setObjectName(QStringLiteral("labelSource"));
    m_labelSource->setGeometry(m_units.toPixels(kLabelSourceRect));
    placeFileNameDisplay();

    // No button is a default button.
    m_buttonBrowse->setObjectName(QStringLiteral("buttonBrowse"));
    m_buttonBrowse->setGeometry(m_units.toPixels(kBrowseRect));
    m_buttonBrowse->setAutoDefault(false);
    m_buttonConvert->setObjectName(QStringLiteral("buttonConvert"));
    m_buttonConvert->setGeometry(m_units.toPixels(kConvertRect));
    m_buttonConvert->setAutoDefault(false);

    // Like the platform's group box, it lets presses through to what lies beneath.
    m_groupBox->setObjectName(QStringLiteral("groupBox"));
    m_groupBox->setGeometry(m_units.toPixels(kGroupBoxRect));
    m_groupBox->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_groupBox->lower();

    placeFormatList();
    m_labelFormat->setObjectName(QStringLiteral("labelFormat"));
    m_labelFormat->setGeometry(m_units.toPixels(kLabelFormatRect));
    placeSettingsControls();
}

// The options line is plain text on the picture, as the captions are; its accessible name says
// what it is, its description what it shows.
void CPointConvertDlg::placeSettingsControls() {
    m_optionsLine->setObjectName(QStringLiteral("optionsLine"));
    m_optionsLine->setGeometry(m_units.toPixels(kOptionsLineRect));
    m_optionsLine->setTextFormat(Qt::PlainText);
    m_optionsLine->setAccessibleName(qtText(texts::kOptionsLineName));
    m_buttonSettings->setObjectName(QStringLiteral("buttonSettings"));
    m_buttonSettings->setGeometry(m_units.toPixels(kSettingsRect));
    m_buttonSettings->setAutoDefault(false);
}

// One line of plain text, left-aligned and centred vertically, in a sunken edge.
void CPointConvertDlg::placeFileNameDisplay() {
    m_fileNameDisplay->setObjectName(QStringLiteral("fileNameDisplay"));
    m_fileNameDisplay->setGeometry(m_units.toPixels(kFileNameRect));
    m_fileNameDisplay->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_fileNameDisplay->setLineWidth(1);
    m_fileNameDisplay->setIndent(0);
    m_fileNameDisplay->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_fileNameDisplay->setTextFormat(Qt::PlainText);
    m_fileNameDisplay->setAutoFillBackground(true);
    m_fileNameDisplay->setAccessibleName(qtText(texts::kFileNameBoxName));
}

// An editable drop-down list, unsorted, in which typing never adds an item; a drop on its field
// is the window's drop. The template's height includes the opened list, so the closed field
// keeps its own height.
void CPointConvertDlg::placeFormatList() {
    m_comboFormat->setObjectName(QStringLiteral("comboFormat"));
    m_comboFormat->setEditable(true);
    m_comboFormat->setInsertPolicy(QComboBox::NoInsert);
    m_comboFormat->setAccessibleName(qtText(texts::kFormatListName));
    QLineEdit *const field = m_comboFormat->lineEdit();
    field->setAcceptDrops(false);
    // Typed text chooses nothing: no completion, and leaving the field does not pick the item
    // whose text it happens to hold (QComboBox would on editingFinished).
    m_comboFormat->setCompleter(nullptr);
    QObject::disconnect(field, &QLineEdit::editingFinished, m_comboFormat, nullptr);
    connect(field, &QLineEdit::textEdited, this, &CPointConvertDlg::OnFormatTextEdited);
    const QRect list = m_units.toPixels(kFormatListRect);
    m_comboFormat->setGeometry(list.x(), list.y(), list.width(),
                               m_comboFormat->sizeHint().height());
}

// The tab stops in template order; captions, display and group box take no focus.
void CPointConvertDlg::setTabOrderAsTemplate() {
    setTabOrder(m_buttonBrowse, m_buttonConvert);
    setTabOrder(m_buttonConvert, m_comboFormat);
    setTabOrder(m_comboFormat, m_buttonSettings);
}

void CPointConvertDlg::initDialog() {
    fillFormatList();
    exchangeToControls();
    appendAboutToSystemMenu();
    setWindowIcon(m_hIcon);
    setWindowTitle(qtText(texts::kWindowTitle));
    m_bmpBackground = QPixmap(QStringLiteral(":/res/background.png"));
    m_labelSource->SetText(qtText(texts::kSourceCaption));
    m_labelSource->SetBackColor(QColor(Qt::black));
    m_labelFormat->SetText(qtText(texts::kFormatCaption));
    m_labelFormat->SetBackColor(QColor(Qt::black));
    showOptionsLine();
    m_buttonBrowse->setFocus();
}

// The formats in list order (the old three, then the GIS formats), none of them selected.
void CPointConvertDlg::fillFormatList() {
    for (const std::string_view item : velkaro::dialog::formatListItems()) {
        m_comboFormat->addItem(qtText(item));
    }
    m_comboFormat->setCurrentIndex(-1);
}

// The display shows m_strSourceName, or for several files the dialog layer's summary of them;
// its tool tip every full path.
void CPointConvertDlg::exchangeToControls() {
    const bool several = m_selection.files().size() > 1;
    m_fileNameDisplay->setText(several ? qtText(m_selection.displayText(&decodeCoreName))
                                       : m_strSourceName);
    m_fileNameDisplay->setToolTip(qtText(m_selection.toolTipText(&decodeCoreName)));
    m_fileNameDisplay->setAccessibleDescription(m_fileNameDisplay->text());
}

void CPointConvertDlg::showOptionsLine() {
    const QString line = qtText(velkaro::dialog::optionsLine(m_settings, &decodeCoreName));
    m_optionsLine->setText(line);
    m_optionsLine->setToolTip(line);
    m_optionsLine->setAccessibleDescription(line);
}

QString CPointConvertDlg::fileNamePart(const QString &path) {
    qsizetype separator = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    separator = std::max(separator, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return path.mid(separator + 1);
}

QPoint CPointConvertDlg::minimisedIconPosition(QSize client, QSize icon) {
    return {(client.width() - icon.width() + 1) / 2, (client.height() - icon.height() + 1) / 2};
}

void CPointConvertDlg::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    if (isMinimized()) {
        paintMinimised(painter);
        return;
    }
    painter.drawPixmap(0, 0, m_bmpBackground);
}

void CPointConvertDlg::paintMinimised(QPainter &painter) {
    painter.fillRect(rect(), palette().window());
    const int extent = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    const QSize iconSize(extent, extent);
    m_hIcon.paint(&painter, QRect(minimisedIconPosition(size(), iconSize), iconSize));
}

// Presses that a button or the list ignored (on their margins, say) reach the dialog as well;
// only the background and the controls that let presses through move the window.
void CPointConvertDlg::mousePressEvent(QMouseEvent *event) {
    const QWidget *const hit = childAt(event->position().toPoint());
    const bool passThrough =
        hit == nullptr || hit == m_labelSource || hit == m_labelFormat || hit == m_fileNameDisplay;
    if (event->button() == Qt::LeftButton && passThrough) {
        m_movePress = event->position().toPoint();
    }
    QDialog::mousePressEvent(event);
}

// The move starts with the first motion of the held button, as a press on the caption moves
// the window only once the mouse moves. Asking on the press itself would leave some X window
// managers moving the window after a plain click, whose release they never see.
void CPointConvertDlg::mouseMoveEvent(QMouseEvent *event) {
    if (m_movePress && (event->buttons() & Qt::LeftButton)) {
        const QPoint press = *m_movePress;
        m_movePress.reset();
        requestWindowMove(press);
    }
    QDialog::mouseMoveEvent(event);
}

void CPointConvertDlg::mouseReleaseEvent(QMouseEvent *event) {
    m_movePress.reset();
    QDialog::mouseReleaseEvent(event);
}

void CPointConvertDlg::requestWindowMove(QPoint clientPoint) {
    emit windowMoveRequested(clientPoint);
    if (QWindow *const window = windowHandle()) {
        window->startSystemMove();
    }
}

// Enter presses the push button that has the focus and otherwise ends the dialog through OK;
// Esc (like the close box) cancels.
void CPointConvertDlg::keyPressEvent(QKeyEvent *event) {
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (!plain || (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (auto *const button = qobject_cast<QPushButton *>(focusWidget())) {
        button->click();
        return;
    }
    accept();
}

void CPointConvertDlg::showEvent(QShowEvent *event) {
    if (!m_centred && !isMinimized()) {
        m_centred = true;
        centreOnPrimaryScreen();
    }
    QDialog::showEvent(event);
}

// Centred in the primary screen's available area, by the halving the platform uses.
void CPointConvertDlg::centreOnPrimaryScreen() {
    const QScreen *const screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    move((2 * area.x() + area.width()) / 2 - frame.width() / 2,
         (2 * area.y() + area.height()) / 2 - frame.height() / 2);
}

void CPointConvertDlg::OnHelp() {
    CPointConvertApp::showHelp(m_messageBox, this, QCoreApplication::applicationFilePath());
}

// The chooser opens where the last one closed. It cannot list names that are not in the file
// system's encoding, so the names of that folder it left out are named afterwards, chosen or not.
void CPointConvertDlg::OnBrowse() {
    const QString start = qtText(decodeCoreName(m_settings.lastFolder));
    const QStringList paths = m_fileChooser.chooseSourceFiles(this, start);
    rememberShownFolder();
    takeSourceFiles(paths);
    reportUndecodableNames(undecodableNamesIn(m_settings.lastFolder));
}

void CPointConvertDlg::rememberShownFolder() {
    const QString shown = m_fileChooser.shownFolder();
    if (!shown.isEmpty() && toCoreName(shown) != m_settings.lastFolder) {
        m_settings.lastFolder = toCoreName(shown);
        CSettingsStore::save(m_settings);
    }
}

std::vector<std::string> CPointConvertDlg::undecodableNamesIn(const std::string &folder) {
    std::vector<std::string> names;
#ifndef Q_OS_WIN
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error), end;
         !error && entry != end; entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (!CCoreNames::isRepresentable(name)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
#else
    (void)folder; // Windows' names are UTF-16: the chooser lists every one
#endif
    return names;
}

void CPointConvertDlg::reportUndecodableNames(const std::vector<std::string> &coreNames) {
    if (coreNames.empty()) {
        return;
    }
    std::vector<std::string> shown;
    for (const std::string &name : coreNames) {
        shown.push_back(CCoreNames::escaped(name));
    }
    CMessageBoxHost(m_messageBox, this)
        .showMessage(velkaro::dialog::undecodableNamesMessage(shown));
}

void CPointConvertDlg::OnSettings() {
    CSettingsDlg dialog(m_settings, m_selection.sourcePath(), m_fileChooser, m_messageBox, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_settings = dialog.settings();
    CSettingsStore::save(m_settings);
    showOptionsLine();
}

// A path the core's narrow names cannot hold (Windows' code page) would name another file: such
// a file is named, never chosen.
void CPointConvertDlg::takeSourceFiles(const QStringList &paths) {
    velkaro::dialog::ChosenNames names;
    for (const QString &path : paths) {
        std::string coreName = toCoreName(path);
        if (QString::fromStdString(decodeCoreName(coreName)) == path) {
            names.coreNames.push_back(std::move(coreName));
        } else {
            names.refused.push_back(path.toStdString());
        }
    }
    takeChosenNames(names);
}

// The outputs go where the settings say: the dialog layer hands the core each output's folder,
// so the process's current directory is neither needed nor changed. The window shows the new
// choice before the box names what it left out.
void CPointConvertDlg::takeChosenNames(const velkaro::dialog::ChosenNames &names) {
    const std::optional<velkaro::dialog::Message> leftOut =
        velkaro::dialog::chooseNames(names, m_selection, velkaro::dialog::kNativePathStyle);
    if (!names.coreNames.empty()) {
        m_strSourcePath = qtText(decodeCoreName(names.coreNames.front()));
        m_strSourceName = fileNamePart(m_strSourcePath);
        exchangeToControls();
    }
    if (leftOut) {
        CMessageBoxHost(m_messageBox, this).showMessage(*leftOut);
    }
}

void CPointConvertDlg::OnConvert() {
    CMessageBoxHost host(m_messageBox, this);
    velkaro::dialog::ConvertCommand command(host, &CPointConvertDlg::decodeCoreName);
    command.run(m_selection, selectedFormat(), m_settings);
}

// The selection counts only while the field shows its text exactly.
std::optional<velkaro::TargetFormat> CPointConvertDlg::selectedFormat() const {
    return velkaro::dialog::selectedFormat(m_comboFormat->currentIndex(),
                                           m_comboFormat->currentText().toStdString());
}

// Editing the field clears the list's selection, as the platform's drop-down list does, and
// keeps what was typed; no completion ever picks an item.
void CPointConvertDlg::OnFormatTextEdited(const QString &text) {
    if (m_comboFormat->currentIndex() < 0) {
        return;
    }
    QLineEdit *const field = m_comboFormat->lineEdit();
    const int cursor = field->cursorPosition();
    const QSignalBlocker blocker(m_comboFormat);
    m_comboFormat->setCurrentIndex(-1);
    field->setText(text);
    field->setCursorPosition(cursor);
}

std::string CPointConvertDlg::toCoreName(const QString &path) {
    return CCoreNames::toCoreName(path);
}

std::string CPointConvertDlg::decodeCoreName(std::string_view coreName) {
    return CCoreNames::decode(coreName);
}

// Each URL's own bytes: a name that is not in the file system's encoding stays the file's name.
// Web addresses name nothing on this computer; the Windows window never receives one either.
velkaro::dialog::ChosenNames CPointConvertDlg::droppedItems(const QMimeData *mimeData) {
    velkaro::dialog::ChosenNames items;
    items.trouble = velkaro::dialog::NameTrouble::Encoding;
    if (mimeData == nullptr || !mimeData->hasUrls()) {
        return items;
    }
    for (const QUrl &url : mimeData->urls()) {
        const std::string name = CCoreNames::fromFileUrl(url);
        if (name.empty()) {
            continue;
        }
        std::error_code error;
        std::string path = std::filesystem::absolute(name, error).string();
        if (!std::filesystem::is_regular_file(path, error)) {
            items.notFiles.push_back(CCoreNames::escaped(path));
        } else if (!CCoreNames::isRepresentable(path)) {
            items.refused.push_back(CCoreNames::escaped(path));
        } else {
            items.coreNames.push_back(std::move(path));
        }
    }
    return items;
}

void CPointConvertDlg::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedItems(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void CPointConvertDlg::dropEvent(QDropEvent *event) {
    const velkaro::dialog::ChosenNames items = droppedItems(event->mimeData());
    if (!items.empty()) {
        event->acceptProposedAction();
        takeChosenNames(items);
    }
}

std::unique_ptr<QMenu> CPointConvertDlg::createWindowMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("windowMenu"));
    QAction *const close = menu->addAction(qtText(texts::kCloseEntryText));
    close->setObjectName(QStringLiteral("closeAction"));
    connect(close, &QAction::triggered, this, &QDialog::reject);
    menu->addSeparator();
    QAction *const about = menu->addAction(qtText(texts::kAboutEntryText));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &CPointConvertDlg::OnAbout);
    return menu;
}

// Right click or the menu key anywhere that no control claims for itself.
void CPointConvertDlg::contextMenuEvent(QContextMenuEvent *event) {
    const std::unique_ptr<QMenu> menu = createWindowMenu();
    menu->exec(event->globalPos());
}

void CPointConvertDlg::OnAbout() {
    CAboutBox about(this);
    (void)about.exec();
}

#ifdef Q_OS_WIN
namespace {
constexpr UINT kAboutCommandId = velkaro::dialog::kAboutCommandId;
} // namespace

void CPointConvertDlg::appendAboutToSystemMenu() {
    const HMENU systemMenu = ::GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(systemMenu, MF_STRING, kAboutCommandId,
                  reinterpret_cast<LPCWSTR>(qtText(texts::kAboutEntryText).utf16()));
}

bool CPointConvertDlg::nativeEvent(const QByteArray &eventType, void *message, qintptr *result) {
    const auto *const msg = static_cast<const MSG *>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kAboutCommandId) {
        OnAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#else
// Without a system menu the about entry lives in the menu of createWindowMenu().
void CPointConvertDlg::appendAboutToSystemMenu() {}
#endif
