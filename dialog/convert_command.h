#pragma once

#include "conversion_plan.h"
#include "dialog_host.h"
#include "message.h"
#include "source_selection.h"
#include "window_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaro::dialog {

// Everything the Convert button does, for every window alike: the core's checks, the core's plan
// of the whole run (no output may replace a source of the run or another output of it), outputs
// that could not be replaced refused at once with their reason, one question before any other
// existing output is replaced, the conversions off the window's thread with progress and a way
// to cancel, and the result: the old tool's box for one file with nothing to report, the result
// dialog for anything else. The process's current directory is never used or changed.
class ConvertCommand {
  public:
    ConvertCommand(DialogHost &host, NameDecoder decode);

    // format: what selectedFormat gave; absent when no format counts. settings: the options and
    // where the outputs go.
    void run(const SourceSelection &selection, std::optional<TargetFormat> format,
             const WindowSettings &settings = {});

  private:
    void convert(const SourceSelection &selection, std::optional<TargetFormat> format,
                 const WindowSettings &settings);
    // Refuses the conversions whose existing output cannot be replaced; true when nothing else
    // is in the way, or the user agreed to replace what is.
    [[nodiscard]] bool mayReplaceExistingOutputs(std::vector<PlannedConversion> &plan);
    [[nodiscard]] std::vector<BatchResult> runAll(const std::vector<PlannedConversion> &plan);
    void showOutcome(const std::vector<BatchResult> &results);

    DialogHost &m_host;
    NameDecoder m_decode;
};

// The question asked before existing outputs are replaced.
[[nodiscard]] Question replaceQuestion(const std::vector<wording::ExistingName> &existing,
                                       const NameDecoder &decode);

} // namespace velkaro::dialog
