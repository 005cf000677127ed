#pragma once

#include "message.h"
#include "question_text.h"

#include <string>
#include <vector>

namespace velkaro::dialog {

using wording::BatchResult;

// How a row of the result ended.
enum class RowState { Converted, Warned, Failed };

// One source of a run, as the result dialog shows it.
struct ResultRow {
    std::string source; // the source's name, for display
    std::string output; // the output's full path, for display; empty when none was written
    std::string points; // "40 点"; empty for a failure
    std::vector<std::string> notes; // the warnings, or the failure's sentence and reason lines
    RowState state = RowState::Converted;
    // A converted GIS output's grid, "坐标系: EPSG:4527 ..." (see wording::crsText); empty
    // otherwise.
    std::string crs;
    friend bool operator==(const ResultRow &, const ResultRow &) = default;
};

// Everything the result dialog shows: the headline, a row per source, and the folder that
// 打开文件夹 opens (the first output's; empty when nothing was written).
struct ResultReport {
    std::string headline;
    std::vector<ResultRow> rows;
    std::string folderToOpen; // a core name
    bool troubled = false;    // any warning or failure: the dialog shows the warning icon
    // With the summary option, for each converted source: its name and a colon, then indented
    // by two spaces a line about the lines read and taken and one per code with its points
    // ("  编码 KZD: 12 点"), the codes in the order they first appeared.
    std::vector<std::string> summary;
};

// Whether the run is worth the result dialog: several files, or any warning or failure. One
// file with nothing to report keeps the old tool's message box.
[[nodiscard]] bool needsResultDialog(const std::vector<BatchResult> &results);

[[nodiscard]] ResultReport resultReport(const std::vector<BatchResult> &results,
                                        const NameDecoder &decode);

} // namespace velkaro::dialog
