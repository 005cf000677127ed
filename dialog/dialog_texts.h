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

// The settings: a small button on the main window, and the dialog it opens. The choices carry the
// converter's own option names in brackets, so that a surveyor who also scripts sees they are one.
inline constexpr std::string_view kSettingsButtonText = "设置...";
inline constexpr std::string_view kSettingsTitle = "转换设置";
inline constexpr std::string_view kCodePageCaption = "DXF 代码页 (--dxf-codepage):";
inline constexpr std::string_view kNoCodePageItem = "不写 (与原程序相同)";
inline constexpr std::string_view kAxesCaption = "DXF 坐标轴 (--dxf-axes):";
inline constexpr std::string_view kAxesXyItem = "x 为图形 X (与原程序相同)";
inline constexpr std::string_view kAxesEnItem = "东坐标为图形 X (如 CASS、GIS)";
inline constexpr std::string_view kLabelsText = "注记点名和高程 (--labels)";
inline constexpr std::string_view kLabelHeightCaption = "文字高度 (--label-height):";
inline constexpr std::string_view kLabelDecimalsCaption = "高程小数位 (--label-decimals):";
inline constexpr std::string_view kCassColumnsCaption = "CASS 列 (--cass-columns):";
inline constexpr std::string_view kCassCodeItem = "编码,,Y,X,H (与原程序相同)";
inline constexpr std::string_view kCassNameItem = "点名,编码,Y,X,H (CASS 说明)";
inline constexpr std::string_view kSkipJunkText = "略去没有坐标的行 (--skip-junk)";
inline constexpr std::string_view kSummaryText = "转换后显示摘要 (--summary)";
inline constexpr std::string_view kOutputCaption = "输出位置 (-o):";
inline constexpr std::string_view kBesideSourceItem = "源文件所在文件夹";
inline constexpr std::string_view kFolderItem = "指定文件夹:";
inline constexpr std::string_view kChooseFolderText = "选择...";
inline constexpr std::string_view kDefaultsText = "恢复默认";
inline constexpr std::string_view kFolderMissing = "请选择输出文件夹。";

// The source's layout in the settings, and its preview of the chosen file.
inline constexpr std::string_view kSourceLayoutCaption = "源文件格式 (--source-layout):";
inline constexpr std::string_view kLayoutRtkItem = "原程序的读法 (rtk)";
inline constexpr std::string_view kLayoutAutoItem = "自动识别 (auto)";
inline constexpr std::string_view kLayoutCassItem = "CASS 坐标文件: 点名,编码,Y,X,H (cass)";
inline constexpr std::string_view kLayoutPnezdItem = "点名,北,东,高程,编码 (pnezd)";
inline constexpr std::string_view kLayoutPenzdItem = "点名,东,北,高程,编码 (penzd)";
inline constexpr std::string_view kLayoutCustomItem = "自定义各列:";
inline constexpr std::string_view kSourceEncodingCaption = "文字编码 (--source-encoding):";
inline constexpr std::string_view kPreviewCaption = "预览:";
inline constexpr std::string_view kPreviewNoFileText = "请先选择源文件";
inline constexpr std::string_view kEncodingAutoItem = "自动";
inline constexpr std::string_view kEncodingGbkItem = "GBK";
inline constexpr std::string_view kEncodingUtf8Item = "UTF-8";
inline constexpr std::string_view kCustomRolesName = "自定义各列";
inline constexpr std::string_view kCustomRolesInvalid =
    "自定义各列须为逗号分隔的列表, 如 name,code,y,x,z: 每列为 name、code、x、y、z 或 - (跳过), "
    "须有 x 和 y, 除 - 外不得重复。";

// The coordinate system of the GIS formats in the settings; the grids' items are the wording's.
inline constexpr std::string_view kCrsCaption = "坐标系 (--crs):";
inline constexpr std::string_view kCrsNoneItem = "无 (本地坐标)";
inline constexpr std::string_view kCrsAutoItem = "自动 (按东坐标的带号)";

// The result dialog and the progress of a long run.
inline constexpr std::string_view kResultTitle = "转换结果";
inline constexpr std::string_view kOpenFolderText = "打开文件夹";
inline constexpr std::string_view kSourceColumn = "源文件";
inline constexpr std::string_view kOutputColumn = "转换文件";
inline constexpr std::string_view kPointsColumn = "点数";
inline constexpr std::string_view kNotesColumn = "警告或错误";
inline constexpr std::string_view kProgressTitle = "正在转换";

// Accessible names of the controls whose own text does not say what they are.
inline constexpr std::string_view kFormatListName = "转换格式";
inline constexpr std::string_view kFileNameBoxName = "源文件名";
inline constexpr std::string_view kOptionsLineName = "转换选项";

} // namespace velkaro::dialog
