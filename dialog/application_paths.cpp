#include "application_paths.h"

namespace velkaro::dialog {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The position of the last separator, walking by characters so that the second byte of a
// two-byte character is never taken for one.
[[nodiscard]] std::size_t lastSeparator(std::string_view path, PathStyle style,
                                        const LeadBytePredicate &isLeadByte) {
    std::size_t last = kNone;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '/' || (style == PathStyle::Windows && (c == '\\' || c == ':'))) {
            last = i;
        } else if (isLeadByte && isLeadByte(static_cast<unsigned char>(c))) {
            ++i;
        }
    }
    return last;
}

[[nodiscard]] std::size_t nameStart(std::string_view path, PathStyle style,
                                    const LeadBytePredicate &isLeadByte) {
    const std::size_t separator = lastSeparator(path, style, isLeadByte);
    return separator == kNone ? 0 : separator + 1;
}

// Where the last extension of the name starting at start begins; kNone when it has none.
[[nodiscard]] std::size_t extensionStart(std::string_view path, std::size_t start) {
    const std::size_t dot = path.rfind('.');
    return dot == kNone || dot < start ? kNone : dot;
}

} // namespace

std::string applicationName(std::string_view executablePath, PathStyle style,
                            const LeadBytePredicate &isLeadByte) {
    const std::size_t start = nameStart(executablePath, style, isLeadByte);
    const std::size_t dot = extensionStart(executablePath, start);
    return std::string(executablePath.substr(start, dot == kNone ? kNone : dot - start));
}

std::string helpFilePath(std::string_view executablePath, PathStyle style,
                         const LeadBytePredicate &isLeadByte) {
    const std::size_t start = nameStart(executablePath, style, isLeadByte);
    const std::size_t dot = extensionStart(executablePath, start);
    return std::string(executablePath.substr(0, dot)) + ".HLP";
}

SourceFile sourceFileFromPath(std::string_view fullPath, PathStyle style,
                              const LeadBytePredicate &isLeadByte) {
    const std::size_t separator = lastSeparator(fullPath, style, isLeadByte);
    SourceFile file{std::string(fullPath), std::string(fullPath), {}};
    if (separator == kNone) {
        return file;
    }
    file.name = fullPath.substr(separator + 1);
    // A root ("/", "C:\") or a drive ("C:") keeps its separator: without it the folder would be
    // another one ("" the current folder, "C:" the drive's current folder).
    const bool root = separator == 0 || fullPath[separator] == ':' ||
                      (style == PathStyle::Windows && fullPath[separator - 1] == ':');
    file.folder = fullPath.substr(0, root ? separator + 1 : separator);
    return file;
}

} // namespace velkaro::dialog
