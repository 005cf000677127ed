#include "application_paths.h"

namespace velkaro::dialog {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Where the last extension of the name starting at start begins; kNone when it has none.
[[nodiscard]] std::size_t extensionStart(std::string_view path, std::size_t start) {
    const std::size_t dot = path.rfind('.');
    return dot == kNone || dot < start ? kNone : dot;
}

} // namespace

std::string applicationName(std::string_view executablePath, PathStyle style,
                            const LeadBytePredicate &isLeadByte) {
    const std::size_t start = fileNameStart(executablePath, style, isLeadByte);
    const std::size_t dot = extensionStart(executablePath, start);
    return std::string(executablePath.substr(start, dot == kNone ? kNone : dot - start));
}

std::string helpFilePath(std::string_view executablePath, PathStyle style,
                         const LeadBytePredicate &isLeadByte) {
    const std::size_t start = fileNameStart(executablePath, style, isLeadByte);
    const std::size_t dot = extensionStart(executablePath, start);
    return std::string(executablePath.substr(0, dot)) + ".HLP";
}

std::vector<std::string> manualCandidates(std::string_view executablePath, PathStyle style,
                                          const LeadBytePredicate &isLeadByte) {
    const std::string folder = splitPath(executablePath, style, isLeadByte).folder;
    if (style == PathStyle::Windows) {
        return {folder + "\\manual\\index.html"};
    }
    return {folder + "/../share/doc/velkaro/manual/index.html",
            folder + "/../../docs/manual/index.html"};
}

SourceFile sourceFileFromPath(std::string_view fullPath, PathStyle style,
                              const LeadBytePredicate &isLeadByte) {
    PathParts parts = splitPath(fullPath, style, isLeadByte);
    return SourceFile{std::string(fullPath), std::move(parts.name), std::move(parts.folder)};
}

} // namespace velkaro::dialog
