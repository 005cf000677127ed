#include "CMessageBoxHost.h"

#include "CProgressDlg.h"
#include "CResultDlg.h"
#include "wide_text.h"

using velkaro::winapp::toWide;

namespace {

[[nodiscard]] UINT iconStyle(velkaro::dialog::MessageIcon icon) {
    switch (icon) {
    case velkaro::dialog::MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case velkaro::dialog::MessageIcon::Warning:
        return MB_ICONWARNING;
    case velkaro::dialog::MessageIcon::Question:
        return MB_ICONQUESTION;
    case velkaro::dialog::MessageIcon::None:
        break;
    }
    return 0;
}

// The message box has no buttons named by the caller; a hook on this thread renames OK and
// Cancel of the next box as it is activated, before it is first shown.
struct ButtonTexts {
    std::wstring yes;
    std::wstring no;
    HHOOK hook = nullptr;
};
thread_local ButtonTexts *tButtonTexts = nullptr;

LRESULT CALLBACK renameButtons(int code, WPARAM wParam, LPARAM lParam) {
    ButtonTexts *const texts = tButtonTexts;
    if (texts == nullptr) {
        return 0;
    }
    if (code == HCBT_ACTIVATE) {
        const auto box = reinterpret_cast<HWND>(wParam);
        SetDlgItemTextW(box, IDOK, texts->yes.c_str());
        SetDlgItemTextW(box, IDCANCEL, texts->no.c_str());
        UnhookWindowsHookEx(texts->hook);
        tButtonTexts = nullptr;
        return 0;
    }
    return CallNextHookEx(texts->hook, code, wParam, lParam);
}

} // namespace

CMessageBoxHost::CMessageBoxHost(HWND owner, std::string applicationName)
    : m_owner(owner), m_applicationName(std::move(applicationName)) {}

std::wstring CMessageBoxHost::titleFor(const std::string &title) const {
    return toWide(title.empty() ? m_applicationName : title);
}

void CMessageBoxHost::showMessage(const velkaro::dialog::Message &message) {
    (void)MessageBoxW(m_owner, toWide(message.text).c_str(), titleFor(message.title).c_str(),
                      MB_OK | iconStyle(message.icon));
}

velkaro::dialog::Answer CMessageBoxHost::ask(const velkaro::dialog::Question &question) {
    ButtonTexts texts{toWide(question.yesText), toWide(question.noText),
                      SetWindowsHookExW(WH_CBT, &renameButtons, nullptr, GetCurrentThreadId())};
    tButtonTexts = texts.hook != nullptr ? &texts : nullptr;
    const int answer =
        MessageBoxW(m_owner, toWide(question.text).c_str(), titleFor(question.title).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (tButtonTexts != nullptr) {
        UnhookWindowsHookEx(texts.hook);
        tButtonTexts = nullptr;
    }
    return answer == IDOK ? velkaro::dialog::Answer::Replace : velkaro::dialog::Answer::Cancel;
}

void CMessageBoxHost::runWork(const std::function<void()> &work,
                              velkaro::dialog::WorkProgress &progress) {
    CProgressDlg(m_owner, progress).Run(work);
}

void CMessageBoxHost::showResults(const velkaro::dialog::ResultReport &report) {
    CResultDlg(report).DoModal(m_owner);
}
