// window-text.exe: what the windows on the desktop show, for the end-to-end test of Velkaro.exe
// under wine. Reads windows through the Windows API alone, as another program sees them, and
// prints UTF-8 lines; the test drives the window with xdotool and checks these lines.
//   window-text list                      every visible top-level window and its controls
//   window-text map EXE TEMPLATE CX CY    CX x CY dialog units of template TEMPLATE in EXE, as
//                                         pixels: the client size a dialog of it must have
//   window-text settext HWND TEXT         puts TEXT into the window HWND (hex), an edit field
//   window-text workarea                  the primary screen's work area: L,T,R,B
//   window-text drop HWND PATH...         drops the paths on the window HWND (hex) as the
//                                         shell does a drag of files from its folder window
//   window-text close HWND                asks the window HWND (hex) to close, as its close box
// A window line:  window HWND class=CLASS title=TITLE client=WxH rect=L,T,R,B owner=HWND
//                 [disabled] [moving]
// A control line:   control ID hwnd=HWND class=CLASS text=TEXT rect=L,T,R,B [sel=N items=N]
//                   [icon=yes|no] [check=0|1] [default] [pos=N] [hidden] [disabled]
// (sel and items: a combo box's selected item and how many it holds; check: a check box or radio
// button's state; default: the default push button; pos: a progress bar's position)
// indented by two spaces more for each level below the window (the combo box's own field).
// Texts escape "\", line feeds, carriage returns and tabs as \\, \n, \r and \t.

#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

void write(const std::wstring &line) {
    const std::wstring text = line + L"\n";
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

std::wstring escaped(const std::wstring &text) {
    std::wstring out;
    for (const wchar_t c : text) {
        switch (c) {
        case L'\\':
            out += L"\\\\";
            break;
        case L'\n':
            out += L"\\n";
            break;
        case L'\r':
            out += L"\\r";
            break;
        case L'\t':
            out += L"\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// WM_GETTEXT itself: GetWindowText of another program's window gives only the text the system
// keeps, which an edit field (the combo box's, the file dialog's) never updates.
std::wstring textOf(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    buffer.resize(std::min<std::size_t>(static_cast<std::size_t>(copied), buffer.size()));
    return escaped(buffer.c_str());
}

// What a button shows beyond its text: a check box's or radio button's state, or that it is
// the default button.
std::wstring buttonState(HWND button, DWORD style) {
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return L" check=" + std::to_wstring(SendMessageW(button, BM_GETCHECK, 0, 0));
    case BS_DEFPUSHBUTTON:
        return L" default";
    default:
        return L"";
    }
}

std::wstring classOf(HWND window) {
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return buffer;
}

std::wstring handle(HWND window) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%llx",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    return buffer;
}

std::wstring rectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
           std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom);
}

BOOL CALLBACK printControl(HWND control, LPARAM window) {
    std::wstring indent = L"  ";
    for (HWND parent = GetParent(control);
         parent != nullptr && parent != reinterpret_cast<HWND>(window);
         parent = GetParent(parent)) {
        indent += L"  ";
    }
    const std::wstring className = classOf(control);
    std::wstring line = indent + L"control " + std::to_wstring(GetDlgCtrlID(control)) + L" hwnd=" +
                        handle(control) + L" class=" + className + L" text=" + textOf(control) +
                        L" rect=" + rectOf(control);
    if (className == L"ComboBox") {
        line += L" sel=" +
                std::to_wstring(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0))) +
                L" items=" +
                std::to_wstring(static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0)));
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (className == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
        line += SendMessageW(control, STM_GETICON, 0, 0) != 0 ? L" icon=yes" : L" icon=no";
    }
    if (className == L"Button") {
        line += buttonState(control, style);
    }
    if (className == L"msctls_progress32") {
        line += L" pos=" + std::to_wstring(SendMessageW(control, PBM_GETPOS, 0, 0));
    }
    if (!IsWindowVisible(control)) {
        line += L" hidden";
    }
    if (!IsWindowEnabled(control)) {
        line += L" disabled";
    }
    write(line);
    return TRUE;
}

// Whether the window's thread runs the system's loop that moves or sizes a window.
bool isMoving(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) != FALSE &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

