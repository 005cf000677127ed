#include "CQtFileChooser.h"

#include <QFileDialog>

std::optional<QString> CQtFileChooser::chooseSourceFile(QWidget *owner) {
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("sourceFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("txtfile(*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.constFirst();
}
