#include "CPointConvertDlg.h"

#include "CAboutBox.h"
#include "CColorLabel.h"
#include "CFileChooser.h"
#include "CMessageBox.h"
#include "CPointConvertApp.h"

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
#include <QStyle>
#include <QUrl>
#include <QWindow>

#include <algorithm>

#ifdef Q_OS_WIN
#define NOMINMAX
#include <windows.h>
#endif

namespace {

const QString kTitle = QStringLiteral("RTK格式转换工具");
const QString kConvertedTitle = QStringLiteral("格式转换提示：");
const QString kAboutEntryText = QStringLiteral("关于 Velkaro(&A)...");
const QString kCloseEntryText = QStringLiteral("关闭(&C)");

QString fromCore(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The core opens files with the C library's narrow names: on Windows those are in the ANSI code
// page (what toLocal8Bit gives there), elsewhere the file system's own bytes.
std::string toFileSystemBytes(const QString &path) {
#ifdef Q_OS_WIN
    return path.toLocal8Bit().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString fromFileSystemBytes(std::string_view name) {
    const QByteArray bytes(name.data(), static_cast<qsizetype>(name.size()));
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes);
#else
    return QFile::decodeName(bytes);
#endif
}

// The core's own wording is UTF-8; a file name at its end (the output's, or for a failed read
// the source's) is the file system's bytes.
QString messageText(const velkaro::ConversionOutcome &outcome, const std::string &sourceName) {
    const std::string_view message = outcome.message;
    for (const std::string &name : {outcome.outputFileName, sourceName}) {
        if (!name.empty() && message.ends_with(name)) {
            return fromCore(message.substr(0, message.size() - name.size())) +
                   fromFileSystemBytes(name);
        }
    }
    return fromCore(message);
}

} // namespace

CPointConvertDlg::CPointConvertDlg(CFileChooser &fileChooser, CMessageBox &messageBox,
                                   QWidget *parent)
    : QDialog(parent), m_fileChooser(fileChooser), m_messageBox(messageBox),
      m_units(CDialogUnits::templateFont()), m_comboFormat(new QComboBox(this)),
      m_labelSource(new CColorLabel(QStringLiteral("选择RTK源文件:"), this)),
      m_labelFormat(new CColorLabel(QStringLiteral("选择转换格式:"), this)),
      m_hIcon(CPointConvertApp::programIcon()), m_fileNameDisplay(new QLabel(this)),
      m_buttonBrowse(new QPushButton(QStringLiteral("浏览..."), this)),
      m_buttonConvert(new QPushButton(QStringLiteral("转换"), this)),
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
    m_comboFormat->lineEdit()->setAcceptDrops(false);
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
    setWindowTitle(kTitle);
    m_bmpBackground = QPixmap(QStringLiteral(":/res/background.png"));
    m_labelSource->SetText(QStringLiteral("选择源文件:"));
    m_labelSource->SetBackColor(QColor(Qt::black));
    m_labelFormat->SetText(QStringLiteral("选择转换格式:"));
    m_labelFormat->SetBackColor(QColor(Qt::black));
    m_buttonBrowse->setFocus();
}

// The three formats in list order, none of them selected.
void CPointConvertDlg::fillFormatList() {
    for (const std::string_view item :
         {velkaro::kCassItemText, velkaro::kKaisiItemText, velkaro::kCadItemText}) {
        m_comboFormat->addItem(fromCore(item));
    }
    m_comboFormat->setCurrentIndex(-1);
}

void CPointConvertDlg::exchangeToControls() {
    m_fileNameDisplay->setText(m_strSourceName);
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
    const std::optional<QString> chosen = m_fileChooser.chooseSourceFile(this);
    if (chosen) {
        takeSourceFile(*chosen);
    }
}

// The output is written into the current directory, so it becomes the chosen file's folder.
void CPointConvertDlg::takeSourceFile(const QString &path) {
    m_strSourcePath = path;
    m_strSourceName = fileNamePart(path);
    exchangeToControls();
    QDir::setCurrent(QFileInfo(path).absolutePath());
}

void CPointConvertDlg::OnConvert() {
    velkaro::ConversionRequest request;
    request.sourcePath = toFileSystemBytes(m_strSourcePath);
    request.sourceFileName = toFileSystemBytes(m_strSourceName);
    request.formatItemText = selectedFormatText();
    showOutcome(velkaro::runConversion(request));
}

// Only the selected item counts: text typed into the field never chooses a format.
std::optional<std::string> CPointConvertDlg::selectedFormatText() const {
    const int index = m_comboFormat->currentIndex();
    if (index < 0) {
        return std::nullopt;
    }
    return m_comboFormat->itemText(index).toUtf8().toStdString();
}

CPointConvertDlg::OutcomeStyle
CPointConvertDlg::outcomeStyle(velkaro::ConversionOutcome::Kind kind) {
    using Kind = velkaro::ConversionOutcome::Kind;
    switch (kind) {
    case Kind::NoSource:
    case Kind::SourceOpenFailed:
        return {QString(), QMessageBox::NoIcon};
    case Kind::NoFormat:
    case Kind::OutputCreateFailed:
    case Kind::OutputWriteFailed:
    case Kind::SourceReadFailed:
    case Kind::OutputIsSource:
    case Kind::DuplicateOutput:
    case Kind::SourceChanged:
    case Kind::OutOfMemory:
        return {QString(), QMessageBox::Warning};
    case Kind::Converted:
        return {kConvertedTitle, QMessageBox::NoIcon};
    }
    return {QString(), QMessageBox::Warning};
}

void CPointConvertDlg::showOutcome(const velkaro::ConversionOutcome &outcome) {
    const OutcomeStyle style = outcomeStyle(outcome.kind);
    const QString title = style.title.isEmpty() ? QCoreApplication::applicationName() : style.title;
    m_messageBox.show(this, messageText(outcome, toFileSystemBytes(m_strSourceName)), title,
                      style.icon);
}

std::optional<QString> CPointConvertDlg::droppedSourceFile(const QMimeData *mimeData) {
    if (mimeData == nullptr || !mimeData->hasUrls()) {
        return std::nullopt;
    }
    const QList<QUrl> urls = mimeData->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile()) {
        return std::nullopt;
    }
    const QFileInfo file(urls.constFirst().toLocalFile());
    if (!file.isFile()) {
        return std::nullopt;
    }
    return file.absoluteFilePath();
}

void CPointConvertDlg::dragEnterEvent(QDragEnterEvent *event) {
    if (droppedSourceFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void CPointConvertDlg::dropEvent(QDropEvent *event) {
    const std::optional<QString> file = droppedSourceFile(event->mimeData());
    if (file) {
        takeSourceFile(*file);
        event->acceptProposedAction();
    }
}

std::unique_ptr<QMenu> CPointConvertDlg::createWindowMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("windowMenu"));
    QAction *const close = menu->addAction(kCloseEntryText);
    close->setObjectName(QStringLiteral("closeAction"));
    connect(close, &QAction::triggered, this, &QDialog::reject);
    menu->addSeparator();
    QAction *const about = menu->addAction(kAboutEntryText);
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
constexpr UINT kAboutCommandId = 0x0010;
} // namespace

void CPointConvertDlg::appendAboutToSystemMenu() {
    const HMENU systemMenu = ::GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(systemMenu, MF_STRING, kAboutCommandId,
                  reinterpret_cast<LPCWSTR>(kAboutEntryText.utf16()));
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
