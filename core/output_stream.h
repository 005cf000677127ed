#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "byte_copy.h"

#include "system_error.h"

namespace velkaro {

// Copies a literal without its terminating zero byte.
template <std::size_t N> [[nodiscard]] char *appendLiteral(char *out, const char (&literal)[N]) {
    std::memcpy(out, literal, N - 1);
    return out + N - 1;
}

// A write-only byte stream that carries out the text-mode rule itself on every platform: every
// line feed written reaches the file as CR LF, every other byte unchanged. Writes go through one
// fixed buffer. Failures are sticky: after the first failed write nothing more is written and
// ok() stays false, so the caller checks once at the end instead of after every write.
// The stream does not own the file.
class OutputStream {
  public:
    explicit OutputStream(std::FILE *file);
    OutputStream(const OutputStream &) = delete;
    OutputStream &operator=(const OutputStream &) = delete;
    ~OutputStream() = default;

    // Writes text, each line feed in it as CR LF.
    void write(std::string_view text) {
        if (!containsLineFeed(text)) {
            put(text.data(), text.size());
        } else {
            writeLines(text);
        }
    }
    // Writes bytes that are already in the file's form (their line ends are CR LF already).
    void writeRaw(std::string_view bytes) { put(bytes.data(), bytes.size()); }
    // Room for `size` bytes (at most kRoomLimit) after what is buffered, for a writer that puts
    // a whole record there in the file's form and then calls commit with the end it wrote.
    [[nodiscard]] char *room(std::size_t size) {
        if (kBufferSize - m_used < size) {
            drain();
        }
        return m_buffer + m_used;
    }
    void commit(const char *end) { m_used = static_cast<std::size_t>(end - m_buffer); }
    // Hands the buffered bytes to the file and flushes the file's own buffer.
    void flush();

    [[nodiscard]] bool ok() const { return m_ok; }
    // The system's error of the first write that failed.
    [[nodiscard]] SystemError error() const { return m_error; }

    static constexpr std::size_t kRoomLimit = 16 * 1024;

    // Whole words at a time, the last one overlapping the one before: the values written are
    // short, and both a library call and a byte loop cost more than the check itself.
    [[nodiscard]] static bool containsLineFeed(std::string_view text) {
        const char *bytes = text.data();
        const std::size_t size = text.size();
        if (size >= 8) {
            for (std::size_t i = 0; i + 8 < size; i += 8) {
                if (hasLineFeed<std::uint64_t>(bytes + i)) {
                    return true;
                }
            }
            return hasLineFeed<std::uint64_t>(bytes + size - 8);
        }
        if (size >= 4) {
            return hasLineFeed<std::uint32_t>(bytes) ||
                   hasLineFeed<std::uint32_t>(bytes + size - 4);
        }
        for (std::size_t i = 0; i < size; ++i) {
            if (bytes[i] == '\n') {
                return true;
            }
        }
        return false;
    }

  private:
    // Whether the sizeof(Word) bytes at `bytes` hold a line feed.
    template <typename Word> [[nodiscard]] static bool hasLineFeed(const char *bytes) {
        constexpr Word kOnes = static_cast<Word>(~Word{0}) / 0xFF;
        constexpr Word kHighs = kOnes * 0x80;
        Word word = 0;
        std::memcpy(&word, bytes, sizeof word);
        word ^= kOnes * '\n';
        return ((word - kOnes) & ~word & kHighs) != 0;
    }

    void put(const char *bytes, std::size_t count) {
        if (count <= kBufferSize - m_used) {
            std::memcpy(m_buffer + m_used, bytes, count);
            m_used += count;
        } else {
            putSlowly(bytes, count);
        }
    }
    void putSlowly(const char *bytes, std::size_t count);
    void writeLines(std::string_view text);
    void drain();
    void fail();

    static constexpr std::size_t kBufferSize = 64 * 1024;
    // How much is handed to the file before the disk is asked to start writing it: large enough
    // that the requests stay few, small enough that the disk starts early in a large output.
    static constexpr std::uint64_t kWritebackStep = 4 * 1024 * 1024;

    std::FILE *m_file;
    char m_buffer[kBufferSize];
    std::size_t m_used = 0;
    std::uint64_t m_handedOver = 0;    // bytes given to the file so far
    std::uint64_t m_writebackFrom = 0; // the first of them the disk was not yet asked to write
    SystemError m_error;
    bool m_ok = true;
};

} // namespace velkaro
