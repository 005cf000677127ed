#include "CPointConvertDlg.h"

#include "CAboutBox.h"
#include "CMessageBoxHost.h"
#include "COpenFileDialog.h"
#include "CPointConvertApp.h"
#include "CSettingsDlg.h"
#include "CSettingsStore.h"
#include "core_names.h"
#include "resource.h"
#include "wide_text.h"
#include "window_placement.h"

#include "chosen_names.h"
#include "convert_command.h"
#include "dialog_texts.h"
#include "format_selection.h"

#include <commctrl.h>
#include <shellapi.h>

using velkaro::winapp::toUtf8;
using velkaro::winapp::toWide;

namespace {

[[nodiscard]] std::string decodeCoreName(std::string_view coreName) {
    return velkaro::winapp::coreNameToUtf8(coreName);
}

// In a double-byte code page (936) the second byte of a character may be 0x5C, which is no "\\".
[[nodiscard]] bool isLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

[[nodiscard]] std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

[[nodiscard]] std::wstring loadString(HINSTANCE instance, UINT id) {
    const wchar_t *text = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

} // namespace

CPointConvertDlg::CPointConvertDlg(const CPointConvertApp &app)
    : m_app(app), m_hIcon(LoadIconW(app.instance(), MAKEINTRESOURCEW(IDI_VELKARO))) {}

CPointConvertDlg::~CPointConvertDlg() {
    if (m_bmpBackground != nullptr) {
        DeleteObject(m_bmpBackground);
    }
}

INT_PTR CPointConvertDlg::DoModal() {
    return DialogBoxParamW(m_app.instance(), MAKEINTRESOURCEW(IDD_POINTCONVERT_DIALOG), nullptr,
                           &CPointConvertDlg::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CPointConvertDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto *const self = reinterpret_cast<CPointConvertDlg *>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        self->m_hWnd = hwnd;
        if (!self->OnInitDialog()) {
            EndDialog(hwnd, -1);
        }
        return TRUE;
    }
    auto *const self = reinterpret_cast<CPointConvertDlg *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CPointConvertDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hIcon);
    case WM_LBUTTONDOWN:
        OnLButtonDown(lParam);
        return FALSE;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam) ? TRUE : FALSE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_HELP:
        m_app.ShowHelp(m_hWnd);
        return TRUE;
    default:
        return FALSE;
    }
}

