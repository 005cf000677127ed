#include "CQtFileChooser.h"

#include "QtText.h"
#include "dialog_texts.h"

#include <QFileDialog>

// Each filter shows its label as it stands and matches by a pattern group of its own: Qt reads
// the last parenthesised group as the patterns and, with the details hidden, shows what comes
// before it. Windows' "*.*" matches every name, dot or not, which is Qt's "*".
QStringList CQtFileChooser::nameFilters() {
    QStringList filters;
    for (const velkaro::dialog::FileFilter &filter : velkaro::dialog::kSourceFilters) {
        const QString pattern =
            filter.pattern == "*.*" ? QStringLiteral("*") : qtText(filter.pattern);
        filters << qtText(filter.label) + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

QStringList CQtFileChooser::chooseSourceFiles(QWidget *owner, const QString &startFolder) {
    QFileDialog dialog(owner);
    if (!startFolder.isEmpty()) {
        dialog.setDirectory(startFolder);
    }
    dialog.setObjectName(QStringLiteral("sourceFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters());
    dialog.setDefaultSuffix(qtText(velkaro::dialog::kDefaultExtension));
    const bool chosen = dialog.exec() == QDialog::Accepted;
    m_shownFolder = dialog.directory().absolutePath();
    return chosen ? dialog.selectedFiles() : QStringList();
}

QString CQtFileChooser::chooseFolder(QWidget *owner, const QString &startFolder) {
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("folderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!startFolder.isEmpty()) {
        dialog.setDirectory(startFolder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}
