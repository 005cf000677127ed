#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace velkaro {

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
    // Hands the buffered bytes to the file and flushes the file's own buffer.
    void flush();

    [[nodiscard]] bool ok() const { return m_ok; }

  private:
    // Eight bytes at a time: the values written are short, and a library call costs more.
    [[nodiscard]] static bool containsLineFeed(std::string_view text) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        std::size_t i = 0;
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, sizeof word);
            word ^= kOnes * '\n';
            if ((word - kOnes) & ~word & kHighs) {
                return true;
            }
        }
        for (; i < text.size(); ++i) {
            if (text[i] == '\n') {
                return true;
            }
        }
        return false;
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

    static constexpr std::size_t kBufferSize = 64 * 1024;

    std::FILE *m_file;
    char m_buffer[kBufferSize];
    std::size_t m_used = 0;
    bool m_ok = true;
};

} // namespace velkaro
