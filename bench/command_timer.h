#pragma once

#include <string>
#include <vector>

namespace velkaro::bench {

// One run of a shell command: its wall time and the peak resident memory of the process tree's
// largest waited-for child (what wait4 reports).
struct CommandRun {
    double seconds = 0;
    long peakKiB = 0;
    bool succeeded = false;
};

// Runs command through /bin/sh once.
[[nodiscard]] CommandRun runCommand(const std::string &command);

// Runs each command once to warm the caches, then all of them in turn, `runs` rounds, so that a
// slow spell of the machine falls on every command alike. For each command: the median run (by
// time) and the largest peak memory seen; succeeded is false when any of its runs failed.
[[nodiscard]] std::vector<CommandRun> medianRuns(const std::vector<std::string> &commands,
                                                 int runs);

} // namespace velkaro::bench
