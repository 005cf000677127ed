// Finding a source's layout from its first lines: header words, value shapes, separators,
// encodings, and the files it must refuse rather than guess.

#include "layout_detection.h"
#include "layout_fields.h"
#include "point_preview.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using velkaro::DetectionFailure;
using velkaro::FieldSeparator;
using velkaro::SourceEncoding;
using Role = velkaro::FieldRole;

struct DetectionRow {
    const char *name;
    std::string head;
    std::string roles; // as the option writes them; empty when nothing is decided
    FieldSeparator separator = FieldSeparator::CommaOrTab;
    bool header = false;
    SourceEncoding encoding = SourceEncoding::Bytes;
    DetectionFailure failure = DetectionFailure::None;
};

class DetectionTest : public ::testing::TestWithParam<DetectionRow> {};

TEST_P(DetectionTest, FindsTheLayoutOrRefuses) {
    const DetectionRow &row = GetParam();
    const velkaro::LayoutDetection found = velkaro::detectLayout(row.head);
    EXPECT_EQ(found.failure, row.failure);
    EXPECT_EQ(found.encoding, row.encoding);
    ASSERT_EQ(found.layout.has_value(), !row.roles.empty());
    if (found.layout) {
        EXPECT_EQ(velkaro::rolesText(found.layout->roles), row.roles);
        EXPECT_EQ(found.layout->separator, row.separator);
        EXPECT_EQ(found.layout->headerRow, row.header);
    }
}

const std::string kRtk = "1,2,P1,KZD,3515102.9358,516181.7499,42.7988\r\n"
                         "1,2,P2,NULL,3515153.2790,516519.7514,39.6360\r\n";
const std::string kGbkHeader = "\xb5\xe3\xc3\xfb,\xb1\xe0\xc2\xeb,X,Y,H\r\n"; // 点名,编码 in GBK

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectionTest,
    ::testing::Values(
        DetectionRow{"RtkByValues", kRtk, "-,-,name,code,x,y,z"},
        DetectionRow{"ChineseHeaderUtf8", "点名,编码,N,E,H\n控制点5,,3515153.279,516519.751,39.6\n",
                     "name,code,x,y,z", FieldSeparator::CommaOrTab, true, SourceEncoding::Utf8},
        DetectionRow{"ChineseHeaderGbk", kGbkHeader + "P1,K,3515102.9,516181.7,42.8\r\n",
                     "name,code,x,y,z", FieldSeparator::CommaOrTab, true},
        DetectionRow{"EnglishHeaderEastFirst", "Pt,E,N,Z,Code\n1,516181.7,3515102.9,42.8,KZD\n",
                     "name,y,x,z,code", FieldSeparator::CommaOrTab, true},
        DetectionRow{"ByteOrderMarkAndSemicolons",
                     "\xEF\xBB\xBFName;Northing;Easting;Elevation\nA;3515102.9;516181.7;42.8\n",
                     "name,x,y,z", FieldSeparator::Semicolon, true, SourceEncoding::Utf8},
        DetectionRow{"CassDatWithEmptyCodes",
                     "P1,,516181.7499,3515102.9358,42.7988\nP2,K,516519.7514,3515153.279,39.6\n",
                     "name,code,y,x,z"},
        DetectionRow{"SpacesAndAMissingCode",
                     "P1  3515102.9 516181.7 42.8 KZD\nP2 3515153.2 516519.7 39.6\n"
                     "P3 3515154.2 516520.7 39.7 KZD\n",
                     "name,x,y,z,code", FieldSeparator::Spaces},
        DetectionRow{"ZoneNumberInFront",
                     "A,3515102.9,39516181.7,42.8\nB,3515103.9,39516182.7,43\n", "name,x,y,z"},
        DetectionRow{"NothingButBlanks", " \r\n\t\n", "", FieldSeparator::CommaOrTab, false,
                     SourceEncoding::Bytes, DetectionFailure::NoLines},
        DetectionRow{"NoSeparator", "one point\nanother point\n", "", FieldSeparator::CommaOrTab,
                     false, SourceEncoding::Bytes, DetectionFailure::NoSeparator},
        DetectionRow{"LocalGridIsNotGuessed", "P1,100.5,200.5,3\nP2,101.5,201.5,4\n", "",
                     FieldSeparator::CommaOrTab, false, SourceEncoding::Bytes,
                     DetectionFailure::NoCoordinates},
        DetectionRow{"TwoNorthingColumns", "P1,3515102.9,3515103.9,516181.7,1\n", "",
                     FieldSeparator::CommaOrTab, false, SourceEncoding::Bytes,
                     DetectionFailure::Ambiguous}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SourceLayout, RolesPresetsAndFields) {
    EXPECT_EQ(velkaro::rolesText(*velkaro::parseRoles("-,-,name,code,x,y,z")),
              "-,-,name,code,x,y,z");
    for (const char *bad : {"name,code", "x,y,x", "name,x,y,height", "", "x,,y"}) {
        EXPECT_FALSE(velkaro::parseRoles(bad)) << bad;
    }
    EXPECT_EQ(velkaro::rolesText(*velkaro::presetRoles("cass")), "name,code,y,x,z");
    EXPECT_EQ(velkaro::rolesText(*velkaro::presetRoles("penzd")), "name,y,x,z,code");
    EXPECT_FALSE(velkaro::presetRoles("rtk"));
    using Fields = std::vector<std::string_view>;
    EXPECT_EQ(velkaro::cutByLayout("a,,b\t c ,", FieldSeparator::CommaOrTab),
              (Fields{"a", "", "b", "c", ""}));
    EXPECT_EQ(velkaro::cutByLayout("  a   b\tc  ", FieldSeparator::Spaces),
              (Fields{"a", "b", "c"}));
    EXPECT_EQ(velkaro::cutByLayout("a;b,c", FieldSeparator::Semicolon), (Fields{"a", "b,c"}));
}

// The preview shows the first points as the run would read them: the old reading (which stops at
// a short line), a given layout, and auto, which skips the header row it found.
TEST(SourcePreview, ShowsThePointsAsTheRunReadsThem) {
    using velkaro::PreviewPoint;
    velkaro::ConversionOptions options;
    EXPECT_EQ(velkaro::previewSource(kRtk + "short\n" + kRtk, options, 10).points,
              (std::vector<PreviewPoint>{{"P1", "KZD", "3515102.9358", "516181.7499", "42.7988"},
                                         {"P2", "P2", "3515153.2790", "516519.7514", "39.6360"}}));
    options.sourceReading.mode = velkaro::SourceReading::Mode::Auto;
    const velkaro::SourcePreview found =
        velkaro::previewSource("Pt,E,N,Z,Code\r\n\r\nA,516181.7,3515102.9,42.8,\r\n", options, 10);
    ASSERT_TRUE(found.layout);
    EXPECT_EQ(found.points,
              (std::vector<PreviewPoint>{{"A", "A", "3515102.9", "516181.7", "42.8"}}));
    EXPECT_EQ(velkaro::previewSource("1,2\n", options, 10).failure, DetectionFailure::NoSeparator);
}

} // namespace
