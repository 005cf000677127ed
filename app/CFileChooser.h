#pragma once

#include <QStringList>

class QWidget;

// Lets the user choose the source files. The main dialog asks through this interface so that a
// test can stand in for the platform's file dialog.
class CFileChooser {
  public:
    CFileChooser() = default;
    CFileChooser(const CFileChooser &) = delete;
    CFileChooser &operator=(const CFileChooser &) = delete;
    virtual ~CFileChooser() = default;

    // Blocks until the user has chosen; the full paths of one or more existing files, or an
    // empty list when the user cancelled. The chooser is owned by owner.
    [[nodiscard]] virtual QStringList chooseSourceFiles(QWidget *owner) = 0;
};
