// Every sentence of the wording, pinned: the outcomes, the reasons of failures, the warnings, and
// the identifiers scripts read beside them.

#include "format_names.h"
#include "identifiers.h"
#include "layer_text.h"
#include "option_text.h"
#include "outcome_text.h"
#include "question_text.h"
#include "summary_text.h"
#include "system_error_text.h"
#include "warning_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <vector>

namespace {

using velkaro::ConversionOutcome;
using velkaro::FailureReason;
using velkaro::WarningKind;
using Kind = ConversionOutcome::Kind;
using namespace velkaro::wording;

// Brackets show which parts came from a name through the front end's decoder.
const NameDecoder kMarkNames = [](std::string_view name) { return "<" + std::string(name) + ">"; };

ConversionOutcome outcomeOf(Kind kind, FailureReason reason = FailureReason::Unknown,
                            velkaro::SystemError error = {}) {
    ConversionOutcome outcome(kind);
    outcome.sourcePath = "/d/pts.txt";
    outcome.outputFileName = "ptsCass.dat";
    outcome.conflictingSource = "/d/a:b.txt";
    if (reason != FailureReason::Unknown || error) {
        outcome.failure = velkaro::FileFailure{"/d/ptsCass.dat", reason, error};
    }
    return outcome;
}

// A GIS run's outcome: the grid of zone 39 (3°, zone in the easting) or none, and a line.
ConversionOutcome gisOutcome(Kind kind, bool grid, std::uint64_t line = 0) {
    ConversionOutcome outcome = outcomeOf(kind);
    outcome.outputFileName = "pts.geojson";
    outcome.gisFormat = true;
    outcome.crs = grid ? velkaro::gridOfEpsg(4527) : std::nullopt;
    outcome.crsLine = line;
    return outcome;
}

ConversionOutcome undecided(velkaro::DetectionFailure failure) {
    ConversionOutcome outcome = outcomeOf(Kind::LayoutUndecided);
    outcome.layoutFailure = failure;
    return outcome;
}

struct SentenceRow {
    const char *name;
    ConversionOutcome outcome;
    std::string text;
};

class OutcomeTextTest : public ::testing::TestWithParam<SentenceRow> {};

TEST_P(OutcomeTextTest, SaysWhatHappenedWhereAndWhy) {
    EXPECT_EQ(outcomeText(GetParam().outcome, kMarkNames), GetParam().text);
}

const std::string kWhere = "\n位置: </d/ptsCass.dat>\n原因: ";
const velkaro::SystemError kNoSuchDevice{velkaro::SystemError::Domain::Posix, ENXIO + 1000};

INSTANTIATE_TEST_SUITE_P(
    Sentences, OutcomeTextTest,
    ::testing::Values(
        SentenceRow{"NoSource", outcomeOf(Kind::NoSource), "请选择源文件"},
        SentenceRow{"NoFormat", outcomeOf(Kind::NoFormat), "请选择转换格式"},
        SentenceRow{"SourceOpenFailed", outcomeOf(Kind::SourceOpenFailed, FailureReason::NotFound),
                    "打开源文件错误，请重新选择!" + kWhere + "文件或文件夹不存在。"},
        SentenceRow{"Converted", outcomeOf(Kind::Converted),
                    "\t转换成功!\n生成转换文件:<ptsCass.dat>"},
        SentenceRow{"CreateAccessDenied",
                    outcomeOf(Kind::OutputCreateFailed, FailureReason::AccessDenied),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere +
                        "没有写入权限 (文件或其所在的文件夹受保护)。"},
        SentenceRow{"ReadAccessDenied",
                    outcomeOf(Kind::SourceOpenFailed, FailureReason::AccessDenied),
                    "打开源文件错误，请重新选择!" + kWhere + "没有读取权限。"},
        SentenceRow{"ReadOnlyFile",
                    outcomeOf(Kind::OutputCreateFailed, FailureReason::ReadOnlyFile),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere + "文件是只读的。"},
        SentenceRow{"ReadOnlyDisk",
                    outcomeOf(Kind::OutputCreateFailed, FailureReason::ReadOnlyFileSystem),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere + "磁盘或存储卡是只读的 (写保护)。"},
        SentenceRow{"DiskFull", outcomeOf(Kind::OutputWriteFailed, FailureReason::DiskFull),
                    "写入转换文件错误:<ptsCass.dat>" + kWhere + "磁盘已满。"},
        SentenceRow{"Quota", outcomeOf(Kind::OutputWriteFailed, FailureReason::QuotaExceeded),
                    "写入转换文件错误:<ptsCass.dat>" + kWhere + "超出了磁盘配额。"},
        SentenceRow{"NameTooLong", outcomeOf(Kind::OutputCreateFailed, FailureReason::NameTooLong),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere + "文件名或路径太长。"},
        SentenceRow{"FileInUse", outcomeOf(Kind::OutputCreateFailed, FailureReason::FileInUse),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere +
                        "文件正被其他程序使用 (例如在 CASS 中打开)，请先关闭它。"},
        SentenceRow{"DeviceFailed", outcomeOf(Kind::SourceReadFailed, FailureReason::DeviceFailed),
                    "读取源文件错误:<pts.txt>" + kWhere +
                        "磁盘或设备读写出错 (介质损坏或已被拔出)。"},
        SentenceRow{"IsFolder", outcomeOf(Kind::OutputCreateFailed, FailureReason::IsFolder),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere + "这是一个文件夹。"},
        SentenceRow{
            "NotRegularFile", outcomeOf(Kind::SourceOpenFailed, FailureReason::NotRegularFile),
            "打开源文件错误，请重新选择!" + kWhere + "这不是普通文件 (设备、管道或套接字)。"},
        SentenceRow{"LinkLoop", outcomeOf(Kind::OutputCreateFailed, FailureReason::LinkLoop),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere + "符号链接形成循环。"},
        SentenceRow{"UntrustedLink",
                    outcomeOf(Kind::OutputCreateFailed, FailureReason::UntrustedLink),
                    "创建转换文件错误:<ptsCass.dat>" + kWhere +
                        "这是其他用户放在公共文件夹中的符号链接，不会跟随它写入。"},
        SentenceRow{"UnknownErrorGivesTheSystemsText",
                    outcomeOf(Kind::OutputWriteFailed, FailureReason::Unknown, kNoSuchDevice),
                    "写入转换文件错误:<ptsCass.dat>" + kWhere + "系统错误 " +
                        std::to_string(kNoSuchDevice.code) + ": " +
                        std::strerror(kNoSuchDevice.code) + "。"},
        SentenceRow{"OutputIsSource", outcomeOf(Kind::OutputIsSource),
                    "转换文件是本次转换的源文件，不能覆盖:<ptsCass.dat>"},
        SentenceRow{"DuplicateOutput", outcomeOf(Kind::DuplicateOutput),
                    "转换文件已由前面的源文件生成:</d/a:b.txt>"},
        SentenceRow{"SourceChanged", outcomeOf(Kind::SourceChanged),
                    "源文件在转换时被改动:<pts.txt>"},
        SentenceRow{"OutOfMemory", outcomeOf(Kind::OutOfMemory), "内存不足，无法转换:<pts.txt>"},
        SentenceRow{"OutOfMemoryBeforeAnything", ConversionOutcome(Kind::OutOfMemory),
                    "内存不足，无法转换。"},
        SentenceRow{"InvalidOptions", outcomeOf(Kind::InvalidOptions), "转换选项无效"},
        SentenceRow{"Unexpected", outcomeOf(Kind::Unexpected), "转换时发生意外错误:<pts.txt>"},
        SentenceRow{"Cancelled", outcomeOf(Kind::Cancelled),
                    "转换已取消，原有文件保持不变:<ptsCass.dat>"},

        SentenceRow{"LayoutUndecided", undecided(velkaro::DetectionFailure::Ambiguous),
                    "无法识别源文件的格式:<pts.txt>\n原因: 有几列都像北坐标或东坐标。\n"
                    "请指定源文件各列的含义，例如 name,code,y,x,z。"},
        SentenceRow{"LayoutUndecidedByTexts", undecided(velkaro::DetectionFailure::UnclearTexts),
                    "无法识别源文件的格式:<pts.txt>\n原因: 坐标前的列多于点名和编码两列，不能确定哪"
                    "列是点名、哪列是编码。\n请指定源文件各列的含义，例如 name,code,y,x,z。"},
        SentenceRow{"GisUnavailable", gisOutcome(Kind::GisUnavailable, false),
                    "本程序不能写 GIS 格式:<pts.geojson>"},
        SentenceRow{"CrsNeeded", gisOutcome(Kind::CrsNeeded, false),
                    "没有指定坐标系，不能把点放到地球上:<pts.geojson>\n请指定 CGCS2000 高斯-克吕格"
                    "坐标系 (EPSG:4491 至 EPSG:4554)，或选 \"自动\" 按东坐标前的带号确定。"},
        SentenceRow{"CrsUndecidedWithoutPoints", gisOutcome(Kind::CrsUndecided, false),
                    "无法按带号确定坐标系:<pts.txt>\n原因: 文件开头没有坐标齐全的点。\n"
                    "请指定坐标系，例如 EPSG:4527。"},
        SentenceRow{"CrsUndecidedAtALine", gisOutcome(Kind::CrsUndecided, false, 3),
                    "无法按带号确定坐标系:<pts.txt>\n原因: 第 3 行的东坐标不是前面带有带号 (13 至 "
                    "23 或 25 至 45) 的 8 位整数。\n请指定坐标系，例如 EPSG:4527。"},
        SentenceRow{"OutsideCrs", gisOutcome(Kind::OutsideCrs, true, 7),
                    "点不在坐标系 EPSG:4527 的范围内，没有写入任何点:<pts.txt>\n原因: 第 7 行的东"
                    "坐标属于另一个带，或缺少 (或多了) 带号。"}),
    [](const auto &info) { return std::string(info.param.name); });

ConversionOutcome withLines() {
    ConversionOutcome outcome(Kind::Converted);
    velkaro::ReadingReport &reading = outcome.reading;
    reading.stoppedAtLine = 6;
    reading.linesNotConverted = 35;
    reading.zeroBytes = {2, {3, 9}, 9};
    reading.withoutCoordinates = {7, {1, 2, 3, 4, 5, 9, 11}, 11};
    reading.leftOut = {1, {4}, 4};
    reading.carriedOver = {1, {8}, 8};
    reading.longLines = {2, {7, 8}, 8};
    reading.unrepresentable = {1, {2}, 2};
    reading.shortenedTexts = {2, {5, 6}, 6};
    return outcome;
}

TEST(WarningText, EveryWarningInOneLine) {
    const ConversionOutcome outcome = withLines();
    const std::pair<WarningKind, std::string> rows[] = {
        {WarningKind::NoPoints,
         "警告: 源文件中没有可转换的点 (文件是空的、只有空行或第一行就停止了)，"
         "没有写入任何点。"},
        {WarningKind::StoppedAtShortLine,
         "警告: 第 6 行不足 10 字节，读取在此停止，其后 35 行没有转换。"},
        {WarningKind::StoppedAtZeroByte,
         "警告: 第 6 行有零字节 (0x00)，读取在此停止，其后 35 行没有转换。"},
        {WarningKind::StoppedAtEndOfFileByte,
         "警告: 第 6 行有文件结束符 (0x1A)，读取在此停止，其后 35 行没有转换。"},
        {WarningKind::ZeroBytesInLines,
         "警告: 2 行有零字节 (0x00)，其后的内容被忽略 (第 3、9 行)。"},
        {WarningKind::NotText,
         "警告: 源文件看来不是 RTK 点文件 (有零字节或多数行没有坐标)，请确认选对了文件。"},
        {WarningKind::LinesWithoutCoordinates,
         "警告: 7 行没有坐标数值 (第 1、2、3、4、5 等行)，已按原样写入。"},
        {WarningKind::FieldsCarriedOver,
         "警告: 1 行字段不足，缺少的点名、编码或坐标沿用了上一点的值 (第 8 行)，已按原样写入。"},
        {WarningKind::LinesLeftOut, "警告: 1 行没有坐标数值，已略去 (第 4 行)。"},
        {WarningKind::LongLines, "警告: 2 行超过 255 字节 (第 7 行起)，每行被分段当作多个点转换。"},
        {WarningKind::AxesSwapped, "警告: 多数点的 x 像东坐标、y 像北坐标，坐标轴可能颠倒了，"
                                   "请检查源文件各列的含义。"},
        {WarningKind::HeightLikeCoordinate,
         "警告: 多数点的高程大得像坐标 (10 万以上)，可能读错了列，"
         "请检查源文件各列的含义。"},
        {WarningKind::Unrepresentable, "警告: 1 行的点名或编码有输出代码页不能表示的字符，已写作 "
                                       "\"?\" (第 2 行)。"},
        {WarningKind::TextsShortened,
         "警告: 2 行的点名或编码超过 Shapefile 属性表的 80 字节，已截短 (第 5、6 行)。"},
    };
    for (const auto &[kind, text] : rows) {
        EXPECT_EQ(warningText(kind, outcome, 5), text) << warningId(kind);
    }
    ConversionOutcome gis = gisOutcome(Kind::Converted, false);
    gis.reading = outcome.reading;
    EXPECT_EQ(warningText(WarningKind::WithoutCrs, gis, 5),
              "警告: 没有指定坐标系: 点按本地坐标写入，文件中没有坐标系，GIS 软件中须手动指定。");
    EXPECT_EQ(warningText(WarningKind::Unrepresentable, gis, 5),
              "警告: 1 行的点名或编码有源文件编码中不存在的字节，已写作 \"\xEF\xBF\xBD\" (第 2 "
              "行)。");
    EXPECT_EQ(crsText(gis), "坐标系: 未指定 (本地坐标)");
    EXPECT_EQ(crsText(gisOutcome(Kind::Converted, true)),
              "坐标系: EPSG:4527 CGCS2000 3° 带 39 (中央经线 117°E, 东坐标带带号)");
    EXPECT_EQ(crsText(outcome), "");
    EXPECT_EQ(warningText(WarningKind::LinesWithoutCoordinates, outcome, 10),
              "警告: 7 行没有坐标数值 (第 1、2、3、4、5、9、11 行)，已按原样写入。");
}

// A converted outcome read by a layout: separator, header row and encoding as given.
ConversionOutcome readBy(velkaro::FieldSeparator separator, bool header,
                         velkaro::SourceEncoding encoding) {
    ConversionOutcome outcome(Kind::Converted);
    outcome.layout = velkaro::SourceLayout{*velkaro::presetRoles("cass"), separator, header};
    outcome.encoding = encoding;
    return outcome;
}

// The summary's reading: to the end with a line left out, or stopped at line 6.
velkaro::ReadingReport readingOf(std::uint64_t leftOut, std::uint64_t stoppedAt) {
    velkaro::ReadingReport reading;
    reading.leftOut.count = leftOut;
    reading.stoppedAtLine = stoppedAt;
    reading.linesNotConverted = stoppedAt == 0 ? 0 : 35;
    return reading;
}

// Outputs that exist already, all changed at the same moment, named a0, a1, ...
std::vector<ExistingName> existing(std::size_t count, std::int64_t modified) {
    std::vector<ExistingName> names;
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back({"a" + std::to_string(i), modified});
    }
    return names;
}

