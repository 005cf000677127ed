#include "command_timer.h"

#include <algorithm>
#include <chrono>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velkaro::bench {

CommandRun runCommand(const std::string &command) {
    CommandRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    const bool waited = child > 0 && wait4(child, &status, 0, &usage) == child;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.succeeded = waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKiB = usage.ru_maxrss; // of sh when it ran a pipeline, of the command when it exec'd
    return run;
}

namespace {

[[nodiscard]] CommandRun median(std::vector<CommandRun> runs) {
    bool succeeded = true;
    long peak = 0;
    for (const CommandRun &run : runs) {
        succeeded = succeeded && run.succeeded;
        peak = std::max(peak, run.peakKiB);
    }
    std::sort(runs.begin(), runs.end(),
              [](const CommandRun &a, const CommandRun &b) { return a.seconds < b.seconds; });
    CommandRun result = runs[runs.size() / 2];
    result.succeeded = succeeded;
    result.peakKiB = peak;
    return result;
}

} // namespace

std::vector<CommandRun> medianRuns(const std::vector<std::string> &commands, int runs) {
    std::vector<std::vector<CommandRun>> measured(commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const CommandRun warmUp = runCommand(commands[i]);
        if (!warmUp.succeeded) {
            measured[i].push_back(warmUp); // reported as failed
        }
    }
    for (int round = 0; round < runs; ++round) {
        for (std::size_t i = 0; i < commands.size(); ++i) {
            measured[i].push_back(runCommand(commands[i]));
        }
    }
    std::vector<CommandRun> medians;
    for (std::vector<CommandRun> &runsOfOne : measured) {
        medians.push_back(median(std::move(runsOfOne)));
    }
    return medians;
}

} // namespace velkaro::bench
