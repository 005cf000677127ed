#pragma once

#include "conversion_options.h"
#include "layout_detection.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// One point of a preview, its values as the outputs would get them.
struct PreviewPoint {
    std::string name;
    std::string code;
    std::string x;
    std::string y;
    std::string z;
    friend bool operator==(const PreviewPoint &, const PreviewPoint &) = default;
};

// The first points of a source as a run with these options would read them, so that a user sees
// before converting how each column is taken. head: the first bytes of the source.
struct SourcePreview {
    std::vector<PreviewPoint> points;
    std::optional<SourceLayout> layout; // how the lines were read; nullopt: the old tool's way
    SourceEncoding encoding = SourceEncoding::Bytes;
    DetectionFailure failure = DetectionFailure::None; // auto decided nothing: no points
    bool oldLayoutFound = false;                       // auto found the old tool's layout
};

[[nodiscard]] SourcePreview previewSource(std::string_view head, const ConversionOptions &options,
                                          std::size_t maxPoints);

} // namespace velkaro
