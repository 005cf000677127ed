#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "conversion_progress.h"
#include "system_error.h"

namespace velkaro {

// Bytes after a line's text that a reader may load with it (whole words or vectors at a time)
// without leaving the buffer; what they hold means nothing.
inline constexpr std::size_t kLineScanSlack = 64;

// One read of the reading rules: at most 255 bytes up to and including a line feed. text holds
// the stored bytes up to the first zero byte (a zero byte ends a line's text, and zeroByte says
// so), without the line feed; lineFeed tells whether one ended the text, since it counts towards
// the line's length.
// text never holds a line feed.
struct SourceLine {
    std::string_view text;
    bool lineFeed = false;
    bool zeroByte = false; // a zero byte cut the text short

    [[nodiscard]] std::size_t measuredLength() const { return text.size() + (lineFeed ? 1 : 0); }
};

// A read-only byte stream over a file opened in binary mode, which carries out the text-mode
// rules itself on every platform: CR LF reaches the reader as LF, a lone CR stays, and a byte
// 0x1A ends the file. Reads go through one fixed buffer, so memory stays constant whatever the
// size of the file. A read error ends the reading like the end of the file does, and failed()
// tells it apart, so that a shortened conversion is never taken for a whole one.
class SourceStream {
  public:
    // Opens path (the file system's bytes) when it names a regular file, or a link to one.
    // isOpen() tells whether that worked.
    explicit SourceStream(const std::string &path);
    // Takes over an open file (closed with the stream); for sources that are no named file.
    explicit SourceStream(std::FILE *file);
    SourceStream(const SourceStream &) = delete;
    SourceStream &operator=(const SourceStream &) = delete;
    ~SourceStream() = default;

    [[nodiscard]] bool isOpen() const { return m_file != nullptr; }
    // Why the file could not be opened; meaningless while isOpen().
    [[nodiscard]] const FileFailure &openFailure() const { return m_openFailure; }
    // Set only by a read that ran into the end of the file (or into 0x1A, or an error).
    [[nodiscard]] bool eof() const { return m_eof; }
    // Whether a read failed (as opposed to reaching the end of the file).
    [[nodiscard]] bool failed() const { return m_failed; }
    // The system's error of the read that failed.
    [[nodiscard]] SystemError readError() const { return m_readError; }
    // Whether a byte 0x1A ended the reading, and the 1-based line that held it.
    [[nodiscard]] bool endedAtEndOfFileByte() const { return m_endByteLine != 0; }
    [[nodiscard]] std::uint64_t endOfFileByteLine() const { return m_endByteLine; }

    // The next line, or 255-byte piece of a longer line, as readLine would store it. False when
    // nothing could be read. The text lies in the stream's own buffers, where it stays unchanged
    // until the second call after this one, so that values cut from one line can still be copied
    // while the next is taken; the kLineScanSlack bytes after it may be read (never used).
    // Lines that lie whole in the buffer, with no 0x1A or zero byte, are handed out in place.
    [[nodiscard]] bool nextLine(SourceLine &line);

    // Copies translated bytes into out until a line feed has been copied, `capacity` bytes are
    // stored, or the file ends. Returns the number of bytes stored.
    [[nodiscard]] std::size_t readLine(char *out, std::size_t capacity);

    // Reads on to the end of the file without converting and counts the lines that hold a byte
    // other than space, tab, CR or LF. Used once, after reading stopped early, to tell the user
    // how much was left unconverted.
    [[nodiscard]] std::uint64_t countContentLinesLeft();
    // The same for what lies after the byte 0x1A that ended the reading (0 when none did): the
    // part of the file the old tool never saw. Further 0x1A bytes count as blanks there.
    [[nodiscard]] std::uint64_t countContentLinesAfterEndOfFileByte();

    // Whether the file's size, modification time or change time differs from when it was
    // opened: someone wrote to it while it was read, so what was read may be neither the old
    // content nor the new one. The change time catches a rewrite of the same size whose
    // modification time was put back (touch -r, an unpacked archive), which nobody can set back.
    // Always false for a stream that is no named file.
    [[nodiscard]] bool changedSinceOpened() const;

    // Reports every read to progress (not owned) and ends the reading, as the end of the file
    // would, once a stop is asked for there.
    void watchBy(ConversionProgress *progress) { m_progress = progress; }
    // Whether the reading ended because a stop was asked for.
    [[nodiscard]] bool cancelled() const { return m_cancelled; }

    // How many line feeds have been handed out so far: the 1-based number of the line that the
    // next read starts in is this plus one.
    [[nodiscard]] std::size_t lineFeedsRead() const { return m_lineFeeds; }

  private:
    struct FileCloser {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };

    // Makes at least one unread byte available; false at the end of the file or on an error.
    [[nodiscard]] bool fill();
    // The byte after the current one, filling the buffer when needed; -1 when there is none.
    [[nodiscard]] int peekAfterCurrent();
    // fread into m_buffer at offset, noting a read error.
    [[nodiscard]] std::size_t readInto(std::size_t offset);
    // Where the half not read last starts: the next fill reads there, so the text handed out last
    // stays as it was.
    [[nodiscard]] std::size_t switchHalves();
    // Finds the next 0x1A and zero byte in the bytes read, from m_begin on.
    void findSpecialBytes();
    // A line through readLine, into one of two piece buffers in turn.
    [[nodiscard]] bool nextLineCopied(SourceLine &line);

    // Bytes read at a time into either half of m_buffer. Each half follows a lead byte, where a
    // CR read last waits for the byte after it.
    static constexpr std::size_t kBufferSize = 32 * 1024;
    static constexpr std::size_t kPieceSize = 256;

    // Size, modification and change time (full resolution: nanoseconds on Linux, 100 ns on
    // Windows) of the open file.
    struct FileState {
        std::int64_t size = -1;
        std::int64_t modified = 0;
        std::int64_t changed = 0;
        friend bool operator==(const FileState &, const FileState &) = default;
    };
    [[nodiscard]] FileState currentState() const;

    FileFailure m_openFailure; // before m_file, whose opening fills it in
    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::unique_ptr<char[]> m_buffer;
    std::unique_ptr<char[]> m_pieces; // two pieces of kPieceSize bytes, each with slack
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::size_t m_nextEndOfFile = 0; // the next 0x1A at or after m_begin, or m_end
    std::size_t m_nextZero = 0;      // the next zero byte at or after m_begin, or m_end
    int m_half = 1;                  // the half read last
    int m_piece = 0;                 // the piece buffer used last
    std::size_t m_lineFeeds = 0;
    FileState m_openedState;
    SystemError m_readError;
    // Where the bytes after a 0x1A lie in m_buffer, kept for counting them later.
    std::size_t m_tailBegin = 0;
    std::size_t m_tailEnd = 0;
    std::uint64_t m_endByteLine = 0;
    bool m_eof = false;
    bool m_failed = false;
    bool m_pastEndByte = false; // counting after the 0x1A: it is an ordinary byte now
    ConversionProgress *m_progress = nullptr;
    bool m_cancelled = false;
};

} // namespace velkaro