// The order of the original's initialisation: list and first exchange, system menu, icons,
// title, picture, captions.
bool CPointConvertDlg::OnInitDialog() {
    m_comboFormat = GetDlgItem(m_hWnd, IDC_FORMAT);
    if (!FillFormatList() || !m_labelSource.Attach(GetDlgItem(m_hWnd, IDC_LABEL_SOURCE)) ||
        !m_labelFormat.Attach(GetDlgItem(m_hWnd, IDC_LABEL_FORMAT)) ||
        !m_labelOptions.Attach(GetDlgItem(m_hWnd, IDC_OPTIONS_LINE))) {
        return false;
    }
    m_settings = CSettingsStore::Load();
    ExchangeToControls();
    AddAboutToSystemMenu();
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowTextW(m_hWnd, toWide(velkaro::dialog::kWindowTitle).c_str());
    m_bmpBackground = static_cast<HBITMAP>(LoadImageW(
        m_app.instance(), MAKEINTRESOURCEW(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    m_labelSource.SetText(toWide(velkaro::dialog::kSourceCaption));
    m_labelSource.SetBackColor(RGB(0, 0, 0));
    m_labelFormat.SetText(toWide(velkaro::dialog::kFormatCaption));
    m_labelFormat.SetBackColor(RGB(0, 0, 0));
    SetAccessibleNames();
    // A long line keeps its start, where the first option is, and ends in "...".
    m_labelOptions.SetFormat(DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    CreateToolTip();
    ShowOptionsLine();
    DragAcceptFiles(m_hWnd, TRUE);
    velkaro::winapp::centreWindow(m_hWnd, nullptr);
    return true;
}

// The formats in list order (the old three, then the GIS formats), none selected.
bool CPointConvertDlg::FillFormatList() {
    for (const std::string_view item : velkaro::dialog::formatListItems()) {
        const LRESULT index = SendMessageW(m_comboFormat, CB_ADDSTRING, 0,
                                           reinterpret_cast<LPARAM>(toWide(item).c_str()));
        if (index == CB_ERR || index == CB_ERRSPACE) {
            return false;
        }
    }
    SendMessageW(m_comboFormat, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    return true;
}

void CPointConvertDlg::AddAboutToSystemMenu() {
    const HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    const std::wstring entry = loadString(m_app.instance(), IDS_ABOUTBOX);
    if (systemMenu == nullptr || entry.empty()) {
        return;
    }
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, entry.c_str());
}

// The display lets presses through to the dialog, so the tool is the dialog's own rectangle over
// the display rather than the display's window.
void CPointConvertDlg::CreateToolTip() {
    m_toolTip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, m_app.instance(), nullptr);
    if (m_toolTip == nullptr) {
        return;
    }
    AddTool(IDC_FILENAME);
    AddTool(IDC_OPTIONS_LINE);
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, 600);
}

void CPointConvertDlg::AddTool(int control) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = static_cast<UINT_PTR>(control);
    GetWindowRect(GetDlgItem(m_hWnd, control), &tool.rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&tool.rect), 2);
    tool.lpszText = const_cast<wchar_t *>(L"");
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CPointConvertDlg::SetToolText(int control, const std::wstring &text) {
    if (m_toolTip == nullptr) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = static_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t *>(text.c_str());
    SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CPointConvertDlg::OnPaint() {
    if (IsIconic(m_hWnd)) {
        PaintMinimised();
        return;
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hWnd, &paint);
    BITMAP bitmap{};
    if (m_bmpBackground != nullptr && GetObjectW(m_bmpBackground, sizeof bitmap, &bitmap) != 0) {
        const HDC memory = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(memory, m_bmpBackground);
        PaintPicture(dc, memory, bitmap.bmWidth, bitmap.bmHeight);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    EndPaint(m_hWnd, &paint);
}

// Pixel for pixel at the client origin. Under a system scale above 100 % the dialog units grow
// the window with the font, so the picture grows by the same factor to keep covering it.
void CPointConvertDlg::PaintPicture(HDC dc, HDC picture, int width, int height) const {
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpi <= USER_DEFAULT_SCREEN_DPI) {
        BitBlt(dc, 0, 0, width, height, picture, 0, 0, SRCCOPY);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, MulDiv(width, dpi, USER_DEFAULT_SCREEN_DPI),
               MulDiv(height, dpi, USER_DEFAULT_SCREEN_DPI), picture, 0, 0, width, height, SRCCOPY);
}

// Only the erased background and the icon, centred; never the picture.
void CPointConvertDlg::PaintMinimised() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const POINT at = velkaro::winapp::minimisedIconPosition(
        {client.right - client.left, client.bottom - client.top},
        {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
    DrawIcon(dc, at.x, at.y, m_hIcon);
    EndPaint(m_hWnd, &paint);
}

// A press on the background (or on a static control, which lets it through) moves the window as
// a press on the caption would. The point stays in client coordinates, as the original sent it.
void CPointConvertDlg::OnLButtonDown(LPARAM point) {
    const int x = static_cast<short>(LOWORD(point));
    const int y = static_cast<short>(HIWORD(point));
    const auto packed = static_cast<LPARAM>((static_cast<unsigned>(y) << 16) |
                                            (static_cast<unsigned>(x) & 0xFFFFU));
    PostMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, packed);
}

bool CPointConvertDlg::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) {
        return false;
    }
    CAboutBox(m_app.instance()).DoModal(m_hWnd);
    return true;
}

void CPointConvertDlg::OnCommand(WORD id, WORD notification) {
    switch (id) {
    case IDC_BROWSE:
        OnBrowse();
        break;
    case IDC_CONVERT:
        OnConvert();
        break;
    case IDC_SETTINGS:
        OnSettings();
        break;
    case IDC_FORMAT:
        if (notification == CBN_EDITCHANGE) {
            OnFormatEdited();
        }
        break;
    case IDOK:
    case IDCANCEL:
        EndDialog(m_hWnd, id);
        break;
    default:
        break;
    }
}

void CPointConvertDlg::OnBrowse() {
    const std::vector<std::wstring> chosen =
        COpenFileDialog::ChooseSourceFiles(m_hWnd, toWide(decodeCoreName(m_settings.lastFolder)));
    if (!chosen.empty()) {
        TakeSourceFiles(chosen);
    }
}

void CPointConvertDlg::OnConvert() {
    CMessageBoxHost host(m_hWnd, m_app.applicationName());
    velkaro::dialog::ConvertCommand command(host, &decodeCoreName);
    command.run(m_selection, SelectedFormat(), m_settings);
}

