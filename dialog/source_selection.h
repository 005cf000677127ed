#pragma once

#include "application_paths.h"
#include "message.h"

#include <string>
#include <vector>

namespace velkaro::dialog {

// What Browse, or a drop, has chosen: one file or several. Kept until the next choice; a
// conversion changes nothing here.
class SourceSelection {
  public:
    // Takes the chosen full paths in the order given. An empty list (the user cancelled)
    // changes nothing.
    void choose(const std::vector<std::string> &fullPaths, PathStyle style,
                const LeadBytePredicate &isLeadByte = {});

    [[nodiscard]] const std::vector<SourceFile> &files() const { return m_files; }
    // The first file's full path and name part; empty before the first choice.
    [[nodiscard]] const std::string &sourcePath() const;
    [[nodiscard]] const std::string &sourceName() const;

    // The file-name display: the name, or for several files the first name and their number.
    [[nodiscard]] std::string displayText(const NameDecoder &decode) const;
    // The display's tool tip: every full path, one per line.
    [[nodiscard]] std::string toolTipText(const NameDecoder &decode) const;

  private:
    std::vector<SourceFile> m_files;
};

} // namespace velkaro::dialog
