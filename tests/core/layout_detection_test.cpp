// Finding a source's layout from its first lines: header words, value shapes, separators,
// encodings, and the files it must refuse rather than guess.

#include "layout_detection.h"
#include "layout_fields.h"
#include "point_preview.h"
#include "reading_plan.h"

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
    std::string roles; // as the option writes them, "rtk" for the old reading; empty: refused
    FieldSeparator separator = FieldSeparator::CommaOrTab;
    bool header = false;
    SourceEncoding encoding = SourceEncoding::Bytes;
    DetectionFailure failure = DetectionFailure::None;
    std::string given = "auto"; // the --source-layout asked for: auto, rtk or a preset
    std::optional<SourceEncoding> encodingGiven = std::nullopt;
};

[[nodiscard]] velkaro::SourceReading readingOf(const DetectionRow &row) {
    using enum velkaro::SourceReading::Mode;
    velkaro::SourceReading reading{row.given == "auto"  ? Auto
                                   : row.given == "rtk" ? Rtk
                                                        : Layout,
                                   {},
                                   row.encodingGiven};
    reading.layout.roles = velkaro::presetRoles(row.given).value_or(reading.layout.roles);
    return reading;
}

class DetectionTest : public ::testing::TestWithParam<DetectionRow> {};

TEST_P(DetectionTest, FindsTheLayoutOrRefuses) {
    const DetectionRow &row = GetParam();
    const velkaro::ReadingPlan plan = velkaro::planReading(readingOf(row), row.head);
    EXPECT_EQ(plan.failure, row.failure);
    EXPECT_EQ(plan.encoding, row.encoding);
    EXPECT_EQ(plan.oldLayoutFound, row.roles == "rtk" && row.given == "auto");
    ASSERT_EQ(plan.layout.has_value(), !row.roles.empty() && row.roles != "rtk");
    if (plan.layout) {
        EXPECT_EQ(velkaro::rolesText(plan.layout->roles), row.roles);
        EXPECT_EQ(plan.layout->separator, row.separator);
        EXPECT_EQ(plan.layout->headerRow, row.header);
    }
}

const std::string kRtk = "1,2,P1,KZD,3515102.9358,516181.7499,42.7988\r\n"
                         "1,2,P2,NULL,3515153.2790,516519.7514,39.6360\r\n";
// The old tool's own export, its solution state in field 2: 固定解 in GBK.
const std::string kRtkExport =
    "1,\xb9\xcc\xb6\xa8\xbd\xe2,P1,FW,3515143.5017,516217.3275,46.5617\r\n"
    "2,\xb9\xcc\xb6\xa8\xbd\xe2,P2,LD,3514977.2375,516374.2663,41.0873\r\n";
const std::string kGbkHeader = "\xb5\xe3\xc3\xfb,\xb1\xe0\xc2\xeb,X,Y,H\r\n"; // 点名,编码 in GBK
const std::string kBom = "\xEF\xBB\xBF";

