#include "CProgressDlg.h"

#include "background_work.h"
#include "core_names.h"
#include "resource.h"
#include "wide_text.h"
#include "window_placement.h"

#include "dialog_texts.h"
#include "question_text.h"

#include <commctrl.h>

#include <exception>
#include <thread>

using velkaro::winapp::toWide;

namespace {

// How often the dialog reads the progress while the run goes on.
constexpr DWORD kRefreshMilliseconds = 100;

[[nodiscard]] std::string decodeCoreName(std::string_view coreName) {
    return velkaro::winapp::coreNameToUtf8(coreName);
}

} // namespace

CProgressDlg::CProgressDlg(HWND owner, velkaro::dialog::WorkProgress &progress)
    : m_owner(owner), m_progress(progress) {}

void CProgressDlg::Run(const std::function<void()> &work) {
    const HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (finished == nullptr) {
        work();
        return;
    }
    velkaro::dialog::BackgroundWork worker(work, [finished] { SetEvent(finished); });
    // Disabling the owner takes its keyboard focus, which is given back at the end.
    const HWND focus = GetFocus();
    const bool ownerWasEnabled = EnableWindow(m_owner, FALSE) == FALSE;
    m_hWnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROGRESS), m_owner,
                                &CProgressDlg::DialogProc, reinterpret_cast<LPARAM>(this));
    WaitFor(finished);
    // Joined before anything below can throw, and before the event goes.
    std::exception_ptr failure;
    try {
        worker.join();
    } catch (...) {
        failure = std::current_exception();
    }
    CloseHandle(finished);
    if (ownerWasEnabled) {
        EnableWindow(m_owner, TRUE);
    }
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    if (focus != nullptr && IsWindow(focus)) {
        SetFocus(focus);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void CProgressDlg::WaitFor(HANDLE finished) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &finished, FALSE, kRefreshMilliseconds, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) {
            break;
        }
        PumpMessages();
        if (m_hWnd == nullptr) {
            continue;
        }
        Update();
        if (!IsWindowVisible(m_hWnd) &&
            GetTickCount64() - start >= velkaro::dialog::kProgressDelayMilliseconds) {
            velkaro::winapp::centreWindow(m_hWnd, m_owner);
            ShowWindow(m_hWnd, SW_SHOW);
        }
    }
    (void)WaitForSingleObject(finished, INFINITE);
}

// A WM_QUIT met here is posted again for the loop that ends the program.
void CProgressDlg::PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (m_hWnd != nullptr && IsDialogMessageW(m_hWnd, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void CProgressDlg::Update() {
    SetDlgItemTextW(m_hWnd, IDC_PROGRESS_TEXT, toWide(m_progress.text(&decodeCoreName)).c_str());
    SetDlgItemTextW(m_hWnd, IDC_PROGRESS_BYTES, toWide(m_progress.bytesText()).c_str());
    SendDlgItemMessageW(m_hWnd, IDC_PROGRESS_BAR, PBM_SETPOS,
                        static_cast<WPARAM>(m_progress.percent()), 0);
}

// The run ends at its next check; the button stays pressed until then.
void CProgressDlg::OnCancel() {
    m_progress.conversion.cancelRequested = true;
    EnableWindow(GetDlgItem(m_hWnd, IDCANCEL), FALSE);
}

INT_PTR CALLBACK CProgressDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto *const self = reinterpret_cast<CProgressDlg *>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        self->m_hWnd = hwnd;
        SetWindowTextW(hwnd, toWide(velkaro::dialog::kProgressTitle).c_str());
        SetDlgItemTextW(hwnd, IDCANCEL, toWide(velkaro::wording::cancelText()).c_str());
        SendDlgItemMessageW(hwnd, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
        self->Update();
        return TRUE;
    }
    auto *const self = reinterpret_cast<CProgressDlg *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return FALSE;
    }
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        self->OnCancel();
        return TRUE;
    }
    return FALSE;
}