// Every other sentence the wording exports, beside the outcomes and the warnings above: the
// command line's options, the summary, the question before replacing, the result of a batch, how
// a source was read, the grids and the formats' names.
TEST(WordingTable, PinsEverySentence) {
    using velkaro::FieldSeparator;
    using velkaro::SourceEncoding;
    using velkaro::TargetFormat;
    constexpr std::int64_t kMay12 = 1715533380; // 2024-05-12 17:03 UTC
    const std::string at = " (修改于 " + localTimeText(kMay12) + ")";
    std::string many = "下列转换文件已存在:";
    for (int i = 0; i < 10; ++i) {
        many += "\n<a" + std::to_string(i) + ">" + at;
    }
    const std::pair<std::string, std::string> rows[] = {
        {labelHeightRangeText("1.7e308"), "文字高度无效: 1.7e308 (须在 0.000001 至 1000000 之间)"},
        {labelDecimalsRangeText("9"), "小数位数无效: 9 (须在 0 至 6 之间)"},
        {codePageSpellingText("950"),
         "选项 --dxf-codepage 的代码页须用等号连写: --dxf-codepage=950"},
        {unknownEncodingText("latin1"), "未知编码: latin1 (可用 gb18030 或 utf-8)"},
        {std::string(kEncodingMissingText), "选项 --source-encoding 缺少编码"},
        {std::string(kEncodingTwiceText), "选项 --source-encoding 只能给一次"},
        {unusedOptionText("--labels", TargetFormat::Cad),
         "警告: 选项 --labels 只用于CAD格式，本次转换不用它"},
        {unusedOptionText("--cass-columns", TargetFormat::Cass),
         "警告: 选项 --cass-columns 只用于CASS6.0格式，本次转换不用它"},
        {unknownCrsText("EPSG:4326"),
         "未知坐标系: EPSG:4326 (可用 auto, 或 CGCS2000 高斯-克吕格坐标系 EPSG:4491 至 EPSG:4554)"},
        {unusedCrsText(),
         "警告: 选项 --crs 只用于 GIS 格式 (gpkg, shp, geojson, kml)，本次转换不用它"},
        {gridItemText(*velkaro::gridOfEpsg(4527)),
         "EPSG:4527 CGCS2000 3° 带 39 (117°E, 东坐标带带号)"},
        {gridItemText(*velkaro::gridOfEpsg(4512)), "EPSG:4512 CGCS2000 6° 带 23 (135°E)"},
        {crsOptionText({velkaro::CrsChoice::Mode::Auto, 0}), "坐标系 auto"},
        {crsOptionText({velkaro::CrsChoice::Mode::Epsg, 4527}), "坐标系 EPSG:4527"},

        {linesReadText(41, 40), "行: 读取 41, 取用 40"},
        {readingEndText(readingOf(1, 0)), "略去 1, 读到文件末尾"},
        {readingEndText(readingOf(0, 6)), "略去 0, 在第 6 行停止, 其后 35 行没有转换"},
        {codePointsText(codeLabelText("KZD"), 12), "编码 KZD: 12 点"},
        {codePointsText(otherCodesText(10000), 1990000),
         "其余编码 (前 10000 个编码之后): 1990000 点"},
        {std::string(noNumbersText()), "无数值"},
        {pointsText(40), "40 点"},
        {pointsWrittenText(40), "写入 40 点"},
        {outOfMemoryText(), "内存不足，无法转换。"},

        {replaceQuestionText(existing(1, kMay12), kMarkNames),
         "转换文件 <a0>" + at + " 已存在。\n要替换它吗?"},
        {replaceQuestionText(existing(2, kMay12), kMarkNames),
         "下列转换文件已存在:\n<a0>" + at + "\n<a1>" + at + "\n要替换它们吗?"},
        {replaceQuestionText(existing(11, kMay12), kMarkNames),
         many + "\n等共 11 个文件\n要替换它们吗?"},
        {replaceText(), "替换"},
        {cancelText(), "取消"},
        {batchHeadline(2, 1), "转换完成: 2 个文件成功，1 个失败。"},
        {savedInText("/d/out", kMarkNames), "保存在: </d/out>"},

        {layoutText(readBy(FieldSeparator::CommaOrTab, true, SourceEncoding::Utf8)),
         "按 name,code,y,x,z 读取 (逗号或制表符分隔; 第一行为标题; UTF-8)"},
        {layoutText(readBy(FieldSeparator::Semicolon, false, SourceEncoding::Bytes)),
         "按 name,code,y,x,z 读取 (分号分隔)"},
        {layoutText(readBy(FieldSeparator::Spaces, true, SourceEncoding::Bytes)),
         "按 name,code,y,x,z 读取 (空格分隔; 第一行为标题)"},
        {layoutText(ConversionOutcome(Kind::Converted)), ""},

        {std::string(formatListText(TargetFormat::Cass)) + "|" +
             std::string(formatListText(TargetFormat::Kaisi)) + "|" +
             std::string(formatListText(TargetFormat::Cad)) + "|" +
             std::string(formatListText(TargetFormat::GeoPackage)) + "|" +
             std::string(formatListText(TargetFormat::Shapefile)) + "|" +
             std::string(formatListText(TargetFormat::GeoJson)) + "|" +
             std::string(formatListText(TargetFormat::Kml)),
         "CASS6.0格式|开思格式|CAD格式|GeoPackage (GIS)|Shapefile (GIS)|GeoJSON (网络地图)|"
         "KML (谷歌地球)"},
        {std::string(formatKey(TargetFormat::Cass)) + "|" +
             std::string(formatKey(TargetFormat::Kaisi)) + "|" +
             std::string(formatKey(TargetFormat::Cad)) + "|" +
             std::string(formatKey(TargetFormat::GeoPackage)) + "|" +
             std::string(formatKey(TargetFormat::Shapefile)) + "|" +
             std::string(formatKey(TargetFormat::GeoJson)) + "|" +
             std::string(formatKey(TargetFormat::Kml)),
         "cass|kaisi|cad|gpkg|shp|geojson|kml"},
        {std::string(kPlacemarkCodeLabel) + std::string(kPlacemarkHeightLabel), "编码: 高程: "},
        {systemErrorText({}), ""},
    };
    for (const auto &[text, expected] : rows) {
        EXPECT_EQ(text, expected);
    }
}

