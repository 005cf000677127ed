#pragma once

#include "conversion_plan.h"
#include "dialog_host.h"
#include "message.h"
#include "source_selection.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaro::dialog {

// Everything the Convert button does, for every window alike: the core's checks, the core's
// plan of the whole run (no output may replace a source of the run or another output of it),
// one question before any existing output is replaced, the conversion of each chosen file into
// its own folder (the process's current directory is never used or changed), and one box at
// the end.
class ConvertCommand {
  public:
    ConvertCommand(DialogHost &host, NameDecoder decode);

    // format: what selectedFormat gave; absent when no format counts.
    void run(const SourceSelection &selection, std::optional<TargetFormat> format);

  private:
    void convert(const SourceSelection &selection, std::optional<TargetFormat> format);
    // True when nothing is in the way, or the user agreed to replace what is.
    [[nodiscard]] bool mayReplaceExistingOutputs(const std::vector<PlannedConversion> &plan);

    DialogHost &m_host;
    NameDecoder m_decode;
};

// The question asked before existing outputs are replaced; names every one of them.
[[nodiscard]] Question replaceQuestion(const std::vector<std::string> &existingOutputNames,
                                       const NameDecoder &decode);

} // namespace velkaro::dialog
