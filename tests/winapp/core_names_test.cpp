// The Windows window's own rules, run under wine once with code page 1252 and once with 936:
// which names reach the core unchanged and which are refused, and how the file dialog's answer
// is read.

#include "COpenFileDialog.h"
#include "core_names.h"
#include "wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using velkaro::winapp::coreNameToUtf8;
using velkaro::winapp::toCoreName;
using velkaro::winapp::toUtf8;

struct NameRow {
    const wchar_t *path;
    bool on936;
    bool on1252;
};

// The fullwidth letter is the trap: Western best fit would turn it into a plain "a" and so name
// another file.
const NameRow kNames[] = {
    {L"C:\\data\\pts.txt", true, true},
    {L"C:\\测量\\测量点.txt", true, false},
    {L"C:\\data\\café.txt", true, true},
    {L"C:\\data\\\xFF41.txt", true, false},
    {L"C:\\data\\pts\U0001F600.txt", false, false},
    {L"D:\\淺\\x.txt", true, false}, // 淺: its second GBK byte is 0x5C, a "\\" elsewhere
};

TEST(CoreNames, ExactInTheCodePageOrRefused) {
    const UINT codePage = GetACP();
    ASSERT_TRUE(codePage == 936 || codePage == 1252) << "code page " << codePage;
    for (const NameRow &row : kNames) {
        const std::string utf8 = toUtf8(row.path);
        const std::optional<std::string> core = toCoreName(row.path);
        ASSERT_EQ(core.has_value(), codePage == 936 ? row.on936 : row.on1252) << utf8;
        if (core) {
            EXPECT_EQ(coreNameToUtf8(*core), utf8);
        }
    }
}

TEST(CoreNames, ChineseNameIsGbkOnChineseSystem) {
    if (GetACP() != 936) {
        GTEST_SKIP() << "code page " << GetACP();
    }
    EXPECT_EQ(toCoreName(L"测量点.txt"), std::string("\xB2\xE2\xC1\xBF\xB5\xE3.txt"));
}

TEST(OpenFileDialog, SplitsOneOrSeveralFiles) {
    using Paths = std::vector<std::wstring>;
    EXPECT_EQ(COpenFileDialog::SplitSelection(std::wstring(L"C:\\d\\a.txt\0\0", 12)),
              Paths{L"C:\\d\\a.txt"});
    EXPECT_EQ(COpenFileDialog::SplitSelection(std::wstring(L"C:\\d\0a.txt\0b.txt\0\0", 19)),
              (Paths{L"C:\\d\\a.txt", L"C:\\d\\b.txt"}));
    EXPECT_EQ(COpenFileDialog::SplitSelection(std::wstring(L"C:\\\0a.txt\0b.txt\0\0", 18)),
              (Paths{L"C:\\a.txt", L"C:\\b.txt"}));
    EXPECT_TRUE(COpenFileDialog::SplitSelection(std::wstring(L"\0\0", 2)).empty());
}

} // namespace
