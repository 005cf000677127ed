#include "source_stream.h"

#include "file_system_path.h"

#include <algorithm>
#include <bit>
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
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velkaro {
namespace {
constexpr char kEndOfFileByte = 0x1A;
// The most bytes one read stores (the old reader's 256-byte buffer less its zero byte).
constexpr std::size_t kMaxStored = 255;
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
        failure.reason =
            fs::is_directory(status) ? FailureReason::IsFolder : FailureReason::NotRegularFile;
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

// Two halves, each after its lead byte, and the slack after the second: value-initialised, so
// that the slack a reader loads is never uninitialised memory.
constexpr std::size_t kTotalBuffer = 2 * (1 + 32 * 1024) + kLineScanSlack;
constexpr std::size_t kTotalPieces = 2 * (256 + kLineScanSlack);

SourceStream::SourceStream(const std::string &path)
    : m_file(openRegularFile(path, m_openFailure)), m_buffer(new char[kTotalBuffer]()),
      m_pieces(new char[kTotalPieces]()), m_openedState(currentState()) {}

SourceStream::SourceStream(std::FILE *file)
    : m_file(file), m_buffer(new char[kTotalBuffer]()), m_pieces(new char[kTotalPieces]()) {}

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
    // Checked once per buffer, so that watching costs nothing per line.
    if (m_progress != nullptr && m_progress->cancelRequested.load(std::memory_order_relaxed)) {
        m_cancelled = true;
        return 0;
    }
    const std::size_t count = std::fread(m_buffer.get() + offset, 1, kBufferSize, m_file.get());
    if (count < kBufferSize && std::ferror(m_file.get())) {
        m_failed = true;
        m_readError = SystemError::fromErrno();
    }
    if (m_progress != nullptr) {
        m_progress->bytesRead.fetch_add(count, std::memory_order_relaxed);
    }
    return count;
}

std::size_t SourceStream::switchHalves() {
    m_half ^= 1;
    return 1 + static_cast<std::size_t>(m_half) * (1 + kBufferSize);
}

void SourceStream::findSpecialBytes() {
    const char *begin = m_buffer.get() + m_begin;
    const std::size_t count = m_end - m_begin;
    const void *end = std::memchr(begin, kEndOfFileByte, count);
    const void *zero = std::memchr(begin, '\0', count);
    m_nextEndOfFile =
        end ? static_cast<std::size_t>(static_cast<const char *>(end) - begin) : count;
    m_nextZero = zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - begin) : count;
    m_nextEndOfFile += m_begin;
    m_nextZero += m_begin;
}

bool SourceStream::fill() {
    if (m_begin < m_end) {
        return true;
    }
    if (m_eof || !m_file) {
        return false;
    }
    const std::size_t start = switchHalves();
    m_begin = start;
    m_end = start + readInto(start);
    findSpecialBytes();
    if (m_end == start) {
        m_eof = true; // the end of the file, or a read error (failed() tells which)
    }
    return m_end != start;
}

int SourceStream::peekAfterCurrent() {
    if (m_begin + 1 < m_end) {
        return static_cast<unsigned char>(m_buffer[m_begin + 1]);
    }
    if (m_eof || !m_file) {
        return -1;
    }
    // Keep the current byte in the other half's lead byte and read more behind it.
    const std::size_t start = switchHalves();
    m_buffer[start - 1] = m_buffer[m_begin];
    m_begin = start - 1;
    m_end = start + readInto(start);
    findSpecialBytes();
    return m_end > start ? static_cast<unsigned char>(m_buffer[start]) : -1;
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

namespace {

// The first line feed among the count bytes at begin, or null. Lines are short, so 16 bytes at a
// time inline cost less than a library call; up to 15 bytes past the end are read (the buffer
// has that slack) and ignored.
[[nodiscard]] const char *findLineFeed(const char *begin, std::size_t count) {
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    for (std::size_t at = 0; at < count; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(begin + at));
        const auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)));
        if (bits != 0) {
            const std::size_t found = at + static_cast<unsigned>(std::countr_zero(bits));
            return found < count ? begin + found : nullptr;
        }
    }
    return nullptr;
#else
    return static_cast<const char *>(std::memchr(begin, '\n', count));
#endif
}

} // namespace

// The usual line lies whole in the buffer before any 0x1A or zero byte, with its LF (or CR LF)
// within the 256 bytes a read may take: its text is handed out where it is. Anything else goes
// through readLine, which carries out every rule.
bool SourceStream::nextLine(SourceLine &line) {
    const std::size_t plainEnd = std::min(m_nextEndOfFile, m_nextZero);
    const std::size_t window =
        plainEnd > m_begin ? std::min(plainEnd - m_begin, kMaxStored + 1) : 0;
    const char *begin = m_buffer.get() + m_begin;
    if (const char *lineFeed = findLineFeed(begin, window)) {
        const auto raw = static_cast<std::size_t>(lineFeed - begin);
        const std::size_t text = raw > 0 && begin[raw - 1] == '\r' ? raw - 1 : raw;
        if (text < kMaxStored) {
            m_begin += raw + 1;
            ++m_lineFeeds;
            line = SourceLine{std::string_view(begin, text), true};
            return true;
        }
    }
    return nextLineCopied(line);
}

bool SourceStream::nextLineCopied(SourceLine &line) {
    m_piece ^= 1;
    char *piece =
        m_pieces.get() + static_cast<std::size_t>(m_piece) * (kPieceSize + kLineScanSlack);
    const std::size_t stored = readLine(piece, kMaxStored);
    if (m_begin > m_nextZero && m_begin < m_end) {
        // Past a zero byte: the lines after it go the usual way again. Each search starts after
        // the zero byte found last, so a chunk is searched once however many it holds.
        const void *zero = std::memchr(m_buffer.get() + m_begin, '\0', m_end - m_begin);
        m_nextZero =
            zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - m_buffer.get())
                 : m_end;
    }
    const void *zero = std::memchr(piece, '\0', stored);
    const std::size_t text =
        zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - piece) : stored;
    const bool lineFeed = !zero && stored > 0 && piece[stored - 1] == '\n';
    line =
        SourceLine{std::string_view(piece, lineFeed ? text - 1 : text), lineFeed, zero != nullptr};
    return stored > 0;
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
