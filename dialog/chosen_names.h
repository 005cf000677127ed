#pragma once

#include "application_paths.h"
#include "message.h"
#include "source_selection.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaro::dialog {

// Why a window cannot hand a file's name to the core; it decides what the box advises.
enum class NameTrouble {
    CodePage, // Windows: the system's code page cannot hold a character of the path
    Encoding, // Linux: the name's bytes are not in the encoding the toolkit expects
};

// The items of one drop or one choice of the chooser, sorted by the window, each list in the
// order given.
struct ChosenNames {
    std::vector<std::string> coreNames; // files the core can be handed, as it takes them
    std::vector<std::string> refused;   // files whose names it cannot be handed, for display
    NameTrouble trouble = NameTrouble::CodePage; // what is wrong with the refused names
    std::vector<std::string> notFiles; // folders and whatever else is no file, for display

    [[nodiscard]] bool empty() const {
        return coreNames.empty() && refused.empty() && notFiles.empty();
    }
};

// What both windows do with them: the files the core can take replace the earlier choice, which
// stays when there are none; everything else is named in one box, which says what to do. Returns
// that box, for the window to show once it shows the new choice; nullopt when all was taken.
[[nodiscard]] std::optional<Message> chooseNames(const ChosenNames &names,
                                                 SourceSelection &selection, PathStyle style,
                                                 const LeadBytePredicate &isLeadByte = {});

} // namespace velkaro::dialog
