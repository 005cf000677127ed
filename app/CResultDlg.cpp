#include "CResultDlg.h"

#include "CCoreNames.h"
#include "QtText.h"
#include "dialog_texts.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

namespace texts = velkaro::dialog;
using velkaro::dialog::ResultRow;

[[nodiscard]] QString joined(const std::vector<std::string> &lines) {
    QStringList list;
    for (const std::string &line : lines) {
        list << qtText(line);
    }
    return list.join(QLatin1Char('\n'));
}

[[nodiscard]] QTableWidgetItem *cell(const QString &text) {
    auto *const item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(text);
    return item;
}

// Room the window manager's frame takes around the dialog before the dialog is shown and its
// frame can be measured: a title bar and thin borders.
constexpr QSize kFrameAllowance{16, 48};

} // namespace

CResultDlg::CResultDlg(const velkaro::dialog::ResultReport &report, QWidget *parent)
    : QDialog(parent), m_report(report), m_headline(new QLabel(qtText(report.headline), this)),
      m_table(new QTableWidget(this)),
      m_openFolder(new QPushButton(qtText(texts::kOpenFolderText), this)),
      m_ok(new QPushButton(qtText(texts::kOkText), this)) {
    setObjectName(QStringLiteral("resultDlg"));
    setWindowTitle(qtText(texts::kResultTitle));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto *const icon = new QLabel(this);
    const int extent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(report.troubled ? QStyle::SP_MessageBoxWarning
                                                       : QStyle::SP_MessageBoxInformation)
                        .pixmap(extent, extent));
    m_headline->setObjectName(QStringLiteral("headline"));
    m_headline->setTextFormat(Qt::PlainText);
    fillTable();
    auto *const top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(m_headline, 1);
    auto *const buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_openFolder);
    buttons->addWidget(m_ok);
    auto *const layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    if (QWidget *const summary = summaryBox()) {
        layout->addWidget(summary);
    }
    layout->addLayout(buttons);
    m_openFolder->setEnabled(!report.folderToOpen.empty());
    m_openFolder->setAutoDefault(false);
    m_ok->setDefault(true);
    m_ok->setFocus();
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_openFolder, &QPushButton::clicked, this, &CResultDlg::openFolder);
}

void CResultDlg::fillTable() {
    m_table->setObjectName(QStringLiteral("resultTable"));
    m_table->setColumnCount(4);
    m_table->setHorizontalHeaderLabels({qtText(texts::kSourceColumn), qtText(texts::kOutputColumn),
                                        qtText(texts::kPointsColumn), qtText(texts::kNotesColumn)});
    m_table->setRowCount(static_cast<int>(m_report.rows.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const ResultRow &result = m_report.rows[static_cast<std::size_t>(row)];
        m_table->setItem(row, 0, cell(qtText(result.source)));
        const std::string output =
            result.crs.empty() ? result.output : result.output + "\n" + result.crs;
        m_table->setItem(row, 1, cell(qtText(output)));
        m_table->setItem(row, 2, cell(qtText(result.points)));
        m_table->setItem(row, 3, cell(joined(result.notes)));
    }
    m_table->verticalHeader()->setVisible(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(true);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->resizeColumnsToContents();
    m_table->setColumnWidth(3, std::max(m_table->columnWidth(3), 240));
    m_table->resizeRowsToContents();
}

// The summary, when the run collected one, in a box of its own below the rows.
QWidget *CResultDlg::summaryBox() const {
    if (m_report.summary.empty()) {
        return nullptr;
    }
    auto *const box = new QPlainTextEdit(joined(m_report.summary));
    box->setObjectName(QStringLiteral("summary"));
    box->setReadOnly(true);
    box->setMaximumHeight(fontMetrics().lineSpacing() * 8);
    return box;
}

void CResultDlg::openFolder() {
    (void)QDesktopServices::openUrl(CCoreNames::fileUrl(m_report.folderToOpen));
}

void CResultDlg::showEvent(QShowEvent *event) {
    fitToScreen();
    QDialog::showEvent(event);
}

// As wide as the columns want and as tall as the rows want, within the owner's screen; centred
// on it.
void CResultDlg::fitToScreen() {
    const QScreen *const screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    int tableWidth = 0;
    for (int column = 0; column < m_table->columnCount(); ++column) {
        tableWidth += m_table->columnWidth(column);
    }
    const int rowsHeight =
        m_table->horizontalHeader()->height() + m_table->verticalHeader()->length();
    const QSize hint = sizeHint();
    const QSize wanted(std::max(hint.width(), tableWidth + 48),
                       hint.height() - m_table->sizeHint().height() + rowsHeight + 8);
    const QSize size = wanted.boundedTo(area.size() - kFrameAllowance);
    setMaximumSize(area.size() - kFrameAllowance);
    resize(size);
    move(area.x() + (area.width() - size.width()) / 2,
         area.y() + (area.height() - size.height() - kFrameAllowance.height()) / 2);
}
