#include "CSettingsDlg.h"

#include "option_text.h"

#include "CMessageBoxHost.h"
#include "core_names.h"
#include "resource.h"
#include "wide_text.h"
#include "window_placement.h"

#include "dialog_texts.h"
#include "question_text.h"
#include "source_preview_table.h"
#include "unrepresentable_name.h"

#include "layout_detection.h"
#include "source_layout.h"

#include <shlobj.h>

#include <algorithm>
#include <span>
#include <utility>

using velkaro::winapp::toUtf8;
using velkaro::winapp::toWide;
namespace dialog = velkaro::dialog;

namespace {

struct ControlText {
    int id;
    std::string_view text;
};

constexpr ControlText kTexts[] = {
    {IDC_CODEPAGE_CAPTION, dialog::kCodePageCaption},
    {IDC_AXES_CAPTION, dialog::kAxesCaption},
    {IDC_LABELS, dialog::kLabelsText},
    {IDC_HEIGHT_CAPTION, dialog::kLabelHeightCaption},
    {IDC_DECIMALS_CAPTION, dialog::kLabelDecimalsCaption},
    {IDC_CASS_CAPTION, dialog::kCassColumnsCaption},
    {IDC_SKIP_JUNK, dialog::kSkipJunkText},
    {IDC_SUMMARY, dialog::kSummaryText},
    {IDC_OUTPUT_CAPTION, dialog::kOutputCaption},
    {IDC_LAYOUT_CAPTION, dialog::kSourceLayoutCaption},
    {IDC_ROLES_CAPTION, dialog::kLayoutCustomItem},
    {IDC_ENCODING_CAPTION, dialog::kSourceEncodingCaption},
    {IDC_PREVIEW_CAPTION, dialog::kPreviewCaption},
    {IDC_CRS_CAPTION, dialog::kCrsCaption},
    {IDC_BESIDE_SOURCE, dialog::kBesideSourceItem},
    {IDC_TO_FOLDER, dialog::kFolderItem},
    {IDC_CHOOSE_FOLDER, dialog::kChooseFolderText},
    {IDC_DEFAULTS, dialog::kDefaultsText},
    {IDOK, dialog::kOkText},
};

// The items of --source-layout and --source-encoding with the option's value each; the last
// layout takes the roles typed beside it.
struct ListItem {
    std::string_view text;
    std::string_view value;
};

constexpr ListItem kLayouts[] = {
    {dialog::kLayoutRtkItem, "rtk"},     {dialog::kLayoutAutoItem, "auto"},
    {dialog::kLayoutCassItem, "cass"},   {dialog::kLayoutPnezdItem, "pnezd"},
    {dialog::kLayoutPenzdItem, "penzd"}, {dialog::kLayoutCustomItem, ""},
};
constexpr int kCustomLayout = 5;

constexpr ListItem kEncodings[] = {
    {dialog::kEncodingAutoItem, ""},
    {dialog::kEncodingGbkItem, "gbk"},
    {dialog::kEncodingUtf8Item, "utf-8"},
};

// The preview's columns, in dialog units: 点名, 编码, X, Y, then H.
constexpr int kPreviewTabStops[] = {36, 64, 118, 168};

[[nodiscard]] int indexOf(std::span<const ListItem> items, std::string_view value) {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [value](const ListItem &item) { return item.value == value; });
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

// The first bytes of the source, as many as the layout's detection looks at.
[[nodiscard]] std::string headOf(const std::string &sourcePath) {
    if (sourcePath.empty()) {
        return {};
    }
    const HANDLE file = CreateFileW(toWide(velkaro::winapp::coreNameToUtf8(sourcePath)).c_str(),
                                    GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string head(velkaro::kDetectionBytes, '\0');
    DWORD read = 0;
    if (ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr) == FALSE) {
        read = 0;
    }
    CloseHandle(file);
    head.resize(read);
    return head;
}

// The table as lines of tab-separated cells.
[[nodiscard]] std::string tableText(const dialog::PreviewTable &table) {
    const auto line = [](const std::vector<std::string> &cells) {
        std::string text;
        for (const std::string &cell : cells) {
            text += (text.empty() ? "" : "\t") + cell;
        }
        return text;
    };
    std::string text = line(table.headers);
    for (const std::vector<std::string> &row : table.rows) {
        text += "\r\n" + line(row);
    }
    return text;
}

void addItem(HWND dialog, int id, const std::string &text) {
    SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(toWide(text).c_str()));
}

