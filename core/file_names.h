#pragma once

#include "target_format.h"

#include <functional>
#include <string>
#include <string_view>

namespace velkaro {

// How a path separates its folders: "/" alone, or as on Windows "\" and "/", with a drive's ":"
// ending a folder too.
enum class PathStyle { Posix, Windows };

// The style of the paths of the platform this is built for.
#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// Tells whether a byte starts a two-byte character of the path's code page, whose second byte
// may equal "\" (0x5C) without separating anything. Empty: no such characters (UTF-8, bytes).
using LeadBytePredicate = std::function<bool(unsigned char)>;

// Where the file name of path begins: after its last separator, walking by characters so that
// the second byte of a two-byte character is never taken for one; 0 when it has none.
[[nodiscard]] std::size_t fileNameStart(std::string_view path, PathStyle style,
                                        const LeadBytePredicate &isLeadByte = {});

// A path cut into the folder the outputs go to and the name that names them.
struct PathParts {
    std::string folder; // before the last separator; empty: the current folder
    std::string name;   // after it
    friend bool operator==(const PathParts &, const PathParts &) = default;
};

// A root ("/", "C:\") or a drive ("C:") keeps its separator in the folder, since without it the
// folder would be another one ("" the current folder, "C:" the drive's current folder).
[[nodiscard]] PathParts splitPath(std::string_view path, PathStyle style,
                                  const LeadBytePredicate &isLeadByte = {});

// folder + name, with one separator between them; just name when folder is empty. On Windows the
// separator is a backslash and a folder ending in "/", "\" or a drive's ":" needs none; elsewhere
// only "/" separates ("\" may end a GBK character in a folder's name).
[[nodiscard]] std::string joinPath(const std::string &folder, const std::string &name);

// The stem (first run of bytes without '.', after leading dots), the format's suffix and its
// extension: pts.txt gives ptsCass.dat, ptsKaisi.txt, ptsCAD.dxf, and the GIS formats' own
// extension alone (pts.gpkg, pts.shp, pts.geojson, pts.kml). Never fails.
[[nodiscard]] std::string makeOutputFileName(std::string_view sourceFileName, TargetFormat format);

} // namespace velkaro
