#pragma once

#include <string_view>

// Every fixed text of the windows themselves (captions, titles, buttons), in UTF-8, held once so
// that the Linux window and the Windows window say exactly the same. What the windows say about a
// conversion (outcomes, warnings, reasons, questions, the list texts) is the wording's.
namespace velkaro::dialog {

inline constexpr std::string_view kWindowTitle = "RTK格式转换工具";
// The caption that dialog template 102 gives control 1003; never shown, since the colour label
// paints only its own text.
inline constexpr std::string_view kSourceCaptionTemplate = "选择RTK源文件:";
inline constexpr std::string_view kSourceCaption = "选择源文件:";
inline constexpr std::string_view kFormatCaption = "选择转换格式:";
inline constexpr std::string_view kBrowseText = "浏览...";
inline constexpr std::string_view kConvertText = "转换";
inline constexpr std::string_view kConvertedTitle = "格式转换提示：";
inline constexpr std::string_view kHelpFailedText = "启动帮助失败。";

inline constexpr std::string_view kAboutEntryText = "关于 Velkaro(&A)...";
inline constexpr std::string_view kAboutTitle = "关于 Velkaro";
inline constexpr std::string_view kAboutNameText = "Velkaro 1.0 版";
inline constexpr std::string_view kAboutNotice = "版权所有 (C) 2026 Velkaro";
inline constexpr std::string_view kOkText = "确定";
// Where a window has no system menu it offers a menu of its own, whose first entry closes it.
inline constexpr std::string_view kCloseEntryText = "关闭(&C)";
// The system-menu command of the about entry, and the help context F1 asks for (0x20000 plus
// the main dialog's template id).
inline constexpr unsigned kAboutCommandId = 0x0010;
inline constexpr unsigned kHelpContext = 0x20000 + 102;

// The chooser's filters, in order; the first is the one shown at first.
struct FileFilter {
    std::string_view label;
    std::string_view pattern;
};
inline constexpr FileFilter kSourceFilters[] = {{"txtfile(*.txt)", "*.txt"},
                                                {"所有文件(*.*)", "*.*"}};
inline constexpr std::string_view kDefaultExtension = "txt";

} // namespace velkaro::dialog