void select(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

[[nodiscard]] int selected(HWND dialog, int id) {
    return std::max(0, static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)));
}

void check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

[[nodiscard]] bool isChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

[[nodiscard]] std::wstring itemText(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

[[nodiscard]] int codePageIndex(const velkaro::ConversionOptions &options) {
    const std::vector<int> &pages = dialog::offeredCodePages();
    const auto found = std::find(pages.begin(), pages.end(), options.dxfCodePage.value_or(0));
    return found == pages.end() ? 0 : static_cast<int>(found - pages.begin());
}

// The item of the coordinate system in force; none (the first) for one the list does not offer.
[[nodiscard]] int crsIndex(const velkaro::ConversionOptions &options) {
    const std::vector<dialog::CrsItem> &items = dialog::offeredCrsItems();
    const std::string value = dialog::crsValueText(options.crs);
    const auto found =
        std::find_if(items.begin(), items.end(),
                     [&value](const dialog::CrsItem &item) { return item.value == value; });
    return found == items.end() ? 0 : static_cast<int>(found - items.begin());
}

// Opens the chooser at the folder shown, when there is one.
int CALLBACK selectShownFolder(HWND chooser, UINT message, LPARAM /*unused*/, LPARAM folder) {
    if (message == BFFM_INITIALIZED && folder != 0 &&
        *reinterpret_cast<const wchar_t *>(folder) != L'\0') {
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, folder);
    }
    return 0;
}

// The shell's folder chooser; the chosen folder's path, or nothing when the user cancelled.
[[nodiscard]] std::optional<std::wstring> chooseFolder(HWND owner, const std::wstring &title,
                                                       const std::wstring &shown) {
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = &selectShownFolder;
    browse.lParam = reinterpret_cast<LPARAM>(shown.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    std::wstring path(MAX_PATH, L'\0');
    const bool found = SHGetPathFromIDListW(chosen, path.data()) != FALSE;
    CoTaskMemFree(chosen);
    if (!found) {
        return std::nullopt;
    }
    path.resize(wcsnlen(path.c_str(), path.size()));
    return path;
}

} // namespace

CSettingsDlg::CSettingsDlg(dialog::WindowSettings settings, std::string applicationName,
                           const std::string &sourcePath)
    : m_settings(std::move(settings)), m_applicationName(std::move(applicationName)),
      m_chosen(!sourcePath.empty()), m_head(headOf(sourcePath)) {}

std::optional<dialog::WindowSettings> CSettingsDlg::DoModal(HWND owner) {
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), owner,
                        &CSettingsDlg::DialogProc, reinterpret_cast<LPARAM>(this));
    if (result != IDOK) {
        return std::nullopt;
    }
    return m_settings;
}

INT_PTR CALLBACK CSettingsDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto *const self = reinterpret_cast<CSettingsDlg *>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        self->m_hWnd = hwnd;
        self->OnInitDialog();
        return TRUE;
    }
    auto *const self = reinterpret_cast<CSettingsDlg *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || message != WM_COMMAND) {
        return FALSE;
    }
    return self->OnCommand(LOWORD(wParam), HIWORD(wParam));
}

