#include "CQtMessageBox.h"

#include "CResultDlg.h"
#include "QtText.h"
#include "dialog_texts.h"

#include <QPushButton>

void CQtMessageBox::show(QWidget *owner, const QString &text, const QString &title,
                         QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    // The button speaks the language of the text above it, whatever the locale.
    box.button(QMessageBox::Ok)->setText(qtText(velkaro::dialog::kOkText));
    box.exec();
}

// Esc and the close box answer no; so does Enter, which presses the default button: replacing
// a file takes a deliberate choice.
bool CQtMessageBox::ask(QWidget *owner, const QString &text, const QString &title,
                        const QString &yesText, const QString &noText) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("questionBox"));
    box.setTextFormat(Qt::PlainText);
    QPushButton *const yes = box.addButton(yesText, QMessageBox::AcceptRole);
    QPushButton *const no = box.addButton(noText, QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void CQtMessageBox::showResults(QWidget *owner, const velkaro::dialog::ResultReport &report) {
    CResultDlg dialog(report, owner);
    (void)dialog.exec();
}
