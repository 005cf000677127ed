#include "unrepresentable_name.h"

#include <string>

namespace velkaro::dialog {
namespace {

// The advice names no script: what failed may be Chinese itself, on a Western system.
constexpr std::string_view kCodePageAdvice =
    "路径中有本系统代码页不能表示的字符。请把文件或文件夹改名，只用本系统能显示的字符 "
    "(例如英文字母和数字)，再重新选择；或用命令行转换程序 velkaro-convert 转换。";

[[nodiscard]] std::string quoted(std::string_view path) {
    return "\"" + std::string(path) + "\"";
}

} // namespace

Message unrepresentableNameMessage(std::string_view path) {
    return {"不能打开 " + quoted(path) + ":\n" + std::string(kCodePageAdvice), std::string(),
            MessageIcon::Exclamation};
}

Message unrepresentableNamesMessage(const std::vector<std::string> &paths) {
    if (paths.size() == 1) {
        return unrepresentableNameMessage(paths.front());
    }
    std::string text = "不能打开下列文件:";
    for (const std::string &path : paths) {
        text += "\n" + quoted(path);
    }
    text += "\n" + std::string(kCodePageAdvice);
    return {text, std::string(), MessageIcon::Exclamation};
}

Message undecodableNamesMessage(const std::vector<std::string> &names) {
    std::string text = "下列文件的名字不是 UTF-8 编码 (例如来自 Windows 的 GBK 文件名)，"
                       "本窗口不能选择它们:";
    for (const std::string &name : names) {
        text += "\n" + name;
    }
    text += "\n请把它们改名 (例如用 convmv -f gbk -t utf-8)，或用命令行转换程序 "
            "velkaro-convert 转换。";
    return {text, std::string(), MessageIcon::Exclamation};
}

} // namespace velkaro::dialog
