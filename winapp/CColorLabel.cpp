#include "CColorLabel.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 1;
} // namespace

CColorLabel::~CColorLabel() {
    if (m_hWnd != nullptr) {
        RemoveWindowSubclass(m_hWnd, &CColorLabel::SubclassProc, kSubclassId);
    }
}

bool CColorLabel::Attach(HWND control) {
    if (control == nullptr || !SetWindowSubclass(control, &CColorLabel::SubclassProc, kSubclassId,
                                                 reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = control;
    return true;
}

void CColorLabel::SetText(const std::wstring &text) {
    m_strText = text;
}

void CColorLabel::SetBackColor(COLORREF colour) {
    m_crBack = colour;
}

void CColorLabel::SetFormat(UINT format) {
    m_format = format;
}

LRESULT CALLBACK CColorLabel::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR /*id*/, DWORD_PTR self) {
    switch (message) {
    case WM_PAINT:
        reinterpret_cast<CColorLabel *>(self)->OnPaint();
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &CColorLabel::SubclassProc, kSubclassId);
        reinterpret_cast<CColorLabel *>(self)->m_hWnd = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Centred horizontally from the top edge (unless SetFormat says otherwise), broken only at line
// breaks of the text, clipped by the control.
void CColorLabel::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(m_hWnd, &client);
    SetBkColor(dc, m_crBack);
    SetBkMode(dc, TRANSPARENT);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(GetParent(m_hWnd), WM_GETFONT, 0, 0));
    const HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, m_crText);
    DrawTextW(dc, m_strText.c_str(), static_cast<int>(m_strText.size()), &client, m_format);
    if (previousFont != nullptr) {
        SelectObject(dc, previousFont);
    }
    EndPaint(m_hWnd, &paint);
}
