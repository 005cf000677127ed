#include "text_recoder.h"

#ifdef _WIN32
#include "windows_api.h"
#else
#include <cerrno>
#include <cstring>
#include <iconv.h>
#endif

namespace velkaro {

#ifdef _WIN32
struct TextRecoder::State {
    UINT codePage;
    std::wstring wide;
};

TextRecoder::TextRecoder(int codePage)
    : m_state(std::make_unique<State>(State{static_cast<UINT>(codePage), {}})) {}

TextRecoder::~TextRecoder() = default;

bool TextRecoder::usable() const {
    return IsValidCodePage(m_state->codePage) != 0;
}

bool TextRecoder::recode(std::string_view utf8, std::string &out) {
    out.clear();
    if (utf8.empty()) {
        return true;
    }
    const int size = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    bool exact = length > 0;
    const DWORD flags = exact ? MB_ERR_INVALID_CHARS : 0;
    const int wideLength = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, nullptr, 0);
    m_state->wide.resize(static_cast<std::size_t>(wideLength));
    MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, m_state->wide.data(), wideLength);
    BOOL lost = FALSE;
    const int bytes = WideCharToMultiByte(m_state->codePage, WC_NO_BEST_FIT_CHARS,
                                          m_state->wide.data(), wideLength, nullptr, 0, "?", &lost);
    out.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(m_state->codePage, WC_NO_BEST_FIT_CHARS, m_state->wide.data(), wideLength,
                        out.data(), bytes, "?", &lost);
    return exact && !lost;
}
#else
namespace {

// glibc's names of the Windows code pages the DXF writer knows.
[[nodiscard]] std::string iconvName(int codePage) {
    switch (codePage) {
    case 936:
        return "GBK";
    case 950:
        return "BIG5";
    case 949:
        return "UHC";
    default:
        return "CP" + std::to_string(codePage);
    }
}

} // namespace

struct TextRecoder::State {
    iconv_t converter;
};

TextRecoder::TextRecoder(int codePage)
    : m_state(std::make_unique<State>(State{iconv_open(iconvName(codePage).c_str(), "UTF-8")})) {}

TextRecoder::~TextRecoder() {
    if (usable()) {
        iconv_close(m_state->converter);
    }
}

bool TextRecoder::usable() const {
    return m_state->converter != reinterpret_cast<iconv_t>(-1);
}

// iconv stops at a character it cannot convert (EILSEQ) or at a cut sequence (EINVAL): a "?"
// takes its place and the conversion goes on after it.
bool TextRecoder::recode(std::string_view utf8, std::string &out) {
    out.assign(utf8.size() * 2 + 4, '\0');
    char *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size();
    char *to = out.data();
    std::size_t toLeft = out.size();
    bool exact = true;
    iconv(m_state->converter, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0 &&
           iconv(m_state->converter, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG || toLeft == 0) {
            break; // cannot happen: no page takes more than two bytes per UTF-8 byte
        }
        exact = false;
        *to++ = '?';
        --toLeft;
        do { // skip the rest of the character
            ++in;
            --inLeft;
        } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return exact;
}
#endif

#ifdef _WIN32
std::string codePageToUtf8(std::string_view text, int codePage) {
    if (text.empty()) {
        return {};
    }
    const auto page = static_cast<UINT>(codePage);
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(page, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(page, 0, text.data(), size, wide.data(), length);
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}
#else
std::string codePageToUtf8(std::string_view text, int codePage) {
    const iconv_t converter = iconv_open("UTF-8", iconvName(codePage).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(text);
    }
    std::string utf8(text.size() * 3 + 4, '\0');
    char *in = const_cast<char *>(text.data());
    std::size_t inLeft = text.size();
    char *out = utf8.data();
    std::size_t outLeft = utf8.size();
    while (inLeft > 0 &&
           iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG || outLeft < 3) {
            break;
        }
        std::memcpy(out, "\xEF\xBF\xBD", 3); // U+FFFD for a byte that is no character
        out += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    utf8.resize(static_cast<std::size_t>(out - utf8.data()));
    return utf8;
}
#endif

} // namespace velkaro
