#include "source_stream.h"

#include "file_system_path.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace velkaro {
namespace {
constexpr char kEndOfFileByte = 0x1A;
} // namespace

SourceStream::SourceStream(const std::string &path)
    : m_file(std::fopen(path.c_str(), "rb")), m_buffer(new char[kBufferSize]) {
    // Some systems open a folder for reading; a folder is no source file.
    std::error_code error;
    if (m_file && std::filesystem::is_directory(toFileSystemPath(path), error)) {
        m_file.reset();
    }
}

bool SourceStream::fill() {
    if (m_begin < m_end) {
        return true;
    }
    if (m_eof || !m_file) {
        return false;
    }
    m_begin = 0;
    m_end = std::fread(m_buffer.get(), 1, kBufferSize, m_file.get());
    if (m_end == 0) {
        m_eof = true; // the end of the file, or a read error treated like it
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
    m_end = 1 + std::fread(m_buffer.get() + 1, 1, kBufferSize - 1, m_file.get());
    return m_end > 1 ? static_cast<unsigned char>(m_buffer[1]) : -1;
}

std::size_t SourceStream::readLine(char *out, std::size_t capacity) {
    std::size_t stored = 0;
    while (stored < capacity && fill()) {
        const char c = m_buffer[m_begin];
        if (c == kEndOfFileByte) {
            m_eof = true; // nothing at or after this byte is ever read
            m_begin = m_end;
            m_file.reset();
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

bool SourceStream::hasContentLeft() {
    char chunk[256];
    for (;;) {
        const std::size_t count = readLine(chunk, sizeof chunk);
        if (count == 0) {
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (chunk[i] != ' ' && chunk[i] != '\t' && chunk[i] != '\r' && chunk[i] != '\n') {
                return true;
            }
        }
    }
}

} // namespace velkaro
