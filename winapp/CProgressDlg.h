#pragma once

#include "work_progress.h"

#include <windows.h>

#include <functional>

// The progress of conversions running off the window's thread, dialog template 105: what runs,
// a bar of the bytes read, and 取消, which asks the run to stop. The owner is disabled for the
// whole run but keeps painting and moving; the dialog appears only once the run has taken
// kProgressDelayMilliseconds, so a short run shows nothing at all.
class CProgressDlg {
  public:
    CProgressDlg(HWND owner, velkaro::dialog::WorkProgress &progress);
    CProgressDlg(const CProgressDlg &) = delete;
    CProgressDlg &operator=(const CProgressDlg &) = delete;

    // Runs work on a thread of its own and returns once it has ended; what work throws is
    // thrown again here.
    void Run(const std::function<void()> &work);

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Waits for the worker's end, handling the thread's messages meanwhile.
    void WaitFor(HANDLE finished);
    void PumpMessages();
    void Update();
    void OnCancel();

    HWND m_owner;
    velkaro::dialog::WorkProgress &m_progress;
    HWND m_hWnd = nullptr;
};