INT_PTR CSettingsDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_SOURCE_LAYOUT:
    case IDC_SOURCE_ENCODING:
    case IDC_SOURCE_ROLES:
        if (code == CBN_SELCHANGE || code == EN_CHANGE) {
            EnableDependents();
            UpdatePreview();
        }
        return TRUE;
    case IDC_LABELS:
    case IDC_BESIDE_SOURCE:
    case IDC_TO_FOLDER:
        EnableDependents();
        return TRUE;
    case IDC_CHOOSE_FOLDER:
        OnChooseFolder();
        return TRUE;
    case IDC_DEFAULTS:
        Show(dialog::WindowSettings{});
        return TRUE;
    case IDOK:
        OnOk();
        return TRUE;
    case IDCANCEL:
        EndDialog(m_hWnd, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

void CSettingsDlg::OnInitDialog() {
    SetTexts();
    FillLists();
    Show(m_settings);
    velkaro::winapp::centreWindow(m_hWnd, GetWindow(m_hWnd, GW_OWNER));
}

void CSettingsDlg::SetTexts() {
    SetWindowTextW(m_hWnd, toWide(dialog::kSettingsTitle).c_str());
    for (const ControlText &entry : kTexts) {
        SetDlgItemTextW(m_hWnd, entry.id, toWide(entry.text).c_str());
    }
    SetDlgItemTextW(m_hWnd, IDCANCEL, toWide(velkaro::wording::cancelText()).c_str());
}

void CSettingsDlg::FillLists() {
    for (const int page : dialog::offeredCodePages()) {
        addItem(m_hWnd, IDC_CODEPAGE,
                page == 0 ? std::string(dialog::kNoCodePageItem) : std::to_string(page));
    }
    addItem(m_hWnd, IDC_AXES, std::string(dialog::kAxesXyItem));
    addItem(m_hWnd, IDC_AXES, std::string(dialog::kAxesEnItem));
    for (int decimals = 0; decimals <= velkaro::kMaxElevationDecimals; ++decimals) {
        addItem(m_hWnd, IDC_LABEL_DECIMALS, std::to_string(decimals));
    }
    addItem(m_hWnd, IDC_CASS_COLUMNS, std::string(dialog::kCassCodeItem));
    addItem(m_hWnd, IDC_CASS_COLUMNS, std::string(dialog::kCassNameItem));
    FillSourceLists();
    for (const dialog::CrsItem &item : dialog::offeredCrsItems()) {
        addItem(m_hWnd, IDC_CRS, item.text);
    }
}

void CSettingsDlg::FillSourceLists() {
    for (const ListItem &item : kLayouts) {
        addItem(m_hWnd, IDC_SOURCE_LAYOUT, std::string(item.text));
    }
    for (const ListItem &item : kEncodings) {
        addItem(m_hWnd, IDC_SOURCE_ENCODING, std::string(item.text));
    }
    RECT list{};
    GetWindowRect(GetDlgItem(m_hWnd, IDC_SOURCE_LAYOUT), &list);
    SendDlgItemMessageW(m_hWnd, IDC_SOURCE_LAYOUT, CB_SETDROPPEDWIDTH,
                        static_cast<WPARAM>((list.right - list.left) * 3 / 2), 0);
    SendDlgItemMessageW(m_hWnd, IDC_PREVIEW, EM_SETTABSTOPS, std::size(kPreviewTabStops),
                        reinterpret_cast<LPARAM>(kPreviewTabStops));
}

void CSettingsDlg::Show(const dialog::WindowSettings &settings) {
    const velkaro::ConversionOptions &options = settings.options;
    const velkaro::DxfLabels labels = options.dxfLabels.value_or(velkaro::DxfLabels{});
    select(m_hWnd, IDC_CODEPAGE, codePageIndex(options));
    select(m_hWnd, IDC_AXES, options.dxfAxes == velkaro::DxfAxes::En ? 1 : 0);
    check(m_hWnd, IDC_LABELS, options.dxfLabels.has_value());
    SetDlgItemTextW(m_hWnd, IDC_LABEL_HEIGHT,
                    toWide(dialog::labelHeightText(labels.height)).c_str());
    select(m_hWnd, IDC_LABEL_DECIMALS, labels.elevationDecimals);
    select(m_hWnd, IDC_CASS_COLUMNS, options.cassColumns == velkaro::CassColumns::Name ? 1 : 0);
    check(m_hWnd, IDC_SKIP_JUNK, options.leaveOutLinesWithoutCoordinates);
    check(m_hWnd, IDC_SUMMARY, options.summary);
    const bool folder = settings.outputPlace == dialog::OutputPlace::Folder;
    check(m_hWnd, IDC_BESIDE_SOURCE, !folder);
    check(m_hWnd, IDC_TO_FOLDER, folder);
    SetDlgItemTextW(m_hWnd, IDC_OUTPUT_FOLDER,
                    toWide(velkaro::winapp::coreNameToUtf8(settings.outputFolder)).c_str());
    ShowSourceReading(options.sourceReading);
    select(m_hWnd, IDC_CRS, crsIndex(options));
    EnableDependents();
    UpdatePreview();
}

// A list of roles that one of the named layouts has shows as that layout.
void CSettingsDlg::ShowSourceReading(const velkaro::SourceReading &reading) {
    const std::string layout = dialog::sourceLayoutText(reading);
    int index = indexOf(kLayouts, layout);
    for (const std::string_view preset : {"cass", "pnezd", "penzd"}) {
        if (velkaro::rolesText(*velkaro::presetRoles(preset)) == layout) {
            index = indexOf(kLayouts, preset);
        }
    }
    const bool custom = index < 0 || index == kCustomLayout;
    SetDlgItemTextW(m_hWnd, IDC_SOURCE_ROLES, toWide(custom ? layout : std::string()).c_str());
    select(m_hWnd, IDC_SOURCE_LAYOUT, custom ? kCustomLayout : index);
    select(m_hWnd, IDC_SOURCE_ENCODING,
           std::max(0, indexOf(kEncodings, dialog::encodingText(reading.encoding))));
}

bool CSettingsDlg::CustomRoles() const {
    return selected(m_hWnd, IDC_SOURCE_LAYOUT) == kCustomLayout;
}

std::string CSettingsDlg::LayoutText() const {
    if (CustomRoles()) {
        return toUtf8(itemText(m_hWnd, IDC_SOURCE_ROLES));
    }
    return std::string(
        kLayouts[static_cast<std::size_t>(selected(m_hWnd, IDC_SOURCE_LAYOUT))].value);
}

velkaro::SourceReading CSettingsDlg::ShownReading() const {
    const int encoding = selected(m_hWnd, IDC_SOURCE_ENCODING);
    return dialog::sourceReadingOf(LayoutText(),
                                   kEncodings[static_cast<std::size_t>(encoding)].value);
}

// The preview reads the file with the options as shown: the layout and the encoding matter.
void CSettingsDlg::UpdatePreview() {
    const dialog::PreviewTable empty = dialog::previewTable({}, {});
    if (!m_chosen) {
        ShowPreview(tableText(empty), dialog::kPreviewNoFileText);
        return;
    }
    if (CustomRoles() && !velkaro::parseRoles(LayoutText())) {
        ShowPreview(tableText(empty), dialog::kCustomRolesInvalid);
        return;
    }
    velkaro::ConversionOptions options = m_settings.options;
    options.sourceReading = ShownReading();
    const dialog::PreviewTable preview = dialog::previewTable(m_head, options);
    ShowPreview(tableText(preview), preview.note);
}

void CSettingsDlg::ShowPreview(const std::string &table, std::string_view note) {
    SetDlgItemTextW(m_hWnd, IDC_PREVIEW, toWide(table).c_str());
    SetDlgItemTextW(m_hWnd, IDC_PREVIEW_NOTE, toWide(note).c_str());
}

// The height and decimals count only with labels, the folder only when outputs go to one.
void CSettingsDlg::EnableDependents() {
    const bool labels = isChecked(m_hWnd, IDC_LABELS);
    for (const int id :
         {IDC_HEIGHT_CAPTION, IDC_LABEL_HEIGHT, IDC_DECIMALS_CAPTION, IDC_LABEL_DECIMALS}) {
        EnableWindow(GetDlgItem(m_hWnd, id), labels);
    }
    const bool folder = isChecked(m_hWnd, IDC_TO_FOLDER);
    EnableWindow(GetDlgItem(m_hWnd, IDC_OUTPUT_FOLDER), folder);
    EnableWindow(GetDlgItem(m_hWnd, IDC_CHOOSE_FOLDER), folder);
    for (const int id : {IDC_ROLES_CAPTION, IDC_SOURCE_ROLES}) {
        EnableWindow(GetDlgItem(m_hWnd, id), CustomRoles());
    }
}

void CSettingsDlg::OnChooseFolder() {
    const std::optional<std::wstring> folder =
        chooseFolder(m_hWnd, toWide(dialog::kOutputCaption), itemText(m_hWnd, IDC_OUTPUT_FOLDER));
    if (folder) {
        SetDlgItemTextW(m_hWnd, IDC_OUTPUT_FOLDER, folder->c_str());
    }
}

void CSettingsDlg::OnOk() {
    if (std::optional<dialog::WindowSettings> shown = Shown()) {
        m_settings = std::move(*shown);
        EndDialog(m_hWnd, IDOK);
    }
}

std::optional<dialog::WindowSettings> CSettingsDlg::Shown() {
    dialog::WindowSettings settings;
    settings.lastFolder = m_settings.lastFolder;
    velkaro::ConversionOptions &options = settings.options;
    const int page =
        dialog::offeredCodePages()[static_cast<std::size_t>(selected(m_hWnd, IDC_CODEPAGE))];
    options.dxfCodePage = page == 0 ? std::nullopt : std::optional<int>(page);
    options.dxfAxes = selected(m_hWnd, IDC_AXES) == 1 ? velkaro::DxfAxes::En : velkaro::DxfAxes::Xy;
    options.cassColumns = selected(m_hWnd, IDC_CASS_COLUMNS) == 1 ? velkaro::CassColumns::Name
                                                                  : velkaro::CassColumns::Code;
    options.leaveOutLinesWithoutCoordinates = isChecked(m_hWnd, IDC_SKIP_JUNK);
    options.summary = isChecked(m_hWnd, IDC_SUMMARY);
    options.sourceReading = ShownReading();
    options.crs = dialog::crsChoiceOf(
        dialog::offeredCrsItems()[static_cast<std::size_t>(selected(m_hWnd, IDC_CRS))].value);
    if (!ShownLabels(options) || !ShownRoles() || !ShownOutput(settings)) {
        return std::nullopt;
    }
    return settings;
}

bool CSettingsDlg::ShownLabels(velkaro::ConversionOptions &options) {
    if (!isChecked(m_hWnd, IDC_LABELS)) {
        return true;
    }
    const std::string text = toUtf8(itemText(m_hWnd, IDC_LABEL_HEIGHT));
    const std::optional<double> height = dialog::parseLabelHeight(text);
    if (!height) {
        Refuse({velkaro::wording::labelHeightRangeText(text), {}, dialog::MessageIcon::Exclamation},
               IDC_LABEL_HEIGHT);
        return false;
    }
    options.dxfLabels = velkaro::DxfLabels{*height, selected(m_hWnd, IDC_LABEL_DECIMALS)};
    return true;
}

bool CSettingsDlg::ShownRoles() {
    if (CustomRoles() && !velkaro::parseRoles(LayoutText())) {
        Refuse({std::string(dialog::kCustomRolesInvalid), {}, dialog::MessageIcon::Exclamation},
               IDC_SOURCE_ROLES);
        return false;
    }
    return true;
}

bool CSettingsDlg::ShownOutput(dialog::WindowSettings &settings) {
    const std::wstring folder = itemText(m_hWnd, IDC_OUTPUT_FOLDER);
    const std::optional<std::string> coreName = velkaro::winapp::toCoreName(folder);
    if (!isChecked(m_hWnd, IDC_TO_FOLDER)) {
        settings.outputFolder = coreName.value_or(std::string());
        return true;
    }
    if (folder.empty()) {
        Refuse({std::string(dialog::kFolderMissing), {}, dialog::MessageIcon::Exclamation},
               IDC_OUTPUT_FOLDER);
        return false;
    }
    if (!coreName) {
        Refuse(dialog::unrepresentableNameMessage(toUtf8(folder)), IDC_OUTPUT_FOLDER);
        return false;
    }
    settings.outputPlace = dialog::OutputPlace::Folder;
    settings.outputFolder = *coreName;
    return true;
}

void CSettingsDlg::Refuse(const dialog::Message &message, int control) {
    CMessageBoxHost(m_hWnd, m_applicationName).showMessage(message);
    SetFocus(GetDlgItem(m_hWnd, control));
}
