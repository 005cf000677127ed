#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Lets the user choose the source files and the outputs' folder. The windows ask through this
// interface so that a test can stand in for the platform's file dialogs.
class CFileChooser {
  public:
    CFileChooser() = default;
    CFileChooser(const CFileChooser &) = delete;
    CFileChooser &operator=(const CFileChooser &) = delete;
    virtual ~CFileChooser() = default;

    // Blocks until the user has chosen; the full paths of one or more existing files, or an
    // empty list when the user cancelled. The chooser is owned by owner and opens in
    // startFolder (empty: the platform's choice).
    [[nodiscard]] virtual QStringList chooseSourceFiles(QWidget *owner,
                                                        const QString &startFolder) = 0;
    // The folder the last chooseSourceFiles showed when it closed, chosen or cancelled.
    [[nodiscard]] virtual QString shownFolder() const = 0;
    // Blocks until the user has chosen a folder; its full path, or empty when cancelled.
    [[nodiscard]] virtual QString chooseFolder(QWidget *owner, const QString &startFolder) = 0;
};
