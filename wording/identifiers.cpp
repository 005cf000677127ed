#include "identifiers.h"

#include <array>

namespace velkaro::wording {
namespace {

template <std::size_t N, typename Enum>
[[nodiscard]] std::string_view pick(const std::array<std::string_view, N> &ids, Enum value) {
    const auto index = static_cast<std::size_t>(value);
    return index < N ? ids[index] : std::string_view("unknown");
}

} // namespace

std::string_view outcomeId(ConversionOutcome::Kind kind) {
    static constexpr std::array<std::string_view, 19> kIds = {"no-source",
                                                              "no-format",
                                                              "source-open-failed",
                                                              "converted",
                                                              "output-create-failed",
                                                              "output-write-failed",
                                                              "source-read-failed",
                                                              "output-is-source",
                                                              "duplicate-output",
                                                              "source-changed",
                                                              "out-of-memory",
                                                              "invalid-options",
                                                              "unexpected",
                                                              "cancelled",
                                                              "layout-undecided",
                                                              "gis-unavailable",
                                                              "crs-needed",
                                                              "crs-undecided",
                                                              "outside-crs"};
    return pick(kIds, kind);
}

std::string_view warningId(WarningKind kind) {
    static constexpr std::array<std::string_view, 15> kIds = {"no-points",
                                                              "stopped-at-short-line",
                                                              "stopped-at-zero-byte",
                                                              "stopped-at-end-of-file-byte",
                                                              "zero-bytes-in-lines",
                                                              "not-text",
                                                              "lines-without-coordinates",
                                                              "lines-left-out",
                                                              "long-lines",
                                                              "axes-swapped",
                                                              "height-like-coordinate",
                                                              "unrepresentable-characters",
                                                              "without-crs",
                                                              "texts-shortened",
                                                              "fields-carried-over"};
    return pick(kIds, kind);
}

std::string_view reasonId(FailureReason reason) {
    static constexpr std::array<std::string_view, 14> kIds = {
        "unknown",       "access-denied",  "read-only-file", "read-only-file-system",
        "disk-full",     "quota-exceeded", "name-too-long",  "file-in-use",
        "device-failed", "not-found",      "is-folder",      "not-regular-file",
        "link-loop",     "untrusted-link"};
    return pick(kIds, reason);
}

} // namespace velkaro::wording
