#pragma once

#include "CFileChooser.h"

// The platform's open-file dialog through QFileDialog: the filters "txtfile(*.txt)" (shown
// first) and "所有文件(*.*)", default suffix "txt", the platform's own title and starting
// folder, one or more existing files.
class CQtFileChooser final : public CFileChooser {
  public:
    CQtFileChooser() = default;

    [[nodiscard]] QStringList chooseSourceFiles(QWidget *owner) override;

    // The dialog's name filters, in order, built from the dialog layer's.
    [[nodiscard]] static QStringList nameFilters();
};
