#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velkaro::dialog {

// How a window's paths separate their folders: "/" alone, or as on Windows "\" and "/", with a
// drive's ":" ending a folder too.
enum class PathStyle { Posix, Windows };

// The style of the paths of the platform this is built for.
#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// Tells whether a byte starts a two-byte character of the window's code page, whose second byte
// may equal "\" (0x5C) without separating anything. Empty: no such characters (UTF-8, bytes).
using LeadBytePredicate = std::function<bool(unsigned char)>;

// The application's name: the executable's file name without its folder and last extension;
// it titles every message box that has no title of its own. "C:\Tools\Velkaro.EXE" → "Velkaro".
[[nodiscard]] std::string applicationName(std::string_view executablePath, PathStyle style,
                                          const LeadBytePredicate &isLeadByte = {});

// The help file F1 asks for: the executable's path with its last extension replaced by ".HLP"
// (".HLP" added when the name has none).
[[nodiscard]] std::string helpFilePath(std::string_view executablePath, PathStyle style,
                                       const LeadBytePredicate &isLeadByte = {});

// What Browse stores of one chosen file.
struct SourceFile {
    std::string path;   // the full path, as chosen
    std::string name;   // after the last separator; names the outputs
    std::string folder; // before it; where the outputs go. Empty: the current folder
    friend bool operator==(const SourceFile &, const SourceFile &) = default;
};

[[nodiscard]] SourceFile sourceFileFromPath(std::string_view fullPath, PathStyle style,
                                            const LeadBytePredicate &isLeadByte = {});

} // namespace velkaro::dialog
