#pragma once

#include "CColorLabel.h"

#include "source_selection.h"
#include "target_format.h"
#include "window_settings.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

class CPointConvertApp;

// The main window, dialog template 102: the background picture, the two captions, the file-name
// display, the browse and convert buttons and the format list, and below the frame the options
// in force with the button 设置... that changes them. The settings and the folder Browse last
// chose are kept in CSettingsStore. Every decision is the dialog layer's; this class shows it
// with the Windows API.
class CPointConvertDlg {
  public:
    explicit CPointConvertDlg(const CPointConvertApp &app);
    CPointConvertDlg(const CPointConvertDlg &) = delete;
    CPointConvertDlg &operator=(const CPointConvertDlg &) = delete;
    ~CPointConvertDlg();

    // Runs the dialog modally; its result (IDOK, IDCANCEL, or -1 when it could not start).
    INT_PTR DoModal();

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool OnInitDialog();
    [[nodiscard]] bool FillFormatList();
    void AddAboutToSystemMenu();
    // One tool tip for the file-name display (the full paths) and the options line (in full).
    void CreateToolTip();
    void AddTool(int control);
    void SetToolText(int control, const std::wstring &text);
    void OnPaint();
    void PaintPicture(HDC dc, HDC picture, int width, int height) const;
    void PaintMinimised();
    void OnLButtonDown(LPARAM point);
    [[nodiscard]] bool OnSysCommand(WPARAM command);
    void OnCommand(WORD id, WORD notification);
    void OnBrowse();
    void OnSettings();
    void ShowOptionsLine();
    void SetAccessibleNames();
    void OnConvert();
    void OnFormatEdited();
    void OnDropFiles(HDROP drop);
    // Stores the chosen files (through Browse or a drop) whose names reach the core unchanged
    // and shows them; the other files and the folders are named to the user. With no such file
    // the earlier choice stays.
    void TakeSourceFiles(const std::vector<std::wstring> &paths);
    void ExchangeToControls();
    [[nodiscard]] std::optional<velkaro::TargetFormat> SelectedFormat() const;

    const CPointConvertApp &m_app;
    HWND m_hWnd = nullptr;

    velkaro::dialog::SourceSelection m_selection; // m_strSourcePath and m_strSourceName
    HBITMAP m_bmpBackground = nullptr;
    HWND m_comboFormat = nullptr;
    CColorLabel m_labelSource;
    CColorLabel m_labelFormat;
    CColorLabel m_labelOptions;
    velkaro::dialog::WindowSettings m_settings;
    HICON m_hIcon;
    HWND m_toolTip = nullptr;
};
