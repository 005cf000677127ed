#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace velkaro {

// Turns UTF-8 text into a Windows code page (936 GBK, 950 Big5, 1252, ...) for outputs whose
// readers expect that page. A character the page cannot hold, or bytes that are no UTF-8, become
// "?" and are reported: never replaced without a word. Uses iconv on Linux and the Windows API
// on Windows. Not thread-safe: one per run.
class TextRecoder {
  public:
    explicit TextRecoder(int codePage);
    TextRecoder(const TextRecoder &) = delete;
    TextRecoder &operator=(const TextRecoder &) = delete;
    ~TextRecoder();

    // Whether the system can convert into the code page at all.
    [[nodiscard]] bool usable() const;
    // Recodes utf8 into out; false when anything had to be replaced.
    [[nodiscard]] bool recode(std::string_view utf8, std::string &out);

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Text of a Windows code page (GBK for 936) as UTF-8, for display; bytes that are no character
// of the page become U+FFFD.
[[nodiscard]] std::string codePageToUtf8(std::string_view text, int codePage);

} // namespace velkaro
