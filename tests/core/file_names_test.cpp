#include "file_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct JoinRow {
    std::string folder;
    std::string expected; // folder joined with the name "ptsCass.dat"
};

class JoinPathTest : public ::testing::TestWithParam<JoinRow> {};

TEST_P(JoinPathTest, PutsOneSeparatorBetweenFolderAndName) {
    EXPECT_EQ(velkaro::joinPath(GetParam().folder, "ptsCass.dat"), GetParam().expected);
}

std::vector<JoinRow> joinRows() {
    std::vector<JoinRow> rows = {
        {"", "ptsCass.dat"},
        {"out/", "out/ptsCass.dat"},
    };
#ifdef _WIN32
    rows.push_back({"D:\\data", "D:\\data\\ptsCass.dat"});
    rows.push_back({"D:\\data\\", "D:\\data\\ptsCass.dat"});
    rows.push_back({"out", "out\\ptsCass.dat"});
    rows.push_back({"D:", "D:ptsCass.dat"}); // the drive's current folder
#else
    rows.push_back({"/data", "/data/ptsCass.dat"});
    rows.push_back({"out", "out/ptsCass.dat"});
    // 籠 in GBK ends in the byte of "\", which is no separator here.
    rows.push_back({"\xbb\x5c", "\xbb\x5c/ptsCass.dat"});
    rows.push_back({"D:", "D:/ptsCass.dat"});
#endif
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Rows, JoinPathTest, ::testing::ValuesIn(joinRows()));

} // namespace
