#include "CSourcePreview.h"

#include "CCoreNames.h"
#include "QtText.h"
#include "dialog_texts.h"
#include "layout_detection.h"
#include "source_preview_table.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

namespace texts = velkaro::dialog;

[[nodiscard]] QTableWidgetItem *cell(const std::string &text) {
    auto *const item = new QTableWidgetItem(qtText(text));
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

CSourcePreview::CSourcePreview(const std::string &sourcePath, QWidget *parent)
    : QWidget(parent), m_chosen(!sourcePath.empty()), m_head(headOf(sourcePath)),
      m_table(new QTableWidget(0, 5)), m_note(new QLabel) {
    m_table->setObjectName(QStringLiteral("previewTable"));
    m_table->setAccessibleName(qtText(texts::kPreviewCaption));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->verticalHeader()->hide();
    showHeaders(texts::previewTable({}, {}).headers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    const int rowHeight = m_table->verticalHeader()->defaultSectionSize();
    m_table->setMinimumHeight(rowHeight * (static_cast<int>(texts::kPreviewPoints) + 2));
    // Room for five coordinates of survey size side by side.
    const int cellWidth =
        m_table->fontMetrics().horizontalAdvance(QStringLiteral("-3515102.9999 "));
    m_table->setMinimumWidth(cellWidth * m_table->columnCount() + rowHeight);
    m_note->setObjectName(QStringLiteral("previewNote"));
    m_note->setWordWrap(true);
    auto *const layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(qtText(texts::kPreviewCaption)));
    layout->addWidget(m_table, 1);
    layout->addWidget(m_note);
    showNote(texts::kPreviewNoFileText);
}

std::string CSourcePreview::headOf(const std::string &sourcePath) {
    if (sourcePath.empty()) {
        return {};
    }
    QFile file(QString::fromStdString(CCoreNames::decode(sourcePath)));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(velkaro::kDetectionBytes).toStdString();
}

void CSourcePreview::showHeaders(const std::vector<std::string> &headers) {
    QStringList labels;
    for (const std::string &header : headers) {
        labels << qtText(header);
    }
    m_table->setHorizontalHeaderLabels(labels);
}

void CSourcePreview::showReading(const velkaro::ConversionOptions &options) {
    if (!m_chosen) {
        showNote(texts::kPreviewNoFileText);
        return;
    }
    const texts::PreviewTable preview = texts::previewTable(m_head, options);
    m_table->setRowCount(static_cast<int>(preview.rows.size()));
    for (std::size_t row = 0; row < preview.rows.size(); ++row) {
        for (std::size_t column = 0; column < preview.rows[row].size(); ++column) {
            m_table->setItem(static_cast<int>(row), static_cast<int>(column),
                             cell(preview.rows[row][column]));
        }
    }
    m_note->setText(qtText(preview.note));
}

void CSourcePreview::showNote(std::string_view note) {
    m_table->setRowCount(0);
    m_note->setText(qtText(note));
}