BOOL CALLBACK printWindow(HWND window, LPARAM /*unused*/) {
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    RECT client{};
    GetClientRect(window, &client);
    write(L"window " + handle(window) + L" class=" + classOf(window) + L" title=" + textOf(window) +
          L" client=" + std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom) +
          L" rect=" + rectOf(window) + L" owner=" + handle(GetWindow(window, GW_OWNER)) +
          (IsWindowEnabled(window) ? L"" : L" disabled") + (isMoving(window) ? L" moving" : L""));
    EnumChildWindows(window, &printControl, reinterpret_cast<LPARAM>(window));
    return TRUE;
}

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Creates an invisible dialog from the executable's own template and maps the units with it, so
// that the font the template names decides the answer, as it does for the real window.
int mapDialogUnits(const wchar_t *exe, int templateId, int cx, int cy) {
    const HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found =
        module ? FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5)) : nullptr;
    if (found == nullptr) {
        std::fputs("template not found\n", stderr);
        return 1;
    }
    const auto *data = static_cast<const BYTE *>(LockResource(LoadResource(module, found)));
    std::string copy(reinterpret_cast<const char *>(data), SizeofResource(module, found));
    DWORD style;
    std::memcpy(&style, copy.data() + 12,
                sizeof style); // DLGTEMPLATEEX: after version, signature, help id, ex-style
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(copy.data() + 12, &style, sizeof style);
    const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                                   reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()),
                                                   nullptr, &quietDialog, 0);
    if (dialog == nullptr) {
        std::fputs("dialog not created\n", stderr);
        return 1;
    }
    RECT rect{0, 0, cx, cy};
    MapDialogRect(dialog, &rect);
    write(std::to_wstring(rect.right) + L"x" + std::to_wstring(rect.bottom));
    DestroyWindow(dialog);
    return 0;
}

HWND parseHandle(const wchar_t *text) {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(text, nullptr, 16)));
}

// The shell's WM_DROPFILES: a DROPFILES header, then the wide paths, each ending in a zero, and
// one zero more. A message carries no memory from process to process, so the block is written
// into the window's process, where a fixed block's handle is its address as GlobalAlloc gives
// it; DragQueryFile reads it there as it reads the shell's.
int postDrop(HWND window, int count, wchar_t **paths) {
    std::wstring list;
    for (int i = 0; i < count; ++i) {
        list.append(paths[i]).push_back(L'\0');
    }
    list.push_back(L'\0');
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof header);
    block.append(reinterpret_cast<const char *>(list.data()), list.size() * sizeof(wchar_t));
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    void *const there = process != nullptr ? VirtualAllocEx(process, nullptr, block.size(),
                                                            MEM_COMMIT, PAGE_READWRITE)
                                           : nullptr;
    const bool written = there != nullptr && WriteProcessMemory(process, there, block.data(),
                                                                block.size(), nullptr) != FALSE;
    if (process != nullptr) {
        CloseHandle(process);
    }
    return written && PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(there), 0) ? 0
                                                                                             : 1;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    // Lines end in a line feed alone, as the shell that reads them expects.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"list" && argc == 2) {
        EnumWindows(&printWindow, 0);
        return 0;
    }
    if (command == L"map" && argc == 6) {
        return mapDialogUnits(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]));
    }
    if (command == L"workarea" && argc == 2) {
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        write(std::to_wstring(area.left) + L"," + std::to_wstring(area.top) + L"," +
              std::to_wstring(area.right) + L"," + std::to_wstring(area.bottom));
        return 0;
    }
    if (command == L"settext" && argc == 4) {
        return SendMessageW(parseHandle(argv[2]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]))
                   ? 0
                   : 1;
    }
    if (command == L"close" && argc == 3) {
        return PostMessageW(parseHandle(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"drop" && argc >= 4) {
        return postDrop(parseHandle(argv[2]), argc - 3, argv + 3);
    }
    std::fputs("usage: window-text list | map EXE TEMPLATE CX CY | settext HWND TEXT | workarea"
               " | drop HWND PATH... | close HWND\n",
               stderr);
    return 2;
}
