#pragma once

#include "window_settings.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The settings, dialog template 103: the converter's options under the names and within the
// ranges of velkaro-convert (DXF code page, axes, labels with their height and decimals, CASS
// columns, lines without coordinates left out, the summary), where the outputs go, beside each
// source or in one chosen folder, and how the source is read (--source-layout and
// --source-encoding) with a preview of the chosen file's first points. 恢复默认 puts back the old
// tool's behaviour; 确定 takes what is shown once the height and the folder are usable, 取消 and
// Esc change nothing.
class CSettingsDlg {
  public:
    // applicationName: the title of the boxes that refuse a value (UTF-8); sourcePath: the core
    // name of the chosen source, empty before one is chosen. Its first bytes are read once.
    CSettingsDlg(velkaro::dialog::WindowSettings settings, std::string applicationName,
                 const std::string &sourcePath);

    // The settings the user confirmed; nullopt when the dialog was cancelled.
    [[nodiscard]] std::optional<velkaro::dialog::WindowSettings> DoModal(HWND owner);

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] INT_PTR OnCommand(WORD id, WORD code);
    void OnInitDialog();
    void SetTexts();
    void FillLists();
    void FillSourceLists();
    void Show(const velkaro::dialog::WindowSettings &settings);
    void ShowSourceReading(const velkaro::SourceReading &reading);
    void EnableDependents();
    [[nodiscard]] bool CustomRoles() const;
    [[nodiscard]] std::string LayoutText() const;
    [[nodiscard]] velkaro::SourceReading ShownReading() const;
    void UpdatePreview();
    void ShowPreview(const std::string &table, std::string_view note);
    void OnChooseFolder();
    void OnOk();
    // The options as shown, or nullopt after telling the user what is wrong with them.
    [[nodiscard]] std::optional<velkaro::dialog::WindowSettings> Shown();
    [[nodiscard]] bool ShownLabels(velkaro::ConversionOptions &options);
    [[nodiscard]] bool ShownOutput(velkaro::dialog::WindowSettings &settings);
    [[nodiscard]] bool ShownRoles();
    void Refuse(const velkaro::dialog::Message &message, int control);

    velkaro::dialog::WindowSettings m_settings;
    std::string m_applicationName;
    bool m_chosen;
    std::string m_head;
    HWND m_hWnd = nullptr;
};
