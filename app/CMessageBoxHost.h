#pragma once

#include "dialog_host.h"

class CMessageBox;
class QWidget;

// Lends the dialog layer the window's message boxes: its texts in UTF-8, an empty title as the
// application's name, its icons as Qt's; the result dialog; and the window's way of running the
// conversions off its thread.
class CMessageBoxHost final : public velkaro::dialog::DialogHost {
  public:
    CMessageBoxHost(CMessageBox &messageBox, QWidget *owner);

    void showMessage(const velkaro::dialog::Message &message) override;
    [[nodiscard]] velkaro::dialog::Answer ask(const velkaro::dialog::Question &question) override;
    void runWork(const std::function<void()> &work,
                 velkaro::dialog::WorkProgress &progress) override;
    void showResults(const velkaro::dialog::ResultReport &report) override;

  private:
    CMessageBox &m_messageBox;
    QWidget *const m_owner;
};
