#include "chosen_names.h"

#include "unrepresentable_name.h"

namespace velkaro::dialog {
namespace {

[[nodiscard]] std::string notFilesText(const std::vector<std::string> &names) {
    std::string text = "下列不是文件 (例如文件夹)，没有选择:";
    for (const std::string &name : names) {
        text += "\n" + name;
    }
    return text + "\n请选择或拖入要转换的文件本身。";
}

[[nodiscard]] std::string refusedText(const ChosenNames &names) {
    return (names.trouble == NameTrouble::CodePage ? unrepresentableNamesMessage(names.refused)
                                                   : undecodableNamesMessage(names.refused))
        .text;
}

} // namespace

std::optional<Message> chooseNames(const ChosenNames &names, SourceSelection &selection,
                                   PathStyle style, const LeadBytePredicate &isLeadByte) {
    selection.choose(names.coreNames, style, isLeadByte);
    if (names.refused.empty() && names.notFiles.empty()) {
        return std::nullopt;
    }
    std::string text = names.refused.empty() ? std::string() : refusedText(names);
    if (!names.notFiles.empty()) {
        text += (text.empty() ? "" : "\n\n") + notFilesText(names.notFiles);
    }
    return Message{text, std::string(), MessageIcon::Exclamation};
}

} // namespace velkaro::dialog
