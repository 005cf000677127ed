#pragma once

#include "file_names.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::dialog {

// The windows cut paths by the core's one rule.
using velkaro::kNativePathStyle;
using velkaro::LeadBytePredicate;
using velkaro::PathStyle;

// The application's name: the executable's file name without its folder and last extension;
// it titles every message box that has no title of its own. "C:\Tools\Velkaro.EXE" → "Velkaro".
[[nodiscard]] std::string applicationName(std::string_view executablePath, PathStyle style,
                                          const LeadBytePredicate &isLeadByte = {});

// The help file F1 asks for: the executable's path with its last extension replaced by ".HLP"
// (".HLP" added when the name has none).
[[nodiscard]] std::string helpFilePath(std::string_view executablePath, PathStyle style,
                                       const LeadBytePredicate &isLeadByte = {});

// Where F1 looks for the user's manual (an HTML page), in order: on Windows "manual\index.html"
// beside the executable; elsewhere the installed documentation ("../share/doc/velkaro/manual/"
// from the executable's folder) and then the source tree's "docs/manual/" (for a build run where
// it was built). The window opens the first that exists; with none, F1 says it could not help.
[[nodiscard]] std::vector<std::string> manualCandidates(std::string_view executablePath,
                                                        PathStyle style,
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
