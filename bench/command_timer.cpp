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

CommandRun medianRun(const std::string &command, int runs) {
    CommandRun warmUp = runCommand(command);
    std::vector<CommandRun> measured;
    bool succeeded = warmUp.succeeded;
    long peak = warmUp.peakKiB;
    for (int i = 0; i < runs; ++i) {
        measured.push_back(runCommand(command));
        succeeded = succeeded && measured.back().succeeded;
        peak = std::max(peak, measured.back().peakKiB);
    }
    std::sort(measured.begin(), measured.end(),
              [](const CommandRun &a, const CommandRun &b) { return a.seconds < b.seconds; });
    CommandRun median = measured.empty() ? warmUp : measured[measured.size() / 2];
    median.succeeded = succeeded;
    median.peakKiB = peak;
    return median;
}

} // namespace velkaro::bench
