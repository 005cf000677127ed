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

// Runs command once to warm the caches, then `runs` times; the median run (by time) and the
// largest peak memory seen. succeeded is false when any run failed.
[[nodiscard]] CommandRun medianRun(const std::string &command, int runs);

} // namespace velkaro::bench
