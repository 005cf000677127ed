#pragma once

#include "CMessageBox.h"

// A modal QMessageBox owned by owner, with the one button OK.
class CQtMessageBox final : public CMessageBox {
  public:
    CQtMessageBox() = default;

    void show(QWidget *owner, const QString &text, const QString &title,
              QMessageBox::Icon icon) override;
};
