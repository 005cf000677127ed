#include "hostile_support.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velkaro::test {
namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

bool readSnapshot(const std::string &path, std::int64_t &mtimeNs, std::int64_t &size) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    mtimeNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    size = static_cast<std::int64_t>(info.st_size);
    return true;
}

} // namespace

FileSnapshot::FileSnapshot(std::string path) : m_path(std::move(path)) {
    readSnapshot(m_path, m_mtimeNs, m_size);
    m_bytes = readBytes(m_path);
}

std::string FileSnapshot::changes() const {
    std::int64_t mtimeNs = 0;
    std::int64_t size = 0;
    if (!readSnapshot(m_path, mtimeNs, size)) {
        return m_path + " is gone";
    }
    std::string what;
    if (mtimeNs != m_mtimeNs) {
        what += "modification time changed; ";
    }
    if (size != m_size || readBytes(m_path) != m_bytes) {
        what += "bytes changed; ";
    }
    return what;
}

bool runningAsRoot() {
    return geteuid() == 0;
}

bool canRunAsNobody() {
    return runInChild([] { return geteuid() == kNobody || geteuid() != 0 ? 0 : 1; }, true)
               .exitCode == 0;
}

ChildEnd runInChild(const std::function<int()> &body, bool asNobody, std::chrono::seconds limit) {
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (asNobody && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(125);
        }
        _exit(body());
    }
    ChildEnd end;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            break;
        }
        if (std::chrono::steady_clock::now() - start > limit) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            end.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    end.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    end.exitCode = !end.timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return end;
}

std::string commandOutput(const std::string &command) {
    std::FILE *pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string output;
    char chunk[4096];
    for (std::size_t count = 0; (count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        output.append(chunk, count);
    }
    if (::pclose(pipe) != 0) {
        throw std::runtime_error("failed: " + command);
    }
    return output;
}

std::string shellQuoted(const std::string &text) {
    std::string result = "'";
    for (char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

std::string converterPath() {
    const char *bin = std::getenv("VELKARO_BIN");
    return (fs::absolute(bin ? bin : "build/bin") / "velkaro-convert").string();
}

ProgramRun runConverter(const fs::path &folder, const std::vector<std::string> &arguments,
                        const std::string &prefix, const std::string &converter) {
    std::string command = "cd " + shellQuoted(folder.string()) + " && " + prefix +
                          shellQuoted(converter.empty() ? converterPath() : converter);
    for (const std::string &argument : arguments) {
        command += " " + shellQuoted(argument);
    }
    const std::string base = (folder.parent_path() / folder.filename()).string();
    const std::string outFile = base + ".out";
    const std::string errFile = base + ".err";
    command += " >" + shellQuoted(outFile) + " 2>" + shellQuoted(errFile);
    ProgramRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readBytes(outFile);
    run.err = readBytes(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return run;
}

SmallDisk::SmallDisk(const TempDir &dir, const std::string &options) : m_path(dir.file("disk")) {
    fs::create_directory(m_path);
    m_mounted = geteuid() == 0 && mount("velkaro-test", m_path.c_str(), "tmpfs",
                                        MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (m_mounted) {
        umount2(m_path.c_str(), MNT_DETACH);
    }
}

std::uint64_t fillDisk(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return 0;
    }
    std::setvbuf(file, nullptr, _IONBF, 0);
    const std::string block(512, 'f');
    std::uint64_t written = 0;
    for (;;) {
        const std::size_t count = std::fwrite(block.data(), 1, block.size(), file);
        written += count;
        if (count < block.size()) {
            break;
        }
    }
    std::fclose(file);
    return written;
}

} // namespace velkaro::test