#ifndef _WIN32
// The date and time an existing output was changed, in the local time zone.
TEST(WordingTable, LocalTimeIsTheDayAndTheMinute) {
    const char *const zone = std::getenv("TZ");
    const std::string saved = zone != nullptr ? zone : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_EQ(localTimeText(1715533380), "2024-05-12 17:03");
    setenv("TZ", "CST-8", 1); // China Standard Time
    tzset();
    EXPECT_EQ(localTimeText(1715533380), "2024-05-13 01:03");
    zone != nullptr ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}
#endif

// Scripts key on the identifiers, so each must stay distinct and plain.
TEST(Identifiers, AreDistinctLowerCaseWords) {
    std::set<std::string_view> seen;
    const auto check = [&seen](std::string_view id) {
        EXPECT_TRUE(seen.insert(id).second) << id;
        EXPECT_EQ(id.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string_view::npos);
    };
    for (int kind = 0; kind <= static_cast<int>(Kind::OutsideCrs); ++kind) {
        check(outcomeId(static_cast<Kind>(kind)));
    }
    for (int kind = 0; kind <= static_cast<int>(WarningKind::TextsShortened); ++kind) {
        check(warningId(static_cast<WarningKind>(kind)));
    }
    check(kUnusedOptionId);
    check(kUsageErrorId);
    seen.clear(); // reasons are another field; "unknown" may stand there
    for (int reason = 0; reason <= static_cast<int>(FailureReason::UntrustedLink); ++reason) {
        check(reasonId(static_cast<FailureReason>(reason)));
    }
}

} // namespace
