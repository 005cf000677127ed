#pragma once

#include "CFileChooser.h"

// The platform's file dialogs through QFileDialog. For sources: the filters "txtfile(*.txt)"
// (shown first) and "所有文件(*.*)", default suffix "txt", the platform's own title, one or more
// existing files. For the outputs' folder: an existing folder.
class CQtFileChooser final : public CFileChooser {
  public:
    CQtFileChooser() = default;

    [[nodiscard]] QStringList chooseSourceFiles(QWidget *owner,
                                                const QString &startFolder) override;
    [[nodiscard]] QString shownFolder() const override { return m_shownFolder; }
    [[nodiscard]] QString chooseFolder(QWidget *owner, const QString &startFolder) override;

    // The dialog's name filters, in order, built from the dialog layer's.
    [[nodiscard]] static QStringList nameFilters();

  private:
    QString m_shownFolder;
};
