#include "CMessageBoxHost.h"

#include "CCoreNames.h"
#include "CMessageBox.h"
#include "CWorkRunner.h"
#include "QtText.h"

#include <QCoreApplication>

namespace {

QString titleOf(const std::string &title) {
    return title.empty() ? QCoreApplication::applicationName() : qtText(title);
}

// Qt has one icon for the platform's exclamation and warning, as Windows has.
QMessageBox::Icon iconOf(velkaro::dialog::MessageIcon icon) {
    switch (icon) {
    case velkaro::dialog::MessageIcon::None:
        return QMessageBox::NoIcon;
    case velkaro::dialog::MessageIcon::Exclamation:
    case velkaro::dialog::MessageIcon::Warning:
        return QMessageBox::Warning;
    case velkaro::dialog::MessageIcon::Question:
        break;
    }
    return QMessageBox::Question;
}

} // namespace

CMessageBoxHost::CMessageBoxHost(CMessageBox &messageBox, QWidget *owner)
    : m_messageBox(messageBox), m_owner(owner) {}

void CMessageBoxHost::showMessage(const velkaro::dialog::Message &message) {
    m_messageBox.show(m_owner, qtText(message.text), titleOf(message.title), iconOf(message.icon));
}

velkaro::dialog::Answer CMessageBoxHost::ask(const velkaro::dialog::Question &question) {
    const bool yes = m_messageBox.ask(m_owner, qtText(question.text), titleOf(question.title),
                                      qtText(question.yesText), qtText(question.noText));
    return yes ? velkaro::dialog::Answer::Replace : velkaro::dialog::Answer::Cancel;
}

void CMessageBoxHost::runWork(const std::function<void()> &work,
                              velkaro::dialog::WorkProgress &progress) {
    CWorkRunner(m_owner, &CCoreNames::decode).run(work, progress);
}

void CMessageBoxHost::showResults(const velkaro::dialog::ResultReport &report) {
    m_messageBox.showResults(m_owner, report);
}
