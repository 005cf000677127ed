#pragma once

#include "conversion_options.h"

#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QTableWidget;

// 预览: the chosen file's first points as the settings' reading takes them, in a small read-only
// table, and a line that says how the file is read or why it cannot be.
class CSourcePreview : public QWidget {
  public:
    // sourcePath: a core name; empty before a file is chosen. Its first bytes are read once.
    explicit CSourcePreview(const std::string &sourcePath, QWidget *parent = nullptr);

    void showReading(const velkaro::ConversionOptions &options);
    // No table, only the line: for a reading the settings cannot take.
    void showNote(std::string_view note);

    [[nodiscard]] QTableWidget *table() const { return m_table; }
    [[nodiscard]] QLabel *note() const { return m_note; }

  private:
    [[nodiscard]] static std::string headOf(const std::string &sourcePath);
    void showHeaders(const std::vector<std::string> &headers);

    const bool m_chosen;
    const std::string m_head;
    QTableWidget *const m_table;
    QLabel *const m_note;
};
