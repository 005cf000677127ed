#pragma once

#include <QString>

#include <optional>

class QWidget;

// Lets the user choose the source file. The main dialog asks through this interface so that a
// test can stand in for the platform's file dialog.
class CFileChooser {
  public:
    CFileChooser() = default;
    CFileChooser(const CFileChooser &) = delete;
    CFileChooser &operator=(const CFileChooser &) = delete;
    virtual ~CFileChooser() = default;

    // Blocks until the user has chosen; the full path of an existing file, or nullopt when the
    // user cancelled. The chooser is owned by owner.
    [[nodiscard]] virtual std::optional<QString> chooseSourceFile(QWidget *owner) = 0;
};
