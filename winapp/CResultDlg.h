#pragma once

#include "result_report.h"

#include <windows.h>

#include <string>

// The result of a run, dialog template 104: the warning icon when anything went wrong, the
// headline, a row per source in a read-only text that scrolls (the source, the output's full
// path, the points, the warnings or the failure with its reason), 打开文件夹 and 确定. As wide and
// as tall as the rows want, but never beyond the work area of the owner's screen.
class CResultDlg {
  public:
    explicit CResultDlg(const velkaro::dialog::ResultReport &report) : m_report(report) {}

    // Runs the dialog until 确定, Enter, Esc or the close box ends it.
    void DoModal(HWND owner);

    // The rows as the text shows them, lines ended by CR LF.
    [[nodiscard]] static std::wstring RowsText(const velkaro::dialog::ResultReport &report);

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void FitToScreen();
    void LayOut();
    void OnOpenFolder();

    const velkaro::dialog::ResultReport &m_report;
    HWND m_hWnd = nullptr;
};
