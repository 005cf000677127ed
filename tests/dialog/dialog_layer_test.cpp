// The dialog layer's rules, which both windows show: outcome boxes, names and paths, the format
// rule, what Browse keeps, and what Convert asks, writes and reports.

#include "application_paths.h"
#include "chosen_names.h"
#include "convert_command.h"
#include "dialog_texts.h"
#include "format_selection.h"
#include "outcome_message.h"
#include "point_layer_writer.h"
#include "question_text.h"
#include "source_preview_table.h"
#include "test_files.h"
#include "unrepresentable_name.h"
#include "window_settings.h"
#include "work_progress.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace velkaro::dialog;
using velkaro::ConversionOutcome;
using Kind = ConversionOutcome::Kind;
using velkaro::test::listFolder;
using velkaro::test::readBytes;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;

// Shows which text came from a name, so that a test sees the decoder was asked.
const NameDecoder kMarkNames = [](std::string_view name) { return "<" + std::string(name) + ">"; };
const NameDecoder kPlain = [](std::string_view name) { return std::string(name); };

ConversionOutcome outcomeOf(Kind kind, std::string output = {}) {
    ConversionOutcome outcome(kind);
    outcome.sourcePath = "/d/pts.txt";
    outcome.outputFileName = std::move(output);
    return outcome;
}

struct OutcomeRow {
    const char *name;
    ConversionOutcome outcome;
    Message expected;
};

class OutcomeMessageTest : public ::testing::TestWithParam<OutcomeRow> {};

TEST_P(OutcomeMessageTest, TextTitleAndIcon) {
    EXPECT_EQ(outcomeMessage(GetParam().outcome, kMarkNames), GetParam().expected);
}

ConversionOutcome converted(std::uint64_t points, std::uint64_t stoppedAt = 0,
                            std::uint64_t left = 0) {
    ConversionOutcome outcome = outcomeOf(Kind::Converted, "ptsCass.dat");
    outcome.pointsWritten = points;
    outcome.reading.stoppedAtLine = stoppedAt;
    outcome.reading.stop = velkaro::StopReason::ShortLine;
    outcome.reading.linesNotConverted = left;
    return outcome;
}

ConversionOutcome diskFull() {
    ConversionOutcome outcome = outcomeOf(Kind::OutputWriteFailed, "a.dat");
    outcome.failure = velkaro::FileFailure{"/d/a.dat", velkaro::FailureReason::DiskFull, {}};
    return outcome;
}

const std::string kConverted = "\t转换成功!\n生成转换文件:<ptsCass.dat>\n写入 ";

// What the windows add to the wording: the points line, the warnings, the old tool's titles and
// icons, and the warning icon for everything that went wrong.
INSTANTIATE_TEST_SUITE_P(
    Kinds, OutcomeMessageTest,
    ::testing::Values(
        OutcomeRow{"NoSource", outcomeOf(Kind::NoSource), {"请选择源文件", "", MessageIcon::None}},
        OutcomeRow{"NoFormat",
                   outcomeOf(Kind::NoFormat),
                   {"请选择转换格式", "", MessageIcon::Exclamation}},
        OutcomeRow{"SourceOpenFailed",
                   outcomeOf(Kind::SourceOpenFailed),
                   {"打开源文件错误，请重新选择!", "", MessageIcon::None}},
        OutcomeRow{"OutputWriteFailed",
                   diskFull(),
                   {"写入转换文件错误:<a.dat>\n位置: </d/a.dat>\n原因: 磁盘已满。", "",
                    MessageIcon::Warning}},
        OutcomeRow{"Converted",
                   converted(40),
                   {kConverted + "40 点", "格式转换提示：", MessageIcon::None}},
        OutcomeRow{"NoPointsAndEarlyStop",
                   converted(0, 1, 35),
                   {kConverted +
                        "0 点\n警告: 源文件中没有可转换的点 (文件是空的、只有空行或第一行就"
                        "停止了)，没有写入任何点。\n警告: 第 1 行不足 10 字节，读取在此停止，"
                        "其后 35 行没有转换。",
                    "格式转换提示：", MessageIcon::Warning}}),
    [](const auto &info) { return std::string(info.param.name); });

struct PathRow {
    const char *path;
    PathStyle style;
    SourceFile file;
    const char *applicationName;
    const char *helpFile;
};

class PathRulesTest : public ::testing::TestWithParam<PathRow> {};

