#include "CPointConvertApp.h"

#include "CMessageBoxHost.h"
#include "CPointConvertDlg.h"
#include "wide_text.h"

#include "application_paths.h"
#include "dialog_texts.h"
#include "outcome_message.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

using velkaro::winapp::toUtf8;
using velkaro::winapp::toWide;

namespace {

[[nodiscard]] std::wstring executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
        if (length < size) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

[[nodiscard]] bool isFile(const std::wstring &path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

CPointConvertApp::CPointConvertApp(HINSTANCE instance)
    : m_instance(instance), m_executablePath(executablePath()),
      m_applicationName(velkaro::dialog::applicationName(toUtf8(m_executablePath),
                                                         velkaro::dialog::PathStyle::Windows)) {}

int CPointConvertApp::Run() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The shell's folder chooser and ShellExecuteW want COM on the window's thread.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    {
        CPointConvertDlg dialog(*this);
        (void)dialog.DoModal();
    }
    if (com) {
        CoUninitialize();
    }
    return 0;
}

// The manual is an HTML page that the user's browser shows; the first place that holds it wins.
// Without one, or when nothing can show it, F1 says so.
void CPointConvertApp::ShowHelp(HWND owner) const {
    for (const std::string &candidate : velkaro::dialog::manualCandidates(
             toUtf8(m_executablePath), velkaro::dialog::PathStyle::Windows)) {
        const std::wstring manual = toWide(candidate);
        if (!isFile(manual)) {
            continue;
        }
        const auto started = reinterpret_cast<INT_PTR>(
            ShellExecuteW(owner, L"open", manual.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (started > 32) {
            return;
        }
        break;
    }
    CMessageBoxHost(owner, m_applicationName).showMessage(velkaro::dialog::helpFailedMessage());
}