using enum DetectionFailure;
using enum FieldSeparator;
using enum SourceEncoding;

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectionTest,
    ::testing::Values(
        DetectionRow{"RtkByValues", kRtk, "rtk"},
        DetectionRow{"RtkExportWithTextInField2", kRtkExport, "rtk"},
        DetectionRow{"RtkExportUtf8WithByteOrderMark",
                     kBom + "1,固定解,控制点5,NULL,3515153.279,516519.7514,39.636\n", "rtk",
                     CommaOrTab, false, Utf8},
        DetectionRow{"RtkWithUtf8Given", kRtk, "rtk", CommaOrTab, false, Utf8, None, "rtk", Utf8},
        DetectionRow{"ChineseHeaderUtf8", "点名,编码,N,E,H\n控制点5,,3515153.279,516519.751,39.6\n",
                     "name,code,x,y,z", CommaOrTab, true, Utf8},
        DetectionRow{"ChineseHeaderGbk", kGbkHeader + "P1,K,3515102.9,516181.7,42.8\r\n",
                     "name,code,x,y,z", CommaOrTab, true},
        DetectionRow{"EnglishHeaderEastFirst", "Pt,E,N,Z,Code\n1,516181.7,3515102.9,42.8,KZD\n",
                     "name,y,x,z,code", CommaOrTab, true},
        DetectionRow{"ByteOrderMarkAndSemicolons",
                     kBom + "Name;Northing;Easting;Elevation\nA;3515102.9;516181.7;42.8\n",
                     "name,x,y,z", Semicolon, true, Utf8},
        DetectionRow{"CassDatWithEmptyCodes",
                     "P1,,516181.7499,3515102.9358,42.7988\nP2,K,516519.7514,3515153.279,39.6\n",
                     "name,code,y,x,z"},
        DetectionRow{"CassDatWithNumberNames",
                     "1,,516181.7499,3515102.9358,42.7988\n2,,516374.2663,3514977.2375,41.08\n",
                     "name,code,y,x,z"},
        DetectionRow{"NumberNamesThenCode",
                     "1,3515102.9358,516181.7499,42.7988,KZD\n2,3514977.23,516374.26,41.08,LD\n",
                     "name,x,y,z,code"},
        DetectionRow{"NumberNamesBySpaces",
                     "1 3515102.93 516181.74 42.79\n2 3514977.2 516374.2 41\n", "name,x,y,z",
                     Spaces},
        DetectionRow{"SpacesAndAMissingCode",
                     "P1  3515102.9 516181.7 42.8 KZD\nP2 3515153.2 516519.7 39.6\n"
                     "P3 3515154.2 516520.7 39.7 KZD\n",
                     "name,x,y,z,code", Spaces},
        DetectionRow{"HeightBeforeCoordinates",
                     "P1,42.79,3515102.9358,516181.7499,KZD\nP2,41.08,3514977.23,516374.26,LD\n",
                     "name,z,x,y,code"},
        DetectionRow{"NumberNameThenHeight", "1,42.79,3515102.93,516181.74,KZD\n",
                     "name,z,x,y,code"},
        DetectionRow{"ZoneNumberInFront",
                     "A,3515102.9,39516181.7,42.8\nB,3515103.9,39516182.7,43\n", "name,x,y,z"},
        DetectionRow{"NothingButBlanks", " \r\n\t\n", "", CommaOrTab, false, Bytes, NoLines},
        DetectionRow{"NoSeparator", "one point\nanother point\n", "", CommaOrTab, false, Bytes,
                     NoSeparator},
        DetectionRow{"LocalGridIsNotGuessed", "P1,100.5,200.5,3\nP2,101.5,201.5,4\n", "",
                     CommaOrTab, false, Bytes, NoCoordinates},
        DetectionRow{"TwoNorthingColumns", "P1,3515102.9,3515103.9,516181.7,1\n", "", CommaOrTab,
                     false, Bytes, Ambiguous},
        DetectionRow{"WholeNumbersBeforeCoordinates", "1,42,3515102.9,516181.7,KZD\n", "",
                     CommaOrTab, false, Bytes, AmbiguousHeight},
        DetectionRow{"TwoDecimalsBeforeCoordinates", "1.5,42.79,3515102.9,516181.7\n", "",
                     CommaOrTab, false, Bytes, AmbiguousHeight},
        DetectionRow{"MoreThanNameAndCodeBefore", "1,P1,KZD,3515102.9,516181.7,42.8\n", "",
                     CommaOrTab, false, Bytes, UnclearTexts},
        DetectionRow{"PnezdBySemicolons",
                     "P1;3515102.9;516181.7;42.8;KZD\nP2;3515103.9;516182.7;43;\n",
                     "name,x,y,z,code", Semicolon, false, Bytes, None, "pnezd"},
        DetectionRow{"PenzdBySpaces", "P1  516181.7 3515102.9\t42.8\n", "name,y,x,z,code", Spaces,
                     false, Bytes, None, "penzd"},
        DetectionRow{"CassKeepsCommasWithBlanksInNames", "P 1,,516181.7,3515102.9,42.8\n",
                     "name,code,y,x,z", CommaOrTab, false, Bytes, None, "cass"},
        DetectionRow{"CassWithByteOrderMark", kBom + "P1,,516181.7,3515102.9,42.8\n",
                     "name,code,y,x,z", CommaOrTab, false, Utf8, None, "cass"},
        DetectionRow{"ByteOrderMarkWithGbkGiven", kBom + "P1;;516181.7;3515102.9;42.8\n",
                     "name,code,y,x,z", Semicolon, false, Bytes, None, "cass", Bytes}),
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
// a short line), a given layout, and auto, which skips the header row it found or reads the old
// tool's export the old way.
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
    // The old tool's export is read its way by auto too: to the short line, names from field 3.
    const velkaro::SourcePreview old =
        velkaro::previewSource(kRtkExport + "short\n" + kRtk, options, 10);
    EXPECT_TRUE(old.oldLayoutFound);
    ASSERT_EQ(old.points.size(), 2u);
    EXPECT_EQ(old.points.front().name, "P1");
}

} // namespace
