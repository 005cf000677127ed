#include "CPointConvertDlg.h"

#include "CAboutBox.h"
#include "CColorLabel.h"
#include "CFileChooser.h"
#include "CMessageBox.h"
#include "CMessageBoxHost.h"
#include "CPointConvertApp.h"
#include "QtText.h"
#include "convert_command.h"
#include "dialog_texts.h"
#include "format_selection.h"
#include "unrepresentable_name.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
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
      m_groupBox(new QGroupBox(this)) {
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
}

// An editable drop-down list, unsorted, in which typing never adds an item; a drop on its field
// is the window's drop. The template's height includes the opened list, so the closed field
// keeps its own height.
void CPointConvertDlg::placeFormatList() {
    m_comboFormat->setObjectName(QStringLiteral("comboFormat"));
    m_comboFormat->setEditable(true);
    m_comboFormat->setInsertPolicy(QComboBox::NoInsert);
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
    m_buttonBrowse->setFocus();
}

// The three formats in list order, none of them selected.
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
    CPointConvertApp::showHelp(m_messageBox, this);
}

void CPointConvertDlg::OnBrowse() {
    takeSourceFiles(m_fileChooser.chooseSourceFiles(this));
}

// The outputs go beside each source: the dialog layer hands the core each file's folder, so the
// process's current directory is neither needed nor changed.
void CPointConvertDlg::takeSourceFiles(const QStringList &paths) {
    if (paths.isEmpty()) {
        return;
    }
    std::vector<std::string> coreNames;
    for (const QString &path : paths) {
        coreNames.push_back(toCoreName(path));
        if (QString::fromStdString(decodeCoreName(coreNames.back())) != path) {
            // A path the core's narrow names cannot hold (Windows' code page) would name
            // another file: nothing is chosen.
            CMessageBoxHost(m_messageBox, this)
                .showMessage(velkaro::dialog::unrepresentableNameMessage(path.toStdString()));
            return;
        }
    }
    m_selection.choose(coreNames, velkaro::dialog::kNativePathStyle);
    m_strSourcePath = paths.constFirst();
    m_strSourceName = fileNamePart(m_strSourcePath);
    exchangeToControls();
}

void CPointConvertDlg::OnConvert() {
    CMessageBoxHost host(m_messageBox, this);
    velkaro::dialog::ConvertCommand command(host, &CPointConvertDlg::decodeCoreName);
    command.run(m_selection, selectedFormat());
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

// The core opens files with the C library's narrow names: on Windows those are in the ANSI code
// page (what toLocal8Bit gives there), elsewhere the file system's own bytes.
std::string CPointConvertDlg::toCoreName(const QString &path) {
#ifdef Q_OS_WIN
    return path.toLocal8Bit().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

std::string CPointConvertDlg::decodeCoreName(std::string_view coreName) {
    const QByteArray bytes(coreName.data(), static_cast<qsizetype>(coreName.size()));
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes).toStdString();
#else
    return QFile::decodeName(bytes).toStdString();
#endif
}

QStringList CPointConvertDlg::droppedSourceFiles(const QMimeData *mimeData) {
    if (mimeData == nullptr || !mimeData->hasUrls()) {
        return {};
    }
    QStringList files;
    for (const QUrl &url : mimeData->urls()) {
        const QFileInfo file(url.toLocalFile());
        if (!url.isLocalFile() || !file.isFile()) {
            return {};
        }
        files << file.absoluteFilePath();
    }
    return files;
}

void CPointConvertDlg::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedSourceFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CPointConvertDlg::dropEvent(QDropEvent *event) {
    const QStringList files = droppedSourceFiles(event->mimeData());
    if (!files.isEmpty()) {
        takeSourceFiles(files);
        event->acceptProposedAction();
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
