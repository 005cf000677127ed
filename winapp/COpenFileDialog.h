#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The platform's open-file dialog for the source files: the layer's filters ("txtfile(*.txt)"
// first and shown first, then "所有文件(*.*)"), default extension "txt", several files at once.
class COpenFileDialog {
  public:
    // Full paths of the chosen files; empty when the user cancelled (or the dialog failed).
    // folder: where the dialog opens; empty for the platform's choice.
    [[nodiscard]] static std::vector<std::wstring> ChooseSourceFiles(HWND owner,
                                                                     const std::wstring &folder);

    // Splits the dialog's answer: one full path, or with several files the folder followed by
    // the names, each ended by a NUL and the whole by a second NUL.
    [[nodiscard]] static std::vector<std::wstring> SplitSelection(const std::wstring &buffer);
};
