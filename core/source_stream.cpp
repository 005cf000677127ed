#include "source_stream.h"

#include "file_system_path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#ifdef _WIN32
#include "windows_api.h"
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velkaro {
namespace {
constexpr char kEndOfFileByte = 0x1A;
} // namespace

namespace {

// Only a regular file (or a link to one) is a source file: opening a FIFO blocks until something
// writes to it, a device such as /dev/zero need not ever end, and some systems open a folder.
// Checked before opening, since the open itself is what would block.
[[nodiscard]] std::FILE *openRegularFile(const std::string &path, FileFailure &failure) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(toFileSystemPath(path), error);
    failure.path = path;
    if (error) {
        failure.error = {SystemError::Domain::Posix, error.value()};
        failure.reason = reasonOf(failure.error);
        return nullptr;
    }
    if (!fs::is_regular_file(status)) {
        failure.reason = fs::is_directory(status) ? FailureReason::IsFolder
                                                  : FailureReason::NotRegularFile;
        return nullptr;
    }
    errno = 0;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        failure = failureOf(path, SystemError::fromErrno());
    }
    return file;
}

} // namespace

SourceStream::SourceStream(const std::string &path)
    : m_file(openRegularFile(path, m_openFailure)), m_buffer(new char[kBufferSize]),
      m_openedState(currentState()) {}

SourceStream::SourceStream(std::FILE *file) : m_file(file), m_buffer(new char[kBufferSize]) {}

SourceStream::FileState SourceStream::currentState() const {
    if (!m_file) {
        return {};
    }
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(m_file.get())));
    FILE_BASIC_INFO times{};
    LARGE_INTEGER size{};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times) ||
        !GetFileSizeEx(handle, &size)) {
        return {};
    }
    return {size.QuadPart, times.LastWriteTime.QuadPart, times.ChangeTime.QuadPart};
#else
    struct stat status {};
    if (fstat(fileno(m_file.get()), &status) != 0) {
        return {};
    }
#ifdef __linux__
    return {status.st_size, status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec,
            status.st_ctim.tv_sec * 1000000000LL + status.st_ctim.tv_nsec};
#else
    return {status.st_size, status.st_mtime, status.st_ctime};
#endif
#endif
}

bool SourceStream::changedSinceOpened() const {
    return m_openedState.size >= 0 && m_file && !(currentState() == m_openedState);
}

std::size_t SourceStream::readInto(std::size_t offset) {
    const std::size_t count =
        std::fread(m_buffer.get() + offset, 1, kBufferSize - offset, m_file.get());
    if (count < kBufferSize - offset && std::ferror(m_file.get())) {
        m_failed = true;
        m_readError = SystemError::fromErrno();
    }
    return count;
}

bool SourceStream::fill() {
    if (m_begin < m_end) {
        return true;
    }
    if (m_eof || !m_file) {
        return false;
    }
    m_begin = 0;
    m_end = readInto(0);
    if (m_end == 0) {
        m_eof = true; // the end of the file, or a read error (failed() tells which)
    }
    return m_end != 0;
}

int SourceStream::peekAfterCurrent() {
    if (m_begin + 1 < m_end) {
        return static_cast<unsigned char>(m_buffer[m_begin + 1]);
    }
    if (m_eof || !m_file) {
        return -1;
    }
    // Keep the current byte at the front and read more behind it.
    m_buffer[0] = m_buffer[m_begin];
    m_begin = 0;
    m_end = 1 + readInto(1);
    return m_end > 1 ? static_cast<unsigned char>(m_buffer[1]) : -1;
}

namespace {

// The start of bytes[0, count) that can be copied as it is, and whether a line end follows it
// inside the window: LF, or CR LF, which both reach the reader as one LF. The run stops before
// a 0x1A, and before a CR at the end of the window (its LF may be in the next read). A CR
// elsewhere is an ordinary byte, so two vectorised searches do it.
struct PlainRun {
    std::size_t bytes = 0;
    std::size_t lineEnd = 0; // 0: no line end follows; 1: LF; 2: CR LF
};

[[nodiscard]] PlainRun plainRun(const char *bytes, std::size_t count) {
    const void *lineFeed = std::memchr(bytes, '\n', count);
    std::size_t run =
        lineFeed ? static_cast<std::size_t>(static_cast<const char *>(lineFeed) - bytes) : count;
    if (const void *end = std::memchr(bytes, kEndOfFileByte, run)) {
        return {static_cast<std::size_t>(static_cast<const char *>(end) - bytes), 0};
    }
    const bool crBefore = run > 0 && bytes[run - 1] == '\r';
    if (lineFeed) {
        return crBefore ? PlainRun{run - 1, 2} : PlainRun{run, 1};
    }
    return {crBefore ? run - 1 : run, 0};
}

} // namespace

std::size_t SourceStream::readLine(char *out, std::size_t capacity) {
    std::size_t stored = 0;
    while (stored < capacity && fill()) {
        const std::size_t window = std::min(m_end - m_begin, capacity - stored);
        const PlainRun plain = plainRun(m_buffer.get() + m_begin, window);
        const std::size_t run = plain.bytes;
        std::memcpy(out + stored, m_buffer.get() + m_begin, run);
        stored += run;
        m_begin += run;
        if (plain.lineEnd != 0) {
            m_begin += plain.lineEnd; // the common way a line ends, without a byte-wise step
            out[stored++] = '\n';
            ++m_lineFeeds;
            break;
        }
        if (run == window) {
            continue; // the buffer ran out (refill) or the line is full (the loop ends)
        }
        const char c = m_buffer[m_begin];
        if (c == kEndOfFileByte && !m_pastEndByte) {
            // Nothing at or after this byte is converted; the rest of the buffer is kept aside
            // so that what it held can still be counted. The file stays open for
            // changedSinceOpened().
            m_eof = true;
            m_endByteLine = m_lineFeeds + 1;
            m_tailBegin = m_begin + 1;
            m_tailEnd = m_end;
            m_begin = m_end;
            break;
        }
        if (c == '\r' && peekAfterCurrent() == '\n') {
            ++m_begin; // CR LF reaches the reader as LF
            continue;
        }
        ++m_begin;
        out[stored++] = c;
        if (c == '\n') {
            ++m_lineFeeds;
            break;
        }
    }
    return stored;
}

std::uint64_t SourceStream::countContentLinesLeft() {
    std::uint64_t lines = 0;
    bool content = false; // the current line holds a byte other than blanks
    char chunk[256];
    for (;;) {
        const std::size_t count = readLine(chunk, sizeof chunk);
        if (count == 0) {
            return content ? lines + 1 : lines;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const char c = chunk[i];
            content = content || (c != ' ' && c != '\t' && c != '\r' && c != '\n' &&
                                  !(m_pastEndByte && c == kEndOfFileByte));
        }
        if (chunk[count - 1] == '\n') {
            lines += content ? 1 : 0;
            content = false;
        }
    }
}

std::uint64_t SourceStream::countContentLinesAfterEndOfFileByte() {
    if (m_endByteLine == 0 || m_pastEndByte) {
        return 0;
    }
    m_pastEndByte = true;
    m_eof = false;
    m_begin = m_tailBegin;
    m_end = m_tailEnd;
    return countContentLinesLeft();
}

} // namespace velkaro
