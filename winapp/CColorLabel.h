#pragma once

#include <windows.h>

#include <string>

// A caption that sits on the parent's background picture: a static control of the dialog,
// subclassed so that it paints only the glyphs of a text it keeps itself, in its own colour,
// centred (or laid out as SetFormat says), in the parent's font, on a transparent background. It
// never erases, so the parent's picture shows through around the glyphs; the control's window text
// is kept but never shown.
class CColorLabel {
  public:
    CColorLabel() = default;
    CColorLabel(const CColorLabel &) = delete;
    CColorLabel &operator=(const CColorLabel &) = delete;
    ~CColorLabel();

    // Takes over the painting of control; false when it cannot be subclassed.
    [[nodiscard]] bool Attach(HWND control);
    // Takes a copy of text; shown at the next paint, which this does not request.
    void SetText(const std::wstring &text);
    // Stored as the paint's background colour, which the transparent mode never shows.
    void SetBackColor(COLORREF colour);
    // How DrawText lays the text out; DT_CENTER unless told otherwise.
    void SetFormat(UINT format);

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    void OnPaint();

    HWND m_hWnd = nullptr;
    const COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crBack = RGB(0, 0, 0);
    std::wstring m_strText;
    UINT m_format = DT_CENTER;
};
