#include "source_stream.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <random>
#include <string>

namespace {

// Files of short and long lines with LF, CR LF, lone CRs, now and then a zero byte and, rarely,
// a 0x1A, so that lines also straddle the 64 KiB reads.
std::string randomSource(std::mt19937_64 &random) {
    static constexpr std::array<char, 8> kBytes = {'a', ',', '\t', '7', '\r', '\n', '.', '-'};
    std::string source;
    const std::size_t size = 100000 + random() % 150000;
    while (source.size() < size) {
        const std::size_t length = random() % 4 == 0 ? random() % 600 : random() % 80;
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint64_t pick = random() % 4000;
            source += pick == 0 ? '\0' : pick == 1 && random() % 8 == 0 ? '\x1a' : kBytes[pick % 8];
        }
        source += random() % 2 ? "\r\n" : "\n";
    }
    return source;
}

// The line as readLine stores it: up to a zero byte, the final line feed apart.
velkaro::SourceLine storedLine(const std::string &stored) {
    const std::size_t zero = stored.find('\0');
    if (zero != std::string::npos) {
        return {std::string_view(stored).substr(0, zero), false};
    }
    const bool lineFeed = !stored.empty() && stored.back() == '\n';
    return {std::string_view(stored).substr(0, stored.size() - (lineFeed ? 1 : 0)), lineFeed};
}

TEST(SourceStream, LinesInPlaceEqualTheCopiedOnesAndOutliveTheNextRead) {
    std::mt19937_64 random(7);
    const velkaro::test::TempDir dir;
    const std::string path = dir.file("source.txt");
    for (int round = 0; round < 12; ++round) {
        velkaro::test::writeBytes(path, randomSource(random));
        velkaro::SourceStream inPlace(path);
        velkaro::SourceStream copied(path);
        velkaro::SourceLine line;
        velkaro::SourceLine before;
        std::string beforeCopy;
        char stored[256];
        std::size_t lines = 0;
        while (inPlace.nextLine(line)) {
            ASSERT_EQ(before.text, beforeCopy) << "the line before changed, line " << lines;
            const std::string expected(stored, copied.readLine(stored, 255));
            const velkaro::SourceLine expectedLine = storedLine(expected);
            ASSERT_EQ(line.text, expectedLine.text) << "line " << lines;
            ASSERT_EQ(line.lineFeed, expectedLine.lineFeed) << "line " << lines;
            ASSERT_EQ(inPlace.lineFeedsRead(), copied.lineFeedsRead());
            before = line;
            beforeCopy.assign(line.text);
            ++lines;
        }
        EXPECT_EQ(copied.readLine(stored, 255), 0u);
        EXPECT_EQ(inPlace.eof(), copied.eof());
        EXPECT_EQ(inPlace.countContentLinesLeft(), copied.countContentLinesLeft());
        EXPECT_GT(lines, 0u);
    }
}

} // namespace
