#include "line_cutter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// What the old tool did: strtok over the line, fields 2 to 6 to the members, "NULL" takes the
// name, members not in the line keep their values.
void cutByStrtok(std::string line, std::array<std::string, 5> &members) {
    int position = 0;
    for (char *field = std::strtok(line.data(), ",\t\n"); field != nullptr && position <= 6;
         field = std::strtok(nullptr, ",\t\n"), ++position) {
        if (position == 3 && std::strcmp(field, "NULL") == 0) {
            members[1] = members[0];
        } else if (position >= 2) {
            members[static_cast<std::size_t>(position - 2)] = field;
        }
    }
}

// Lines of up to 254 bytes of fields, runs of delimiters and a few "NULL" codes.
std::string randomText(std::mt19937_64 &random) {
    static constexpr std::array<const char *, 8> kPieces = {"NULL", ",",    "\t", ",,",
                                                            "12.5", "P\r1", "-0", "\t,\t"};
    std::string text;
    const std::size_t length = random() % 255;
    while (text.size() < length) {
        text += random() % 3 == 0 ? std::string(1, static_cast<char>('A' + random() % 26))
                                  : kPieces[random() % kPieces.size()];
    }
    text.resize(length);
    return text;
}

TEST(LineCutter, CutsAsStrtokAndKeepsValuesTheReaderNoLongerHolds) {
    std::mt19937_64 random(20261208);
    velkaro::LineCutter cutter;
    std::array<std::string, 5> expected;
    std::vector<std::string> buffers(3);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = randomText(random);
        std::string &buffer = buffers[static_cast<std::size_t>(i) % buffers.size()];
        buffer = text + std::string(velkaro::kLineScanSlack, ',');
        cutter.apply(velkaro::SourceLine{std::string_view(buffer.data(), text.size()), true});
        // The line before the one before is gone, as the reader's promise allows.
        std::string &old = buffers[static_cast<std::size_t>(i + 1) % buffers.size()];
        old.assign(old.size(), '#');
        cutByStrtok(text, expected);
        const velkaro::PointRecord &record = cutter.record();
        ASSERT_EQ(record.pointName, expected[0]) << text;
        ASSERT_EQ(record.pointCode, expected[1]) << text;
        ASSERT_EQ(record.x, expected[2]) << text;
        ASSERT_EQ(record.y, expected[3]) << text;
        ASSERT_EQ(record.z, expected[4]) << text;
    }
}

} // namespace
