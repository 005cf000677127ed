#pragma once

#include "dialog_host.h"

#include <windows.h>

#include <string>

// The dialog layer's boxes as Windows message boxes, owned by the main dialog and modal over it.
// A message has one button, 确定 as in the Qt window; a question has the question icon and the
// two buttons the layer names (替换 and 取消), the second the default, so that Enter, Esc and
// the close box all keep the file. Work runs behind CProgressDlg, results show in CResultDlg.
class CMessageBoxHost : public velkaro::dialog::DialogHost {
  public:
    // applicationName: the title of every box that brings none of its own (UTF-8).
    CMessageBoxHost(HWND owner, std::string applicationName);

    void showMessage(const velkaro::dialog::Message &message) override;
    [[nodiscard]] velkaro::dialog::Answer ask(const velkaro::dialog::Question &question) override;
    void runWork(const std::function<void()> &work,
                 velkaro::dialog::WorkProgress &progress) override;
    void showResults(const velkaro::dialog::ResultReport &report) override;

  private:
    [[nodiscard]] std::wstring titleFor(const std::string &title) const;

    HWND m_owner;
    std::string m_applicationName;
};
