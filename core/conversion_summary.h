#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velkaro {

// The least and greatest of the values that held a number, as the DXF writer reads them.
struct ValueExtent {
    static constexpr std::uint64_t kNoMillionths = UINT64_MAX;

    std::uint64_t numbers = 0; // values that held a number; min and max mean nothing while 0
    double min = 0;
    double max = 0;
    // When not kNoMillionths, min and max are the doubles nearest to these whole numbers of
    // millionths (below 10^15) with the signs they have, so that they can be printed from them.
    std::uint64_t minMillionths = kNoMillionths;
    std::uint64_t maxMillionths = kNoMillionths;
};

// The points written with one code.
struct CodeSummary {
    std::string code; // the record's pointCode, its bytes as in the source
    std::uint64_t points = 0;
    ValueExtent x;
    ValueExtent y;
    ValueExtent z;
};

// How many codes a summary tells apart. A file may hold a distinct code on every line (a NULL
// code becomes the point's name), and a summary must stay small whatever the file: the codes
// after this many distinct ones are counted together.
inline constexpr std::size_t kMaxSummaryCodes = 10000;

// What a conversion read and wrote, for a user who wants to check it at a glance. The lines left
// out and where reading stopped are in the outcome itself.
struct ConversionSummary {
    std::uint64_t linesRead =
        0; // source lines read, up to and including the one reading stopped at
    std::uint64_t linesTaken = 0; // lines (or 255-byte pieces of longer ones) taken as points
    // The first distinct codes (kMaxSummaryCodes at most), in the order each first appeared.
    std::vector<CodeSummary> codes;
    // The points of every code after those, together (code empty); points is 0 when every code
    // is in codes.
    CodeSummary otherCodes;
};

} // namespace velkaro
