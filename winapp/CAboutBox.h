#pragma once

#include <windows.h>

// The about box, dialog template 100: the program's icon, name and version, a notice line and
// the default button "确定". Modal over its owner, which it disables while open, and centred on
// it; OK, Enter, Esc and the close box end it.
class CAboutBox {
  public:
    explicit CAboutBox(HINSTANCE instance) : m_instance(instance) {}

    // Runs the box until it is closed; what it returns is of no interest.
    void DoModal(HWND owner);

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void OnInitDialog(HWND hwnd);

    HINSTANCE m_instance;
};
