#include "output_stream.h"

#include "early_writeback.h"

#include <cerrno>
#include <cstring>

namespace velkaro {

OutputStream::OutputStream(std::FILE *file) : m_file(file) {}

void OutputStream::writeLines(std::string_view text) {
    // Every line feed leaves as CR LF; the runs between line feeds are copied as they are.
    while (!text.empty()) {
        const std::size_t lineFeed = text.find('\n');
        if (lineFeed == std::string_view::npos) {
            put(text.data(), text.size());
            return;
        }
        put(text.data(), lineFeed);
        put("\r\n", 2);
        text.remove_prefix(lineFeed + 1);
    }
}

void OutputStream::putSlowly(const char *bytes, std::size_t count) {
    while (count > 0) {
        if (m_used == kBufferSize) {
            drain();
        }
        const std::size_t room = kBufferSize - m_used;
        const std::size_t take = count < room ? count : room;
        std::memcpy(m_buffer + m_used, bytes, take);
        m_used += take;
        bytes += take;
        count -= take;
    }
}

void OutputStream::fail() {
    m_ok = false;
    m_error = SystemError::fromErrno();
}

void OutputStream::drain() {
    errno = 0;
    if (m_ok && m_used > 0 && std::fwrite(m_buffer, 1, m_used, m_file) != m_used) {
        fail();
    }
    m_handedOver += m_used;
    m_used = 0; // after a failure the bytes are dropped: the output is discarded anyway
    if (m_ok && m_handedOver - m_writebackFrom >= kWritebackStep) {
        startWriteback(m_file, m_writebackFrom, m_handedOver - m_writebackFrom);
        m_writebackFrom = m_handedOver;
    }
}

void OutputStream::flush() {
    drain();
    errno = 0;
    if (m_ok && std::fflush(m_file) != 0) {
        fail();
    }
}

} // namespace velkaro
