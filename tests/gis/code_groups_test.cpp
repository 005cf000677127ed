#include "code_groups.h"
#include "scratch_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using velkaro::gis::CodeGroups;

// Every group's bytes as writeTo gives them back, in the groups' order.
[[nodiscard]] std::vector<std::string> groupBytes(CodeGroups &groups) {
    std::vector<std::string> all;
    for (std::size_t group = 0; group < groups.size(); ++group) {
        std::FILE *file = velkaro::gis::openScratchFile();
        velkaro::OutputStream out(file);
        EXPECT_TRUE(groups.writeTo(group, out));
        out.flush();
        std::string bytes(static_cast<std::size_t>(std::ftell(file)), '\0');
        std::rewind(file);
        EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
        std::fclose(file);
        all.push_back(bytes);
    }
    return all;
}

// A budget of 5 bytes sends the held bytes to the scratch file every second append, so that
// each group's bytes come back from a chain of chunks, then from memory.
TEST(CodeGroups, CodesAfterTheLimitGoTogetherIntoTheLastGroup) {
    CodeGroups groups(5, 2);
    const char *const appends[][2] = {{"A", "a1"}, {"B", "b1"}, {"C", "c1"}, {"A", "a2"},
                                      {"D", "d1"}, {"B", "b2"}, {"C", "c2"}, {"A", "a3"}};
    for (const auto &[code, bytes] : appends) {
        groups.append(code, bytes);
    }
    ASSERT_TRUE(groups.ok());
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups.code(0), "A");
    EXPECT_EQ(groups.code(1), "B");
    EXPECT_FALSE(groups.holdsOtherCodes(1));
    EXPECT_TRUE(groups.holdsOtherCodes(2));
    EXPECT_EQ(groupBytes(groups), (std::vector<std::string>{"a1a2a3", "b1b2", "c1d1c2"}));
}

TEST(CodeGroups, UnderTheLimitNoGroupHoldsOtherCodes) {
    CodeGroups groups(1, 3);
    for (const char *code : {"X", "Y", "X", "Z"}) {
        groups.append(code, code);
    }
    ASSERT_EQ(groups.size(), 3u);
    for (std::size_t group = 0; group < 3; ++group) {
        EXPECT_FALSE(groups.holdsOtherCodes(group));
    }
    EXPECT_EQ(groupBytes(groups), (std::vector<std::string>{"XX", "Y", "Z"}));
}

} // namespace
