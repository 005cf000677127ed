#include "question_text.h"

#include <cstdio>
#include <ctime>

namespace velkaro::wording {

std::string localTimeText(std::int64_t secondsSinceEpoch) {
    const auto time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

std::string replaceQuestionText(const std::vector<ExistingName> &existing,
                                const NameDecoder &decode) {
    const auto named = [&decode](const ExistingName &file) {
        return decode(file.name) + " (修改于 " + localTimeText(file.modifiedSeconds) + ")";
    };
    if (existing.size() == 1) {
        return "转换文件 " + named(existing.front()) + " 已存在。\n要替换它吗?";
    }
    constexpr std::size_t kNamed = 10;
    std::string text = "下列转换文件已存在:";
    for (std::size_t i = 0; i < existing.size() && i < kNamed; ++i) {
        text += "\n" + named(existing[i]);
    }
    if (existing.size() > kNamed) {
        text += "\n等共 " + std::to_string(existing.size()) + " 个文件";
    }
    return text + "\n要替换它们吗?";
}

std::string replaceText() {
    return "替换";
}

std::string cancelText() {
    return "取消";
}

std::string batchHeadline(std::size_t converted, std::size_t failed) {
    return "转换完成: " + std::to_string(converted) + " 个文件成功，" + std::to_string(failed) +
           " 个失败。";
}

std::string savedInText(const std::string &folder, const NameDecoder &decode) {
    return "保存在: " + decode(folder);
}

} // namespace velkaro::wording
