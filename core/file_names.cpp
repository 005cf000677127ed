#include "file_names.h"

namespace velkaro {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

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

struct FormatTraits {
    std::string_view suffix;
    std::string_view extension;
};

[[nodiscard]] FormatTraits traitsOf(TargetFormat format) {
    switch (format) {
    case TargetFormat::Cass:
        return {"Cass", ".dat"};
    case TargetFormat::Kaisi:
        return {"Kaisi", ".txt"};
    case TargetFormat::Cad:
        break;
    case TargetFormat::GeoPackage:
        return {"", ".gpkg"};
    case TargetFormat::Shapefile:
        return {"", ".shp"};
    case TargetFormat::GeoJson:
        return {"", ".geojson"};
    case TargetFormat::Kml:
        return {"", ".kml"};
    }
    return {"CAD", ".dxf"};
}

} // namespace

std::size_t fileNameStart(std::string_view path, PathStyle style,
                          const LeadBytePredicate &isLeadByte) {
    const std::size_t separator = lastSeparator(path, style, isLeadByte);
    return separator == kNone ? 0 : separator + 1;
}

PathParts splitPath(std::string_view path, PathStyle style, const LeadBytePredicate &isLeadByte) {
    const std::size_t separator = lastSeparator(path, style, isLeadByte);
    if (separator == kNone) {
        return {{}, std::string(path)};
    }
    const bool root = separator == 0 || path[separator] == ':' ||
                      (style == PathStyle::Windows && path[separator - 1] == ':');
    return {std::string(path.substr(0, root ? separator + 1 : separator)),
            std::string(path.substr(separator + 1))};
}

std::string joinPath(const std::string &folder, const std::string &name) {
    if (folder.empty()) {
        return name;
    }
    const char last = folder.back();
    if (kNativePathStyle == PathStyle::Windows) {
        // Windows paths read back with the system's own separator; "D:" names the drive's
        // current folder, so nothing may come between it and the name.
        const bool ended = last == '/' || last == '\\' || last == ':';
        return ended ? folder + name : folder + '\\' + name;
    }
    return last == '/' ? folder + name : folder + '/' + name;
}

std::string makeOutputFileName(std::string_view sourceFileName, TargetFormat format) {
    const std::size_t start = sourceFileName.find_first_not_of('.');
    std::string_view stem;
    if (start != kNone) {
        stem = sourceFileName.substr(start, sourceFileName.find('.', start) - start);
    }
    const FormatTraits traits = traitsOf(format);
    std::string name;
    name.reserve(stem.size() + traits.suffix.size() + traits.extension.size());
    name.append(stem).append(traits.suffix).append(traits.extension);
    return name;
}

} // namespace velkaro
