#include "CPointConvertApp.h"

#include "CMessageBoxHost.h"
#include "CPointConvertDlg.h"
#include "wide_text.h"

#include "application_paths.h"
#include "dialog_texts.h"
#include "outcome_message.h"

#include <commctrl.h>

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
    CPointConvertDlg dialog(*this);
    (void)dialog.DoModal();
    return 0;
}

// Windows 10 and 11 no longer hold the viewer of .HLP files: asking it for a file that exists
// starts a stand-in that only says so. A file that is not there cannot be opened on any Windows,
// so that is told without asking the viewer at all.
void CPointConvertApp::ShowHelp(HWND owner) const {
    const std::wstring helpFile = toWide(velkaro::dialog::helpFilePath(
        toUtf8(m_executablePath), velkaro::dialog::PathStyle::Windows));
    if (isFile(helpFile) &&
        WinHelpW(owner, helpFile.c_str(), HELP_CONTEXT, velkaro::dialog::kHelpContext)) {
        return;
    }
    CMessageBoxHost(owner, m_applicationName).showMessage(velkaro::dialog::helpFailedMessage());
}
