#include "CAboutBox.h"

#include "resource.h"
#include "window_placement.h"

void CAboutBox::DoModal(HWND owner) {
    (void)DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, &CAboutBox::DialogProc,
                          0);
}

// Placed at (0, 0) by its template, the box is centred over its owner, as the dialog framework
// of the original did.
void CAboutBox::OnInitDialog(HWND hwnd) {
    velkaro::winapp::centreWindow(hwnd, GetWindow(hwnd, GW_OWNER));
}

INT_PTR CALLBACK CAboutBox::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
