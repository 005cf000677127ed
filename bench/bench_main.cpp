// velkaro-bench: how velkaro-convert compares with copying the same file and flushing the copy to
// the disk (the converter flushes its output too), with awk one-liners as a reference, how much
// memory it needs, and, where valgrind is installed, the instructions it executes per point.
// Prints tables; never fails on a time.

#include "command_timer.h"
#include "rtk_generator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using velkaro::bench::CommandRun;

struct Options {
    std::uint64_t points = 1000000;
    std::uint64_t bigPoints = 4000000;  // 0: skip the memory check at a larger size
    std::uint64_t countPoints = 200000; // 0: skip counting instructions
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
        } else if (name == "--count-points") {
            options.countPoints = std::strtoull(value, nullptr, 10);
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
    const std::string copy = "cat " + quoted(source) + " > " + quoted(out / "copy.txt");
    std::vector<Case> cases = {
        {"copy + sync (cat, sync FILE)", copy + " && exec sync " + quoted(out / "copy.txt")},
        {"copy (cat)", "exec " + copy},
        {"velkaro-convert CASS 6.0", convert + " -f cass " + quoted(source) + " >/dev/null"},
        {"velkaro-convert Kaisi", convert + " -f kaisi " + quoted(source) + " >/dev/null"},
        {"velkaro-convert DXF", convert + " -f cad " + quoted(source) + " >/dev/null"},
        {"velkaro-convert -f all", convert + " -f all " + quoted(source) + " >/dev/null"},
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

// The instructions valgrind's callgrind counts for one command, from its report on stderr; 0
// when it could not run.
[[nodiscard]] std::uint64_t instructions(const std::string &command, const fs::path &report) {
    const std::string run = "valgrind --tool=callgrind --callgrind-out-file=/dev/null " + command +
                            " >/dev/null 2>" + quoted(report);
    if (std::system(run.c_str()) != 0) {
        return 0;
    }
    std::ifstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t at = line.find("Collected : ");
        if (at != std::string::npos) {
            return std::strtoull(line.c_str() + at + 12, nullptr, 10);
        }
    }
    return 0;
}

// Instructions per point of every velkaro-convert case: the count for `points` points less the
// count for the first point alone (start-up and the fixed cost of a run), per further point.
void printInstructions(const Options &options, const std::vector<Case> &cases,
                       const fs::path &out) {
    const fs::path many = generated(options, options.countPoints);
    const fs::path one = generated(options, 1);
    std::printf("\ninstructions per point (callgrind, %llu points, start-up subtracted)\n\n",
                static_cast<unsigned long long>(options.countPoints));
    for (const Case &c : cases) {
        const std::size_t at = c.command.find(" >/dev/null");
        if (c.name.rfind("velkaro-convert", 0) != 0 || at == std::string::npos) {
            continue;
        }
        std::string command = c.command.substr(5, at - 5); // without "exec " and the redirection
        const std::string file =
            quoted(options.folder / ("rtk-" + std::to_string(options.points) + ".txt"));
        command.replace(command.find(file), file.size(), "%s");
        const auto countFor = [&](const fs::path &source) {
            std::string run = command;
            run.replace(run.find("%s"), 2, quoted(source));
            return instructions(run, out / "callgrind.txt");
        };
        const std::uint64_t startUp = countFor(one);
        const std::uint64_t total = countFor(many);
        const double perPoint = total > startUp ? static_cast<double>(total - startUp) /
                                                      static_cast<double>(options.countPoints - 1)
                                                : 0.0;
        std::printf("| %-30s | %8.0f |\n", c.name.c_str(), perPoint);
    }
    fs::remove(many);
    fs::remove(one);
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: velkaro-bench [--points N] [--big-points N] [--count-points N] "
                     "[--runs N] [--dir FOLDER]\n");
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
    const double copy = runs.front().seconds; // the first case is the synced copy
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
    if (options.countPoints > 1 && hasCommand("valgrind")) {
        printInstructions(options, cases, out);
    }
    return allSucceeded ? 0 : 1;
}
