#pragma once

#include "CFileChooser.h"

// The platform's open-file dialog through QFileDialog: the one filter "txtfile(*.txt)", default
// suffix "txt", the platform's own title and starting folder, and only existing files.
class CQtFileChooser final : public CFileChooser {
  public:
    CQtFileChooser() = default;

    [[nodiscard]] std::optional<QString> chooseSourceFile(QWidget *owner) override;
};