TEST_P(PathRulesTest, NamesFoldersAndHelpFile) {
    const PathRow &row = GetParam();
    EXPECT_EQ(sourceFileFromPath(row.path, row.style), row.file);
    EXPECT_EQ(applicationName(row.path, row.style), row.applicationName);
    EXPECT_EQ(helpFilePath(row.path, row.style), row.helpFile);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathRulesTest,
    ::testing::Values(
        PathRow{"/usr/bin/Velkaro",
                PathStyle::Posix,
                {"/usr/bin/Velkaro", "Velkaro", "/usr/bin"},
                "Velkaro",
                "/usr/bin/Velkaro.HLP"},
        PathRow{"/pts.txt", PathStyle::Posix, {"/pts.txt", "pts.txt", "/"}, "pts", "/pts.HLP"},
        PathRow{"a\\b.c/d\\e.txt",
                PathStyle::Posix,
                {"a\\b.c/d\\e.txt", "d\\e.txt", "a\\b.c"},
                "d\\e",
                "a\\b.c/d\\e.HLP"},
        PathRow{"C:\\Tools\\Velkaro.EXE",
                PathStyle::Windows,
                {"C:\\Tools\\Velkaro.EXE", "Velkaro.EXE", "C:\\Tools"},
                "Velkaro",
                "C:\\Tools\\Velkaro.HLP"},
        PathRow{"C:\\pts.2024.txt",
                PathStyle::Windows,
                {"C:\\pts.2024.txt", "pts.2024.txt", "C:\\"},
                "pts.2024",
                "C:\\pts.2024.HLP"},
        PathRow{
            "D:pts.txt", PathStyle::Windows, {"D:pts.txt", "pts.txt", "D:"}, "pts", "D:pts.HLP"},
        PathRow{"C:\\a.b/Velkaro",
                PathStyle::Windows,
                {"C:\\a.b/Velkaro", "Velkaro", "C:\\a.b"},
                "Velkaro",
                "C:\\a.b/Velkaro.HLP"},
        PathRow{"pts.txt", PathStyle::Windows, {"pts.txt", "pts.txt", ""}, "pts", "pts.HLP"}),
    [](const auto &info) { return "Row" + std::to_string(info.index); });

// 表 is 0x95 0x5C in code page 936: its second byte is no separator.
TEST(PathRules, SecondByteOfADoubleByteCharacterIsNoSeparator) {
    const std::string path = "C:\\\x95\\.txt";
    const auto lead = [](unsigned char c) { return c >= 0x81 && c <= 0xFE; };
    EXPECT_EQ(sourceFileFromPath(path, PathStyle::Windows, lead).name, "\x95\\.txt");
    EXPECT_EQ(sourceFileFromPath(path, PathStyle::Windows).name, ".txt");
}

TEST(FormatSelection, CountsOnlyWhileTheFieldShowsTheItem) {
    using velkaro::TargetFormat;
    const auto items = formatListItems();
    const std::vector<std::string_view> expected = {
        "CASS6.0格式",     "开思格式",           "CAD格式",       "GeoPackage (GIS)",
        "Shapefile (GIS)", "GeoJSON (网络地图)", "KML (谷歌地球)"};
    EXPECT_EQ(std::vector<std::string_view>(items.begin(), items.end()), expected);
    EXPECT_EQ(selectedFormat(2, "CAD格式"), TargetFormat::Cad);
    EXPECT_EQ(selectedFormat(3, "GeoPackage (GIS)"), TargetFormat::GeoPackage);
    EXPECT_EQ(selectedFormat(6, "KML (谷歌地球)"), TargetFormat::Kml);
    EXPECT_EQ(selectedFormat(0, "CAD"), std::nullopt);         // picked, then edited
    EXPECT_EQ(selectedFormat(-1, "CAD格式"), std::nullopt);    // typed, never picked
    EXPECT_EQ(selectedFormat(1, "CASS6.0格式"), std::nullopt); // never shows one, writes another
    EXPECT_EQ(selectedFormat(4, "GeoJSON (网络地图)"), std::nullopt);
    EXPECT_EQ(selectedFormat(7, "CAD格式"), std::nullopt);
    // The list texts, exactly and case-sensitively.
    EXPECT_EQ(formatOfListText("开思格式"), TargetFormat::Kaisi);
    EXPECT_EQ(formatOfListText("Shapefile (GIS)"), TargetFormat::Shapefile);
    EXPECT_EQ(formatOfListText("GeoJSON (网络地图)"), TargetFormat::GeoJson);
    for (const char *text : {"cass6.0格式", "", "CAD格式 ", "CAD", "geopackage (gis)", "KML"}) {
        EXPECT_EQ(formatOfListText(text), std::nullopt) << text;
    }
}

