#include "CResultDlg.h"

#include "core_names.h"
#include "resource.h"
#include "wide_text.h"
#include "window_placement.h"

#include "dialog_texts.h"

#include <shellapi.h>

#include <algorithm>

using velkaro::winapp::toWide;

namespace {

// The width the rows want, in dialog units: room for a long path.
constexpr int kWantedWidthUnits = 440;

[[nodiscard]] std::wstring labelled(std::string_view label, const std::string &value) {
    return toWide(label) + L": " + toWide(value) + L"\r\n";
}

[[nodiscard]] std::wstring rowText(const velkaro::dialog::ResultRow &row) {
    std::wstring text = labelled(velkaro::dialog::kSourceColumn, row.source);
    if (!row.output.empty()) {
        text += labelled(velkaro::dialog::kOutputColumn, row.output);
    }
    if (!row.crs.empty()) {
        text += toWide(row.crs) + L"\r\n";
    }
    if (!row.points.empty()) {
        text += labelled(velkaro::dialog::kPointsColumn, row.points);
    }
    for (std::size_t i = 0; i < row.notes.size(); ++i) {
        text += i == 0 ? labelled(velkaro::dialog::kNotesColumn, row.notes[i])
                       : L"    " + toWide(row.notes[i]) + L"\r\n";
    }
    return text;
}

[[nodiscard]] int lineCount(const std::wstring &text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), L'\n'));
}

[[nodiscard]] int dialogUnits(HWND dialog, int x) {
    RECT rect{0, 0, x, 0};
    MapDialogRect(dialog, &rect);
    return rect.right;
}

[[nodiscard]] int lineHeight(HWND control) {
    const HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    ReleaseDC(control, dc);
    return std::max<int>(1, metrics.tmHeight);
}

void moveControl(HWND dialog, int id, int x, int y, int width, int height) {
    MoveWindow(GetDlgItem(dialog, id), x, y, width, height, TRUE);
}

[[nodiscard]] RECT clientRectOf(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

} // namespace

std::wstring CResultDlg::RowsText(const velkaro::dialog::ResultReport &report) {
    std::wstring text;
    for (const velkaro::dialog::ResultRow &row : report.rows) {
        text += (text.empty() ? L"" : L"\r\n") + rowText(row);
    }
    return text;
}

void CResultDlg::DoModal(HWND owner) {
    (void)DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RESULT), owner,
                          &CResultDlg::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CResultDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto *const self = reinterpret_cast<CResultDlg *>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        self->m_hWnd = hwnd;
        self->OnInitDialog();
        SetFocus(GetDlgItem(hwnd, IDOK));
        return FALSE;
    }
    auto *const self = reinterpret_cast<CResultDlg *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || message != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDC_OPEN_FOLDER:
        self->OnOpenFolder();
        return TRUE;
    case IDOK:
    case IDCANCEL:
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void CResultDlg::OnInitDialog() {
    SetWindowTextW(m_hWnd, toWide(velkaro::dialog::kResultTitle).c_str());
    SetDlgItemTextW(m_hWnd, IDC_HEADLINE, toWide(m_report.headline).c_str());
    SetDlgItemTextW(m_hWnd, IDC_OPEN_FOLDER, toWide(velkaro::dialog::kOpenFolderText).c_str());
    SetDlgItemTextW(m_hWnd, IDOK, toWide(velkaro::dialog::kOkText).c_str());
    EnableWindow(GetDlgItem(m_hWnd, IDC_OPEN_FOLDER), !m_report.folderToOpen.empty());
    const HICON icon = LoadIconW(nullptr, m_report.troubled ? IDI_WARNING : IDI_INFORMATION);
    SendDlgItemMessageW(m_hWnd, IDC_RESULT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    FitToScreen();
    LayOut();
    // Set once the text has its size, so that it shows from its first line.
    SetDlgItemTextW(m_hWnd, IDC_RESULT_TEXT, RowsText(m_report).c_str());
    velkaro::winapp::centreWindow(m_hWnd, GetWindow(m_hWnd, GW_OWNER));
}

// The text's height for every line, plus what the template puts around it, within the work area.
void CResultDlg::FitToScreen() {
    const RECT area = velkaro::winapp::workAreaOf(GetWindow(m_hWnd, GW_OWNER));
    RECT window;
    GetWindowRect(m_hWnd, &window);
    const HWND text = GetDlgItem(m_hWnd, IDC_RESULT_TEXT);
    RECT textRect;
    GetWindowRect(text, &textRect);
    const int around = (window.bottom - window.top) - (textRect.bottom - textRect.top);
    const int wanted = around + lineCount(RowsText(m_report)) * lineHeight(text) +
                       2 * GetSystemMetrics(SM_CYEDGE) + dialogUnits(m_hWnd, 4);
    const int height =
        std::min<int>(std::max<int>(wanted, window.bottom - window.top), area.bottom - area.top);
    const int width = std::min<int>(
        std::max<int>(dialogUnits(m_hWnd, kWantedWidthUnits), window.right - window.left),
        area.right - area.left);
    SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

// The template's margins kept: the text fills the middle, the buttons keep the bottom right.
void CResultDlg::LayOut() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int margin = dialogUnits(m_hWnd, 7);
    const RECT ok = clientRectOf(m_hWnd, IDOK);
    const RECT open = clientRectOf(m_hWnd, IDC_OPEN_FOLDER);
    const RECT text = clientRectOf(m_hWnd, IDC_RESULT_TEXT);
    const RECT headline = clientRectOf(m_hWnd, IDC_HEADLINE);
    const int buttonHeight = ok.bottom - ok.top;
    const int buttonTop = client.bottom - margin - buttonHeight;
    const int okLeft = client.right - margin - (ok.right - ok.left);
    moveControl(m_hWnd, IDOK, okLeft, buttonTop, ok.right - ok.left, buttonHeight);
    const int openLeft = okLeft - (ok.left - open.right) - (open.right - open.left);
    moveControl(m_hWnd, IDC_OPEN_FOLDER, openLeft, buttonTop, open.right - open.left, buttonHeight);
    moveControl(m_hWnd, IDC_HEADLINE, headline.left, headline.top,
                client.right - margin - headline.left, headline.bottom - headline.top);
    moveControl(m_hWnd, IDC_RESULT_TEXT, margin, text.top, client.right - 2 * margin,
                buttonTop - (ok.top - text.bottom) - text.top);
}

// The folder as the user knows it, in the platform's file manager.
void CResultDlg::OnOpenFolder() {
    const std::wstring folder = toWide(velkaro::winapp::coreNameToUtf8(m_report.folderToOpen));
    (void)ShellExecuteW(m_hWnd, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
