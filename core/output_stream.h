#pragma once

#include <cstddef>
#include <cstdio>
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

    void write(std::string_view text);
    // Hands the buffered bytes to the file and flushes the file's own buffer.
    void flush();

    [[nodiscard]] bool ok() const { return m_ok; }

  private:
    void put(const char *bytes, std::size_t count);
    void drain();

    static constexpr std::size_t kBufferSize = 64 * 1024;

    std::FILE *m_file;
    char m_buffer[kBufferSize];
    std::size_t m_used = 0;
    bool m_ok = true;
};

} // namespace velkaro
