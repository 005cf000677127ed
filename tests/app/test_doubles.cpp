#include "test_doubles.h"

QStringList CScriptedFileChooser::chooseSourceFiles(QWidget *owner) {
    ++m_questions;
    m_lastOwner = owner;
    if (m_answers.empty()) {
        return {};
    }
    const QStringList next = m_answers.front();
    m_answers.pop_front();
    return next;
}

void CRecordingMessageBox::show(QWidget *owner, const QString &text, const QString &title,
                                QMessageBox::Icon icon) {
    m_shown.append({owner, text, title, icon, {}});
}

bool CRecordingMessageBox::ask(QWidget *owner, const QString &text, const QString &title,
                               const QString &yesText, const QString &noText) {
    m_shown.append({owner, text, title, QMessageBox::Question, {yesText, noText}});
    return replace;
}
