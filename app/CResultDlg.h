#pragma once

#include "result_report.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

// The result of a run that is worth more than a message box: the headline, one row per source
// (its output with the full path, the points, its warnings or its failure), the summary when the
// run collected one, 打开文件夹 and 确定. However many rows it holds, it never grows beyond the
// screen's available area: the rows scroll instead, and the headline and the buttons stay on it.
class CResultDlg : public QDialog {
    Q_OBJECT

  public:
    CResultDlg(const velkaro::dialog::ResultReport &report, QWidget *parent);

    [[nodiscard]] QLabel *headline() const { return m_headline; }
    [[nodiscard]] QTableWidget *table() const { return m_table; }
    [[nodiscard]] QPushButton *openFolderButton() const { return m_openFolder; }
    [[nodiscard]] QPushButton *okButton() const { return m_ok; }

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    void fillTable();
    [[nodiscard]] QWidget *summaryBox() const;
    void openFolder();
    void fitToScreen();

    const velkaro::dialog::ResultReport m_report;
    QLabel *const m_headline;
    QTableWidget *const m_table;
    QPushButton *const m_openFolder;
    QPushButton *const m_ok;
};
