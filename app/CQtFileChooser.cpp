#include "CQtFileChooser.h"

#include "dialog_texts.h"

#include <QFileDialog>

namespace {
QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

// Each filter shows its label as it stands and matches by a pattern group of its own: Qt reads
// the last parenthesised group as the patterns and, with the details hidden, shows what comes
// before it. Windows' "*.*" matches every name, dot or not, which is Qt's "*".
QStringList CQtFileChooser::nameFilters() {
    QStringList filters;
    for (const velkaro::dialog::FileFilter &filter : velkaro::dialog::kSourceFilters) {
        const QString pattern =
            filter.pattern == "*.*" ? QStringLiteral("*") : fromUtf8(filter.pattern);
        filters << fromUtf8(filter.label) + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

QStringList CQtFileChooser::chooseSourceFiles(QWidget *owner) {
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("sourceFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters());
    dialog.setDefaultSuffix(fromUtf8(velkaro::dialog::kDefaultExtension));
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}
