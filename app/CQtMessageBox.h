#pragma once

#include "CMessageBox.h"

// Modal QMessageBoxes owned by owner: the one button OK, or the two buttons of a question; and
// the result dialog.
class CQtMessageBox final : public CMessageBox {
  public:
    CQtMessageBox() = default;

    void show(QWidget *owner, const QString &text, const QString &title,
              QMessageBox::Icon icon) override;
    [[nodiscard]] bool ask(QWidget *owner, const QString &text, const QString &title,
                           const QString &yesText, const QString &noText) override;
    void showResults(QWidget *owner, const velkaro::dialog::ResultReport &report) override;
};
