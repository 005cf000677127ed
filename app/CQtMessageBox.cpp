#include "CQtMessageBox.h"

void CQtMessageBox::show(QWidget *owner, const QString &text, const QString &title,
                         QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
