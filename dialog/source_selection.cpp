#include "source_selection.h"

namespace velkaro::dialog {
namespace {
const std::string kEmpty;
} // namespace

void SourceSelection::choose(const std::vector<std::string> &fullPaths, PathStyle style,
                             const LeadBytePredicate &isLeadByte) {
    if (fullPaths.empty()) {
        return;
    }
    std::vector<SourceFile> files;
    files.reserve(fullPaths.size());
    for (const std::string &path : fullPaths) {
        files.push_back(sourceFileFromPath(path, style, isLeadByte));
    }
    m_files = std::move(files);
}

const std::string &SourceSelection::sourcePath() const {
    return m_files.empty() ? kEmpty : m_files.front().path;
}

const std::string &SourceSelection::sourceName() const {
    return m_files.empty() ? kEmpty : m_files.front().name;
}

std::string SourceSelection::displayText(const NameDecoder &decode) const {
    if (m_files.size() <= 1) {
        return decode(sourceName());
    }
    return decode(sourceName()) + " 等 " + std::to_string(m_files.size()) + " 个文件";
}

std::string SourceSelection::toolTipText(const NameDecoder &decode) const {
    std::string text;
    for (const SourceFile &file : m_files) {
        text += (text.empty() ? "" : "\n") + decode(file.path);
    }
    return text;
}

} // namespace velkaro::dialog
