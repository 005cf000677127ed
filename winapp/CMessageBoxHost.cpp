#include "CMessageBoxHost.h"

#include "CProgressDlg.h"
#include "CResultDlg.h"
#include "wide_text.h"

#include "dialog_texts.h"

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

// The message box has no buttons named by the caller; a hook on this thread renames those of the
// next box as it is activated, before it is first shown: its first button, and Cancel when the
// caller names a second one. Left alone, a box shows the system's words ("OK" on a Western
// Windows) under Chinese text.
struct ButtonTexts {
    std::wstring first;
    std::wstring second; // empty: the box has one button
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
        // The one button of an OK box may carry the id of Cancel, which Esc presses.
        const HWND ok = GetDlgItem(box, IDOK);
        SetWindowTextW(ok != nullptr ? ok : GetDlgItem(box, IDCANCEL), texts->first.c_str());
        if (!texts->second.empty()) {
            SetDlgItemTextW(box, IDCANCEL, texts->second.c_str());
        }
        UnhookWindowsHookEx(texts->hook);
        tButtonTexts = nullptr;
        return 0;
    }
    return CallNextHookEx(texts->hook, code, wParam, lParam);
}

// MessageBoxW with its buttons renamed as above.
int messageBox(HWND owner, const std::wstring &text, const std::wstring &title, UINT style,
               std::wstring first, std::wstring second = {}) {
    ButtonTexts texts{std::move(first), std::move(second),
                      SetWindowsHookExW(WH_CBT, &renameButtons, nullptr, GetCurrentThreadId())};
    tButtonTexts = texts.hook != nullptr ? &texts : nullptr;
    const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), style);
    if (tButtonTexts != nullptr) {
        UnhookWindowsHookEx(texts.hook);
        tButtonTexts = nullptr;
    }
    return answer;
}

} // namespace

CMessageBoxHost::CMessageBoxHost(HWND owner, std::string applicationName)
    : m_owner(owner), m_applicationName(std::move(applicationName)) {}

std::wstring CMessageBoxHost::titleFor(const std::string &title) const {
    return toWide(title.empty() ? m_applicationName : title);
}

void CMessageBoxHost::showMessage(const velkaro::dialog::Message &message) {
    (void)messageBox(m_owner, toWide(message.text), titleFor(message.title),
                     MB_OK | iconStyle(message.icon), toWide(velkaro::dialog::kOkText));
}

velkaro::dialog::Answer CMessageBoxHost::ask(const velkaro::dialog::Question &question) {
    const int answer = messageBox(m_owner, toWide(question.text), titleFor(question.title),
                                  MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2,
                                  toWide(question.yesText), toWide(question.noText));
    return answer == IDOK ? velkaro::dialog::Answer::Replace : velkaro::dialog::Answer::Cancel;
}

void CMessageBoxHost::runWork(const std::function<void()> &work,
                              velkaro::dialog::WorkProgress &progress) {
    CProgressDlg(m_owner, progress).Run(work);
}

void CMessageBoxHost::showResults(const velkaro::dialog::ResultReport &report) {
    CResultDlg(report).DoModal(m_owner);
}