TEST(SourceSelection, KeepsTheChoiceAndShowsOneOrSeveralFiles) {
    SourceSelection selection;
    EXPECT_EQ(selection.sourcePath(), "");
    selection.choose({"/d/a.txt", "/e/b.txt"}, PathStyle::Posix);
    selection.choose({}, PathStyle::Posix); // cancelled
    EXPECT_EQ(selection.sourcePath(), "/d/a.txt");
    EXPECT_EQ(selection.sourceName(), "a.txt");
    EXPECT_EQ(selection.displayText(kMarkNames), "<a.txt> 等 2 个文件");
    EXPECT_EQ(selection.toolTipText(kMarkNames), "</d/a.txt>\n</e/b.txt>");
    selection.choose({"/d/c.txt"}, PathStyle::Posix);
    EXPECT_EQ(selection.displayText(kMarkNames), "<c.txt>");
}

const std::string kCodePageAdvice =
    "路径中有本系统代码页不能表示的字符。请把文件或文件夹改名，只用本系统能显示的字符 "
    "(例如英文字母和数字)，再重新选择；或用命令行转换程序 velkaro-convert 转换。";
const std::string kEncodingAdvice =
    "请把它们改名 (例如用 convmv -f gbk -t utf-8)，或用命令行转换程序 velkaro-convert 转换。";
const std::string kNotFiles = "下列不是文件 (例如文件夹)，没有选择:";
const std::string kNotFilesAdvice = "请选择或拖入要转换的文件本身。";

// The names of one drop or choice: the files the core can take are chosen, the rest named in one
// box; with no such file the earlier choice (a.txt) stays.
struct ChosenRow {
    const char *name;
    ChosenNames names;
    std::string chosen; // the display afterwards
    std::string box;    // empty: no box
};

class ChosenNamesTest : public ::testing::TestWithParam<ChosenRow> {};

