#include "conversion_plan.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using velkaro::ConversionRequest;
using Kind = velkaro::ConversionOutcome::Kind;

// A folder with a.txt, b.txt (a second name of the existing output aKaisi.txt), the folder out
// and alias, a link to out.
struct PlanFolder {
    velkaro::test::TempDir dir;
    PlanFolder() {
        velkaro::test::writeBytes(dir.file("a.txt"), "1,2,P1,K1,10.5,20.5,3.0\n");
        velkaro::test::writeBytes(dir.file("aKaisi.txt"), "1,2,P2,K2,10.5,20.5,3.0\n");
        fs::create_hard_link(dir.file("aKaisi.txt"), dir.file("b.txt"));
        fs::create_directory(dir.path() / "out");
        fs::create_directory_symlink(dir.path() / "out", dir.path() / "alias");
    }
    [[nodiscard]] ConversionRequest request(const std::string &source, std::string_view format,
                                            const std::string &folder = {}) const {
        ConversionRequest request{dir.file(source), source, std::string(format),
                                  folder.empty() ? dir.folder() : dir.file(folder)};
        return request;
    }
};

struct Row {
    const char *what;
    std::vector<ConversionRequest> requests;
    std::vector<std::optional<Kind>> refusals;
};

TEST(PlanConversions, RefusesWhatWouldDestroyAnotherConversionsData) {
    const PlanFolder f;
    const std::string_view cass = velkaro::kCassItemText;
    const std::string_view kaisi = velkaro::kKaisiItemText;
    ConversionRequest noSource = f.request("a.txt", cass);
    noSource.sourcePath.clear();
    ConversionRequest noFormat = f.request("a.txt", cass);
    noFormat.formatItemText.reset();
    const Row rows[] = {
        {"formats apart", {f.request("a.txt", cass), f.request("a.txt", kaisi)}, {{}, {}}},
        {"output is a later source's other name",
         {f.request("a.txt", kaisi), f.request("b.txt", cass)},
         {Kind::OutputIsSource, {}}},
        {"one new output through a link to its folder",
         {f.request("a.txt", cass, "out"), f.request("a.txt", cass, "alias/.")},
         {{}, Kind::DuplicateOutput}},
        {"the same source twice",
         {f.request("a.txt", cass), f.request("a.txt", cass)},
         {{}, Kind::DuplicateOutput}},
        {"nothing to run", {noSource, noFormat}, {Kind::NoSource, Kind::NoFormat}},
    };
    for (const Row &row : rows) {
        const std::vector<velkaro::PlannedConversion> plan = velkaro::planConversions(row.requests);
        ASSERT_EQ(plan.size(), row.requests.size()) << row.what;
        for (std::size_t i = 0; i < plan.size(); ++i) {
            const std::optional<Kind> refused =
                plan[i].refusal ? std::optional<Kind>(plan[i].refusal->kind) : std::nullopt;
            EXPECT_EQ(refused, row.refusals[i]) << row.what << ", conversion " << i;
        }
    }
    const auto plan = velkaro::planConversions(
        {f.request("a.txt", cass, "out"), f.request("a.txt", cass, "alias")});
    EXPECT_EQ(plan[1].outputPath, f.dir.file("alias") + "/aCass.dat");
    ASSERT_TRUE(plan[1].refusal);
    EXPECT_EQ(plan[1].refusal->message, "转换文件已由前面的源文件生成:" + f.dir.file("a.txt"));
}

} // namespace
