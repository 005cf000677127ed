#include "test_doubles.h"

#include <QTemporaryDir>
#include <QtGlobal>

QStringList CScriptedFileChooser::chooseSourceFiles(QWidget *owner, const QString &startFolder) {
    ++m_questions;
    m_lastOwner = owner;
    m_lastStart = startFolder;
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

QString CScriptedFileChooser::chooseFolder(QWidget *owner, const QString &startFolder) {
    m_lastOwner = owner;
    m_lastStart = startFolder;
    if (m_folders.empty()) {
        return {};
    }
    const QString next = m_folders.front();
    m_folders.pop_front();
    return next;
}

void CRecordingMessageBox::showResults(QWidget * /*owner*/,
                                       const velkaro::dialog::ResultReport &report) {
    m_results.push_back(report);
}

void useTemporaryConfig() {
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
}
