#pragma once

#include "conversion_options.h"
#include "conversion_progress.h"
#include "target_format.h"

#include <optional>
#include <string>

namespace velkaro {

// What a front end hands to one conversion run. Paths and names are the file system's bytes
// (on Windows in the code page of the file APIs), never decoded.
struct ConversionRequest {
    std::string sourcePath;             // empty: nothing chosen yet
    std::string sourceFileName;         // names the output only
    std::optional<TargetFormat> format; // absent: no format chosen
    // Where the output is created. Empty: the process's current directory.
    std::string outputFolder;
    // What the run does beyond the old tool; the default asks for nothing.
    ConversionOptions options;
    // Where the run reports the bytes it has read and learns that it is to stop; not owned.
    // Null: nobody watches.
    ConversionProgress *progress = nullptr;
    // Whether the caller flushes the output's folder itself (syncFolder of the outcome's
    // folderToSync) before it reports the output, once for several outputs put there in a row.
    bool folderSyncLater = false;
};

} // namespace velkaro
