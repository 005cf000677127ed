#pragma once

#include "result_report.h"

#include <QMessageBox>
#include <QString>

class QWidget;

// Shows messages and questions and waits until they are closed. The main dialog reports
// through this interface so that a test can read what would have been shown and answer.
class CMessageBox {
  public:
    CMessageBox() = default;
    CMessageBox(const CMessageBox &) = delete;
    CMessageBox &operator=(const CMessageBox &) = delete;
    virtual ~CMessageBox() = default;

    // One OK button.
    virtual void show(QWidget *owner, const QString &text, const QString &title,
                      QMessageBox::Icon icon) = 0;
    // Two buttons with the question icon; true only when the first one (yesText) was pressed.
    [[nodiscard]] virtual bool ask(QWidget *owner, const QString &text, const QString &title,
                                   const QString &yesText, const QString &noText) = 0;
    // The result dialog of a run.
    virtual void showResults(QWidget *owner, const velkaro::dialog::ResultReport &report) = 0;
};