TEST_P(ChosenNamesTest, ChoosesTheFilesAndNamesTheRestInOneBox) {
    SourceSelection selection;
    selection.choose({"/d/a.txt"}, PathStyle::Posix);
    const std::optional<Message> box = chooseNames(GetParam().names, selection, PathStyle::Posix);
    EXPECT_EQ(selection.displayText(kPlain), GetParam().chosen);
    EXPECT_EQ(box.value_or(Message{}).text, GetParam().box);
    EXPECT_EQ(box.value_or(Message{}).icon, box ? MessageIcon::Exclamation : MessageIcon::None);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChosenNamesTest,
    ::testing::Values(
        ChosenRow{"AllTaken", {{"/e/b.txt", "/e/c.txt"}, {}, {}, {}}, "b.txt 等 2 个文件", ""},
        ChosenRow{"OneOutsideTheCodePage",
                  {{"/e/b.txt"}, {"/e/测.txt"}, NameTrouble::CodePage, {}},
                  "b.txt",
                  "不能打开 \"/e/测.txt\":\n" + kCodePageAdvice},
        ChosenRow{"TwoOutsideTheCodePageAndNoFile",
                  {{}, {"/e/测.txt", "/e/😀.txt"}, NameTrouble::CodePage, {}},
                  "a.txt",
                  "不能打开下列文件:\n\"/e/测.txt\"\n\"/e/😀.txt\"\n" + kCodePageAdvice},
        ChosenRow{"NotUtf8",
                  {{"/e/b.txt"}, {"/e/\\xB5\\xE3.txt"}, NameTrouble::Encoding, {}},
                  "b.txt",
                  "下列文件的名字不是 UTF-8 编码 (例如来自 Windows 的 GBK 文件名)，本窗口不能选择"
                  "它们:\n/e/\\xB5\\xE3.txt\n" +
                      kEncodingAdvice},
        ChosenRow{"AFolderLeftOut",
                  {{"/e/b.txt"}, {}, {}, {"/e/day 2"}},
                  "b.txt",
                  kNotFiles + "\n/e/day 2\n" + kNotFilesAdvice},
        ChosenRow{"OnlyFolders",
                  {{}, {}, {}, {"/e", "/f"}},
                  "a.txt",
                  kNotFiles + "\n/e\n/f\n" + kNotFilesAdvice},
        ChosenRow{"BadNameAndFolderInOneBox",
                  {{}, {"/e/测.txt"}, NameTrouble::CodePage, {"/e/f"}},
                  "a.txt",
                  "不能打开 \"/e/测.txt\":\n" + kCodePageAdvice + "\n\n" + kNotFiles + "\n/e/f\n" +
                      kNotFilesAdvice}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(UnrepresentableName, OneNameAndSeveralAreOneBox) {
    EXPECT_EQ(
        unrepresentableNameMessage("C:\\测\\a.txt"),
        (Message{"不能打开 \"C:\\测\\a.txt\":\n" + kCodePageAdvice, "", MessageIcon::Exclamation}));
    EXPECT_EQ(unrepresentableNamesMessage({"C:\\a😀.txt"}),
              unrepresentableNameMessage("C:\\a😀.txt"));
    EXPECT_EQ(undecodableNamesMessage({"\\xB5.txt", "b\\xE3"}).text,
              "下列文件的名字不是 UTF-8 编码 (例如来自 Windows 的 GBK 文件名)，本窗口不能选择它们:"
              "\n\\xB5.txt\nb\\xE3\n" +
                  kEncodingAdvice);
}

// The progress: the file running among all, and the bytes read of all sources' bytes in the
// unit that suits their total.
struct ProgressRow {
    std::uint64_t read;
    std::uint64_t total;
    std::size_t current;
    int percent;
    const char *text;
    const char *bytes;
};

class WorkProgressTest : public ::testing::TestWithParam<ProgressRow> {};

TEST_P(WorkProgressTest, PercentFileAndBytes) {
    const ProgressRow &row = GetParam();
    WorkProgress progress;
    progress.sourceNames = {"a.txt", "b.txt", "c.txt"};
    progress.totalBytes = row.total;
    progress.current = row.current;
    progress.conversion.bytesRead = row.read;
    EXPECT_EQ(progress.percent(), row.percent);
    EXPECT_EQ(progress.text(kMarkNames), row.text);
    EXPECT_EQ(progress.bytesText(), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkProgressTest,
    ::testing::Values(
        ProgressRow{0, 0, 0, 0, "正在转换 1/3: <a.txt>", ""},
        ProgressRow{0, 100, 0, 0, "正在转换 1/3: <a.txt>", "0.0 / 0.1 KB"},
        ProgressRow{512, 2048, 1, 25, "正在转换 2/3: <b.txt>", "0.5 / 2.0 KB"},
        ProgressRow{12'897'485, 47'815'065, 1, 26, "正在转换 2/3: <b.txt>", "12.3 / 45.6 MB"},
        ProgressRow{1ULL << 30, 3ULL << 30, 2, 33, "正在转换 3/3: <c.txt>", "1.0 / 3.0 GB"},
        ProgressRow{300, 200, 9, 100, "正在转换 3/3: <c.txt>", "0.2 / 0.2 KB"}));

TEST(WorkProgress, NoSourceShowsNothing) {
    const WorkProgress progress;
    EXPECT_EQ(progress.text(kMarkNames), "");
}

// A window's boxes, answered as the test says.
class ScriptedHost : public DialogHost {
  public:
    void showMessage(const Message &message) override { shown.push_back(message); }
    Answer ask(const Question &question) override {
        asked.push_back(question);
        return answer;
    }
    // Runs the work on a thread of its own, as the windows do; cancelFirst asks it to stop
    // before it begins.
    void runWork(const std::function<void()> &work, WorkProgress &progress) override {
        progress.conversion.cancelRequested = cancelFirst;
        std::thread(work).join();
        works.push_back(progress.sourceNames.size());
    }
    void showResults(const ResultReport &report) override { results.push_back(report); }
    Answer answer = Answer::Cancel;
    bool cancelFirst = false;
    std::vector<Message> shown;
    std::vector<Question> asked;
    std::vector<std::size_t> works;
    std::vector<ResultReport> results;
};

// The question's "(修改于 ...)" for a file, by the same clock.
std::string changed(const std::string &path) {
    const auto time = std::filesystem::last_write_time(path);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::filesystem::file_time_type::clock::to_sys(time).time_since_epoch());
    return " (修改于 " + velkaro::wording::localTimeText(seconds.count()) + ")";
}

using velkaro::test::kSource;

struct CommandFixture {
    TempDir dir;
    ScriptedHost host;
    ConvertCommand command{host, kPlain};
    SourceSelection selection;
};

TEST(ConvertCommand, ChecksComeFirstAndTouchNothing) {
    CommandFixture f;
    f.command.run(f.selection, velkaro::TargetFormat::Cad);
    f.selection.choose({f.dir.file("pts.txt")}, kNativePathStyle);
    f.command.run(f.selection, std::nullopt);
    ASSERT_EQ(f.host.shown.size(), 2u);
    EXPECT_EQ(f.host.shown[0].text, "请选择源文件");
    EXPECT_EQ(f.host.shown[1].text, "请选择转换格式");
    EXPECT_EQ(listFolder(f.dir.path()), "");
}

TEST(ConvertCommand, ExistingOutputIsReplacedOnlyWhenTheUserSaysSo) {
    CommandFixture f;
    writeBytes(f.dir.file("survey.0618.txt"), kSource);
    writeBytes(f.dir.file("surveyCass.dat"), "edited by hand\r\n");
    f.selection.choose({f.dir.file("survey.0618.txt")}, kNativePathStyle);
    f.command.run(f.selection, velkaro::TargetFormat::Cass);
    ASSERT_EQ(f.host.asked.size(), 1u);
    EXPECT_EQ(f.host.asked[0],
              (Question{"转换文件 surveyCass.dat" + changed(f.dir.file("surveyCass.dat")) +
                            " 已存在。\n要替换它吗?",
                        "", "替换", "取消"}));
    EXPECT_TRUE(f.host.shown.empty());
    EXPECT_EQ(readBytes(f.dir.file("surveyCass.dat")), "edited by hand\r\n");
    EXPECT_EQ(listFolder(f.dir.path()), "survey.0618.txt\nsurveyCass.dat\n");

    f.host.answer = Answer::Replace;
    f.command.run(f.selection, velkaro::TargetFormat::Cass);
    EXPECT_EQ(readBytes(f.dir.file("surveyCass.dat")), "K1,,20.5,10.5,3.0\r\nP2,,21,11,4\r\n");
    ASSERT_EQ(f.host.shown.size(), 1u);
    EXPECT_EQ(f.host.shown[0].text,
              "\t转换成功!\n生成转换文件:surveyCass.dat\n写入 2 点\n保存在: " + f.dir.folder());
}

// Nobody may write a read-only output, so asking would only end in a failure: it is refused at
// once with its reason, and the other file is converted.
TEST(ConvertCommand, OutputThatCannotBeReplacedIsNotOffered) {
    CommandFixture f;
    writeBytes(f.dir.file("a.txt"), kSource);
    writeBytes(f.dir.file("b.txt"), kSource);
    writeBytes(f.dir.file("aCass.dat"), "kept");
    std::filesystem::permissions(f.dir.path() / "aCass.dat", std::filesystem::perms::owner_read);
    f.selection.choose({f.dir.file("a.txt"), f.dir.file("b.txt")}, kNativePathStyle);
    f.command.run(f.selection, velkaro::TargetFormat::Cass);
    EXPECT_TRUE(f.host.asked.empty());
    ASSERT_EQ(f.host.results.size(), 1u);
    const ResultReport &report = f.host.results[0];
    EXPECT_EQ(report.headline, "转换完成: 1 个文件成功，1 个失败。");
    ASSERT_EQ(report.rows.size(), 2u);
    EXPECT_EQ(report.rows[0],
              (ResultRow{"a.txt",
                         "",
                         "",
                         {"创建转换文件错误:aCass.dat", "位置: " + f.dir.file("aCass.dat"),
                          "原因: 文件是只读的。"},
                         RowState::Failed,
                         {}}));
    EXPECT_EQ(report.rows[1],
              (ResultRow{"b.txt", f.dir.file("bCass.dat"), "2 点", {}, RowState::Converted, {}}));
    EXPECT_EQ(report.folderToOpen, f.dir.folder());
    EXPECT_TRUE(report.troubled);
    EXPECT_EQ(readBytes(f.dir.file("aCass.dat")), "kept");
}

// A cancel keeps every earlier output and leaves nothing behind; the settings choose the folder.
TEST(ConvertCommand, CancelledRunKeepsEarlierOutputsAndSettingsChooseTheFolder) {
    CommandFixture f;
    std::filesystem::create_directory(f.dir.path() / "out");
    writeBytes(f.dir.file("a.txt"), kSource);
    writeBytes(f.dir.file("out/aCAD.dxf"), "earlier");
    WindowSettings settings;
    settings.outputPlace = OutputPlace::Folder;
    settings.outputFolder = f.dir.file("out");
    f.selection.choose({f.dir.file("a.txt")}, kNativePathStyle);
    f.host.answer = Answer::Replace;
    f.host.cancelFirst = true;
    f.command.run(f.selection, velkaro::TargetFormat::Cad, settings);
    ASSERT_EQ(f.host.results.size(), 1u);
    EXPECT_EQ(f.host.results[0].rows[0].notes,
              std::vector<std::string>{"转换已取消，原有文件保持不变:aCAD.dxf"});
    EXPECT_EQ(listFolder(f.dir.path() / "out"), "aCAD.dxf\n");
    EXPECT_EQ(readBytes(f.dir.file("out/aCAD.dxf")), "earlier");
    f.host.cancelFirst = false;
    f.command.run(f.selection, velkaro::TargetFormat::Cad, settings);
    EXPECT_NE(readBytes(f.dir.file("out/aCAD.dxf")), "earlier");
    EXPECT_EQ(f.host.works, (std::vector<std::size_t>{1, 1}));
}

TEST(ConvertCommand, SeveralFilesAskOnceAndEndInOneSummary) {
    CommandFixture f;
    writeBytes(f.dir.file("a.txt"), kSource);
    writeBytes(f.dir.file("b.txt"), kSource + "\r\n" + kSource);
    writeBytes(f.dir.file("aKaisi.txt"), "old");
    writeBytes(f.dir.file("bKaisi.txt"), "old");
    f.selection.choose({f.dir.file("a.txt"), f.dir.file("b.txt"), f.dir.file("gone.txt")},
                       kNativePathStyle);
    f.host.answer = Answer::Replace;
    f.command.run(f.selection, velkaro::TargetFormat::Kaisi);
    ASSERT_EQ(f.host.asked.size(), 1u);
    EXPECT_EQ(f.host.asked[0].text, "下列转换文件已存在:\naKaisi.txt" +
                                        changed(f.dir.file("aKaisi.txt")) + "\nbKaisi.txt" +
                                        changed(f.dir.file("bKaisi.txt")) + "\n要替换它们吗?");
    EXPECT_TRUE(f.host.shown.empty());
    ASSERT_EQ(f.host.results.size(), 1u);
    const ResultReport &report = f.host.results[0];
    EXPECT_EQ(report.headline, "转换完成: 2 个文件成功，1 个失败。");
    ASSERT_EQ(report.rows.size(), 3u);
    EXPECT_EQ(report.rows[1].notes,
              std::vector<std::string>{"警告: 第 3 行不足 10 字节，读取在此停止，"
                                       "其后 2 行没有转换。"});
    EXPECT_EQ(report.rows[1].state, RowState::Warned);
    EXPECT_EQ(report.rows[2].notes[0], "打开源文件错误，请重新选择!");
    EXPECT_EQ(listFolder(f.dir.path()), "a.txt\naKaisi.txt\nb.txt\nbKaisi.txt\n");
}

// The window's several files follow the core's plan: a.csv would replace a.txt's output, and
// b.txt's output would replace the chosen source bKaisi.txt before it is read. Neither is asked
// about or written; both are reported.
TEST(ConvertCommand, SeveralFilesNeverReplaceEachOtherOrASourceOfTheRun) {
    CommandFixture f;
    writeBytes(f.dir.file("a.txt"), kSource);
    writeBytes(f.dir.file("a.csv"), "1,2,P9,K9,1,2,3\n");
    writeBytes(f.dir.file("b.txt"), kSource);
    writeBytes(f.dir.file("bKaisi.txt"), "1,2,P9,K9,1,2,3\n");
    f.selection.choose({f.dir.file("a.txt"), f.dir.file("a.csv")}, kNativePathStyle);
    f.command.run(f.selection, velkaro::TargetFormat::Kaisi);
    f.selection.choose({f.dir.file("b.txt"), f.dir.file("bKaisi.txt")}, kNativePathStyle);
    f.command.run(f.selection, velkaro::TargetFormat::Kaisi);
    EXPECT_TRUE(f.host.asked.empty());
    ASSERT_EQ(f.host.results.size(), 2u);
    EXPECT_EQ(f.host.results[0].rows[1].notes[0],
              "转换文件已由前面的源文件生成:" + f.dir.file("a.txt"));
    EXPECT_EQ(f.host.results[1].rows[0].notes[0],
              "转换文件是本次转换的源文件，不能覆盖:bKaisi.txt");
    EXPECT_EQ(f.host.results[1].rows[1].points, "1 点");
    EXPECT_EQ(readBytes(f.dir.file("aKaisi.txt")), "P1,K1,10.5,20.5,3.0\r\nP2,P2,11,21,4\r\n");
    EXPECT_EQ(readBytes(f.dir.file("bKaisi.txt")), "1,2,P9,K9,1,2,3\n");
}

// Writes the grid it was given and the points' count into the main file, so that a test sees
// what reached the writer.
class RecordingLayerWriter : public velkaro::PointLayerWriter {
  public:
    explicit RecordingLayerWriter(velkaro::LayerRequest request) : m_request(std::move(request)) {}
    bool create() override { return true; }
    velkaro::PointWritten add(const velkaro::LayerPoint &) override {
        ++m_points;
        return velkaro::PointWritten::Whole;
    }
    bool finish(velkaro::FolderSync) override {
        std::ofstream(outputPath())
            << "EPSG:" << (m_request.crs ? m_request.crs->epsg : 0) << " " << m_points;
        return true;
    }
    velkaro::FileFailure failure() const override { return {}; }
    bool failedCommitting() const override { return false; }
    std::string folderToSync() const override { return {}; }
    std::string outputPath() const override {
        return (std::filesystem::path(m_request.folder) / m_request.fileName).string();
    }

  private:
    velkaro::LayerRequest m_request;
    int m_points = 0;
};

class RecordingLayerWriters : public velkaro::PointLayerWriters {
  public:
    std::unique_ptr<velkaro::PointLayerWriter>
    writerFor(const velkaro::LayerRequest &request) const override {
        return std::make_unique<RecordingLayerWriter>(request);
    }
};

// A GIS format: the settings' grid reaches the writer and the outcome names it, the existing
// main file is asked about, and without writers the window says the program cannot write it.
TEST(ConvertCommand, GisFormatCarriesTheSettingsGrid) {
    CommandFixture f;
    writeBytes(f.dir.file("a.txt"), kSource);
    writeBytes(f.dir.file("b.txt"), kSource);
    writeBytes(f.dir.file("a.gpkg"), "old");
    f.selection.choose({f.dir.file("a.txt")}, kNativePathStyle);
    f.command.run(f.selection, velkaro::TargetFormat::GeoPackage);
    ASSERT_EQ(f.host.asked.size(), 1u);
    EXPECT_EQ(f.host.asked[0].text,
              "转换文件 a.gpkg" + changed(f.dir.file("a.gpkg")) + " 已存在。\n要替换它吗?");
    f.host.answer = Answer::Replace;
    f.command.run(f.selection, velkaro::TargetFormat::GeoPackage);
    ASSERT_EQ(f.host.results.size(), 1u);
    EXPECT_EQ(f.host.results[0].rows[0].notes,
              std::vector<std::string>{"本程序不能写 GIS 格式:a.gpkg"});
    EXPECT_EQ(readBytes(f.dir.file("a.gpkg")), "old");

    const RecordingLayerWriters writers;
    velkaro::usePointLayerWriters(&writers);
    WindowSettings settings;
    settings.options.crs = velkaro::CrsChoice{velkaro::CrsChoice::Mode::Epsg, 4548};
    f.command.run(f.selection, velkaro::TargetFormat::GeoPackage, settings);
    f.selection.choose({f.dir.file("a.txt"), f.dir.file("b.txt")}, kNativePathStyle);
    f.command.run(f.selection, velkaro::TargetFormat::Shapefile, settings);
    velkaro::usePointLayerWriters(nullptr);
    const std::string grid = "坐标系: EPSG:4548 CGCS2000 3° 带 39 (中央经线 117°E)";
    ASSERT_EQ(f.host.shown.size(), 1u);
    EXPECT_EQ(f.host.shown[0].text, "\t转换成功!\n生成转换文件:a.gpkg\n写入 2 点\n" + grid +
                                        "\n保存在: " + f.dir.folder());
    EXPECT_EQ(readBytes(f.dir.file("a.gpkg")), "EPSG:4548 2");
    ASSERT_EQ(f.host.results.size(), 2u);
    EXPECT_EQ(f.host.results[1].rows[1],
              (ResultRow{"b.txt", f.dir.file("b.shp"), "2 点", {}, RowState::Converted, grid}));
    EXPECT_EQ(readBytes(f.dir.file("b.shp")), "EPSG:4548 2");
}

// The stored settings: every value round-trips, a damaged store falls back to the defaults, and
// the main window's line names exactly what is in force.
TEST(WindowSettings, StoreRoundTripAndTheOptionsLine) {
    WindowSettings settings;
    EXPECT_EQ(optionsLine(settings, kMarkNames), "选项: 与原程序相同");
    settings.options.dxfCodePage = 936;
    settings.options.dxfAxes = velkaro::DxfAxes::En;
    settings.options.dxfLabels = velkaro::DxfLabels{2.5, 2};
    settings.options.cassColumns = velkaro::CassColumns::Name;
    settings.options.leaveOutLinesWithoutCoordinates = true;
    settings.outputPlace = OutputPlace::Folder;
    settings.outputFolder = "/d/out";
    EXPECT_EQ(fromValues(toValues(settings)), settings);
    EXPECT_EQ(optionsLine(settings, kMarkNames),
              "选项: DXF 代码页 936; 东坐标为 X; 注记 (字高 2.5, 高程 2 位小数); CASS 含点名; "
              "略去无坐标行; 输出到 </d/out>");
    settings.options.crs = velkaro::CrsChoice{velkaro::CrsChoice::Mode::Epsg, 4527};
    EXPECT_EQ(toValues(settings).at("crs"), "EPSG:4527");
    EXPECT_EQ(fromValues(toValues(settings)), settings);
    EXPECT_EQ(optionsLine(settings, kMarkNames),
              "选项: DXF 代码页 936; 东坐标为 X; 注记 (字高 2.5, 高程 2 位小数); CASS 含点名; "
              "略去无坐标行; 坐标系 EPSG:4527; 输出到 </d/out>");
    EXPECT_EQ(optionsLine(fromValues({{"crs", "auto"}}), kMarkNames), "选项: 坐标系 auto");
    for (const char *unknown :
         {"EPSG:4490", "EPSG:4555", "epsg:4527", "EPSG:4527 ", "4527", "Auto"}) {
        EXPECT_FALSE(fromValues({{"crs", unknown}}).options.crs) << unknown;
    }
    const SettingsValues damaged = {{"dxfCodePage", "65001"},     {"labels", "1"},
                                    {"labelHeight", "0.0000004"}, {"labelDecimals", "9"},
                                    {"outputPlace", "folder"},    {"outputFolder", ""}};
    const WindowSettings fallen = fromValues(damaged);
    EXPECT_FALSE(fallen.options.dxfCodePage);
    EXPECT_EQ(fallen.options.dxfLabels->height, 1.0);
    EXPECT_EQ(fallen.options.dxfLabels->elevationDecimals, 3);
    EXPECT_EQ(fallen.outputPlace, OutputPlace::BesideSource);
    EXPECT_FALSE(fallen.options.crs);
    EXPECT_EQ(parseLabelHeight("1e308"), std::nullopt);
    EXPECT_EQ(parseLabelHeight("0.5"), 0.5);
}

// The coordinate systems the settings offer: none, auto, then every grid by its EPSG code.
TEST(WindowSettings, CrsItemsNameEveryGrid) {
    const std::vector<CrsItem> &items = offeredCrsItems();
    ASSERT_EQ(items.size(), 66u);
    EXPECT_EQ(items[0].value, "");
    EXPECT_EQ(items[0].text, "无 (本地坐标)");
    EXPECT_EQ(items[1].value, "auto");
    EXPECT_EQ(items[1].text, "自动 (按东坐标的带号)");
    EXPECT_EQ(items[2].value, "EPSG:4491");
    EXPECT_EQ(items[2].text, "EPSG:4491 CGCS2000 6° 带 13 (75°E, 东坐标带带号)");
    EXPECT_EQ(items[38].text, "EPSG:4527 CGCS2000 3° 带 39 (117°E, 东坐标带带号)");
    EXPECT_EQ(items[65].text, "EPSG:4554 CGCS2000 3° 带 45 (135°E)");
    for (const CrsItem &item : items) {
        EXPECT_EQ(crsValueText(crsChoiceOf(item.value)), item.value);
    }
}

// The layout chosen in the settings is stored as the converter writes it, and the preview shows
// the chosen file's points as the run will read them, GBK names decoded.
TEST(WindowSettings, SourceLayoutAndItsPreview) {
    WindowSettings settings;
    settings.options.sourceReading = sourceReadingOf("cass", "utf-8");
    EXPECT_EQ(toValues(settings).at("sourceLayout"), "name,code,y,x,z");
    EXPECT_EQ(fromValues(toValues(settings)), settings);
    EXPECT_EQ(optionsLine(settings, kMarkNames), "选项: 源文件 name,code,y,x,z");
    EXPECT_EQ(fromValues({{"sourceLayout", "x,x"}}).options.sourceReading,
              velkaro::SourceReading{});
    settings.options.sourceReading = sourceReadingOf("rtk", "");
    const PreviewTable old =
        previewTable("1,2,\xbf\xd8,NULL,3515102.9,516181.7,42.8\n", settings.options);
    EXPECT_EQ(old.rows, (std::vector<std::vector<std::string>>{
                            {"控", "控", "3515102.9", "516181.7", "42.8"}}));
    EXPECT_EQ(old.note, "按原程序的方式读取");
    settings.options.sourceReading = sourceReadingOf("auto", "");
    EXPECT_TRUE(previewTable("P1,100,200,3\n", settings.options).note.starts_with("原因: "));
}

} // namespace

// With the summary option one file ends in the result dialog, which carries the summary.
TEST(ConvertCommand, SummaryOptionFillsTheReportsSummary) {
    CommandFixture f;
    writeBytes(f.dir.file("a.txt"), kSource);
    WindowSettings settings;
    settings.options.summary = true;
    f.selection.choose({f.dir.file("a.txt")}, kNativePathStyle);
    f.command.run(f.selection, velkaro::TargetFormat::Cass, settings);
    ASSERT_EQ(f.host.results.size(), 1u);
    EXPECT_EQ(f.host.results[0].summary,
              (std::vector<std::string>{"a.txt:", "  行: 读取 2, 取用 2", "  编码 K1: 1 点",
                                        "  编码 P2: 1 点"}));
}