// The settings the user confirms are used and kept at once.
void CPointConvertDlg::OnSettings() {
    std::optional<velkaro::dialog::WindowSettings> chosen =
        CSettingsDlg(m_settings, m_app.applicationName(), m_selection.sourcePath()).DoModal(m_hWnd);
    if (!chosen) {
        return;
    }
    m_settings = std::move(*chosen);
    (void)CSettingsStore::Save(m_settings);
    ShowOptionsLine();
}

// The line is the label's own painting over the picture, its window text, which screen readers
// and other programs read, and its tool tip, which shows a line too long for the window in full;
// the picture is put back under it first.
void CPointConvertDlg::ShowOptionsLine() {
    const std::wstring line = toWide(velkaro::dialog::optionsLine(m_settings, &decodeCoreName));
    const HWND label = GetDlgItem(m_hWnd, IDC_OPTIONS_LINE);
    m_labelOptions.SetText(line);
    SetWindowTextW(label, line.c_str());
    SetToolText(IDC_OPTIONS_LINE, line);
    RECT rect;
    GetWindowRect(label, &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&rect), 2);
    RedrawWindow(m_hWnd, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The format list and the file-name display say nothing of what they are; the hidden labels
// just before them in the tab order give them their accessible names, and the settings button
// its text.
void CPointConvertDlg::SetAccessibleNames() {
    SetDlgItemTextW(m_hWnd, IDC_NAME_FILENAME, toWide(velkaro::dialog::kFileNameBoxName).c_str());
    SetDlgItemTextW(m_hWnd, IDC_NAME_FORMAT, toWide(velkaro::dialog::kFormatListName).c_str());
    SetDlgItemTextW(m_hWnd, IDC_SETTINGS, toWide(velkaro::dialog::kSettingsButtonText).c_str());
}

// The selection counts only while the field shows exactly its item.
std::optional<velkaro::TargetFormat> CPointConvertDlg::SelectedFormat() const {
    const auto index = static_cast<int>(SendMessageW(m_comboFormat, CB_GETCURSEL, 0, 0));
    return velkaro::dialog::selectedFormat(index, toUtf8(windowText(m_comboFormat)));
}

// Editing the field's text clears the list's selection, as the platform's list does on its own
// only when the list is open. Clearing the selection also clears the field, so the typed text
// and the caret are put back; nothing is completed.
void CPointConvertDlg::OnFormatEdited() {
    if (SendMessageW(m_comboFormat, CB_GETCURSEL, 0, 0) == CB_ERR) {
        return;
    }
    const std::wstring typed = windowText(m_comboFormat);
    const LRESULT caret = SendMessageW(m_comboFormat, CB_GETEDITSEL, 0, 0);
    SendMessageW(m_comboFormat, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(m_comboFormat, typed.c_str());
    SendMessageW(m_comboFormat, CB_SETEDITSEL, 0,
                 MAKELPARAM(LOWORD(static_cast<DWORD>(caret)), HIWORD(static_cast<DWORD>(caret))));
}

void CPointConvertDlg::OnDropFiles(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    TakeSourceFiles(paths);
}

// Every regular file whose name the code page holds is chosen; the others, and folders, are
// named in one box, shown once the display shows the new choice.
void CPointConvertDlg::TakeSourceFiles(const std::vector<std::wstring> &paths) {
    velkaro::dialog::ChosenNames names;
    for (const std::wstring &path : paths) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        std::optional<std::string> coreName = velkaro::winapp::toCoreName(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            names.notFiles.push_back(toUtf8(path));
        } else if (!coreName) {
            names.refused.push_back(toUtf8(path));
        } else {
            names.coreNames.push_back(std::move(*coreName));
        }
    }
    const std::optional<velkaro::dialog::Message> leftOut = velkaro::dialog::chooseNames(
        names, m_selection, velkaro::dialog::PathStyle::Windows, &isLeadByte);
    ExchangeToControls();
    if (!names.coreNames.empty()) {
        m_settings.lastFolder = m_selection.files().front().folder;
        (void)CSettingsStore::Save(m_settings);
    }
    if (leftOut) {
        CMessageBoxHost(m_hWnd, m_app.applicationName()).showMessage(*leftOut);
    }
}

// Control 1002 shows the chosen file's name (or the batch's), its tool tip the full paths.
void CPointConvertDlg::ExchangeToControls() {
    SetDlgItemTextW(m_hWnd, IDC_FILENAME, toWide(m_selection.displayText(&decodeCoreName)).c_str());
    SetToolText(IDC_FILENAME, toWide(m_selection.toolTipText(&decodeCoreName)));
}
