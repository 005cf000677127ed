#include "test_doubles.h"

std::optional<QString> CScriptedFileChooser::chooseSourceFile(QWidget *owner) {
    ++m_questions;
    m_lastOwner = owner;
    if (m_answers.empty()) {
        return std::nullopt;
    }
    const QString next = m_answers.front();
    m_answers.pop_front();
    if (next.isNull()) {
        return std::nullopt;
    }
    return next;
}

void CRecordingMessageBox::show(QWidget *owner, const QString &text, const QString &title,
                                QMessageBox::Icon icon) {
    m_shown.append({owner, text, title, icon});
}
