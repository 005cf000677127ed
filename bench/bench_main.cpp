// velkaro-bench: how velkaro-convert compares with copying the same file, with awk one-liners
// as a reference, and how much memory it needs. Prints a table; never fails on a time.

#include "command_timer.h"
#include "rtk_generator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using velkaro::bench::CommandRun;

struct Options {
    std::uint64_t points = 1000000;
    std::uint64_t bigPoints = 4000000; // 0: skip the memory check at a larger size
    int runs = 5;
    fs::path folder = "build/bench";
};

[[nodiscard]] bool parseOptions(int argc, char **argv, Options &options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char *value = argv[i + 1];
        if (name == "--points") {
            options.points = std::strtoull(value, nullptr, 10);
        } else if (name == "--big-points") {
            options.bigPoints = std::strtoull(value, nullptr, 10);
        } else if (name == "--runs") {
            options.runs = std::atoi(value);
        } else if (name == "--dir") {
            options.folder = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.points > 0 && options.runs > 0;
}

[[nodiscard]] std::string quoted(const fs::path &path) {
    return "'" + path.string() + "'";
}

[[nodiscard]] bool hasCommand(const std::string &name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct Case {
    std::string name;
    std::string command;
};

// The awk reference: the same CASS 6.0 lines and DXF entities, printed by awk's own printf.
[[nodiscard]] std::vector<Case> awkCases(const std::string &awk, const fs::path &source,
                                         const fs::path &out) {
    const std::string code = "($4==\"NULL\"?$3:$4)";
    const std::string cass = awk + " -F'[,\\t]+' '{printf \"%s,,%s,%s,%s\\r\\n\", " + code +
                             ", $6, $5, $7}' " + quoted(source) + " > " + quoted(out / "awk.dat");
    const std::string dxf =
        awk +
        " -F'[,\\t]+' 'BEGIN{printf \"  0\\r\\nSECTION\\r\\n  2\\r\\nENTITIES\\r\\n\"}"
        " {printf \"  0\\r\\nPOINT\\r\\n8\\r\\n%s\\r\\n 10\\r\\n%f\\r\\n 20\\r\\n%f\\r\\n"
        " 30\\r\\n%f\\r\\n\", " +
        code + ", $5, $6, $7} END{printf \"  0\\r\\nENDSEC\\r\\n  0\\r\\nEOF\\r\\n\"}' " +
        quoted(source) + " > " + quoted(out / "awk.dxf");
    return {{awk + " CASS 6.0 (reference)", cass}, {awk + " DXF (reference)", dxf}};
}

[[nodiscard]] std::vector<Case> casesFor(const fs::path &bin, const fs::path &source,
                                         const fs::path &out) {
    const std::string convert = "exec " + quoted(bin / "velkaro-convert") + " -o " + quoted(out);
    std::vector<Case> cases = {
        {"copy (cat)", "exec cat " + quoted(source) + " > " + quoted(out / "copy.txt")},
        {"velkaro-convert CASS 6.0", convert + " -f cass " + quoted(source) + " >/dev/null"},
        {"velkaro-convert Kaisi", convert + " -f kaisi " + quoted(source) + " >/dev/null"},
        {"velkaro-convert DXF", convert + " -f cad " + quoted(source) + " >/dev/null"},
        // The options that cost time: labels (three entities per point) and the summary.
        {"velkaro-convert DXF --labels",
         convert + " -f cad --labels " + quoted(source) + " >/dev/null"},
        {"velkaro-convert DXF, 3 options", convert +
                                               " -f cad --labels --dxf-axes=en --dxf-codepage " +
                                               quoted(source) + " >/dev/null"},
        {"velkaro-convert CASS --summary",
         convert + " -f cass --summary " + quoted(source) + " >/dev/null"}};
    const std::string awk = hasCommand("mawk") ? "mawk" : "awk";
    for (Case &c : awkCases(awk, source, out)) {
        cases.push_back(std::move(c));
    }
    if (hasCommand("ogr2ogr")) {
        cases.push_back({"GDAL ogr2ogr DXF (reference)",
                         "exec ogr2ogr -f DXF " + quoted(out / "gdal.dxf") +
                             " CSV:" + quoted(source) +
                             " -oo HEADERS=NO -oo X_POSSIBLE_NAMES=field_5"
                             " -oo Y_POSSIBLE_NAMES=field_6 -oo Z_POSSIBLE_NAMES=field_7"});
    }
    return cases;
}

void printRow(const std::string &name, const CommandRun &run, double megabytes, double copy) {
    std::printf("| %-30s | %9.1f | %8.1f | %7.2f | %9.1f |%s\n", name.c_str(), run.seconds * 1000,
                megabytes / run.seconds, run.seconds / copy,
                static_cast<double>(run.peakKiB) / 1024, run.succeeded ? "" : " FAILED");
}

[[nodiscard]] fs::path generated(const Options &options, std::uint64_t points) {
    const fs::path path = options.folder / ("rtk-" + std::to_string(points) + ".txt");
    if (!velkaro::bench::generateRtkExport(path.string(), points, 20261208,
                                           velkaro::bench::NumberMix::Realistic)) {
        std::fprintf(stderr, "velkaro-bench: cannot write %s\n", path.string().c_str());
        std::exit(1);
    }
    return path;
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: velkaro-bench [--points N] [--big-points N] [--runs N] "
                             "[--dir FOLDER]\n");
        return 2;
    }
    const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
    const fs::path out = options.folder / "out";
    fs::create_directories(out);
    const fs::path source = generated(options, options.points);
    const double megabytes = static_cast<double>(fs::file_size(source)) / 1e6;
    std::printf("%llu points, %.1f MB, median of %d rounds of all commands after a warm-up\n\n",
                static_cast<unsigned long long>(options.points), megabytes, options.runs);
    std::printf("| %-30s | %9s | %8s | %7s | %9s |\n", "command", "time ms", "MB/s", "x copy",
                "peak MiB");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(32, '-').c_str(), std::string(11, '-').c_str(),
                std::string(10, '-').c_str(), std::string(9, '-').c_str(),
                std::string(11, '-').c_str());
    bool allSucceeded = true;
    const std::vector<Case> cases = casesFor(bin, source, out);
    std::vector<std::string> commands;
    for (const Case &c : cases) {
        commands.push_back(c.command);
    }
    const std::vector<CommandRun> runs = velkaro::bench::medianRuns(commands, options.runs);
    const double copy = runs.front().seconds; // the first case is the copy
    for (std::size_t i = 0; i < cases.size(); ++i) {
        printRow(cases[i].name, runs[i], megabytes, copy);
        allSucceeded = allSucceeded && runs[i].succeeded;
    }
    if (options.bigPoints > 0) {
        const fs::path big = generated(options, options.bigPoints);
        const double bigMegabytes = static_cast<double>(fs::file_size(big)) / 1e6;
        const CommandRun run =
            velkaro::bench::runCommand("exec " + quoted(bin / "velkaro-convert") + " -o " +
                                       quoted(out) + " -f cad " + quoted(big) + " >/dev/null");
        printRow("DXF, " + std::to_string(options.bigPoints) + " points (1 run)", run, bigMegabytes,
                 copy * bigMegabytes / megabytes);
        allSucceeded = allSucceeded && run.succeeded;
        fs::remove(big);
    }
    return allSucceeded ? 0 : 1;
}
