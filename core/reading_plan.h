#pragma once

#include "layout_detection.h"

#include <optional>
#include <string_view>

namespace velkaro {

// How the lines of a run are read, decided before the first is: the old tool's way (no layout)
// or a layout given or found, the encoding of names and codes, and why auto found nothing.
struct ReadingPlan {
    std::optional<SourceLayout> layout; // nullopt: the old tool's reading
    SourceEncoding encoding = SourceEncoding::Bytes;
    DetectionFailure failure = DetectionFailure::None;
    bool oldLayoutFound = false; // auto found the old tool's layout, so it is read that way
};

// Whether planReading looks at the source's first bytes: the old tool's reading never does, so
// that a run without options reads its source once, as ever.
[[nodiscard]] bool needsHead(const SourceReading &reading);

// The plan for reading a source whose first bytes are head (unused unless needsHead). The old
// reading takes the encoding given. A layout given keeps its roles and takes the separator auto
// would find in head's lines (commas or tabs where they cut them, else semicolons, else runs of
// spaces; commas and tabs when none does); a UTF-8 byte-order mark makes it UTF-8 unless an
// encoding was given. Auto takes what detectLayout finds, the encoding given before the one
// found.
[[nodiscard]] ReadingPlan planReading(const SourceReading &reading, std::string_view head);

} // namespace velkaro
