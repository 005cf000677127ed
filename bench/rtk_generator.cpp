#include "rtk_generator.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string_view>

namespace velkaro::bench {
namespace {

// splitmix64: tiny, portable and the same everywhere.
class Random {
  public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }

  private:
    std::uint64_t m_state;
};

void appendInteger(std::string &out, std::uint64_t value) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// base + offset / 10^4, printed with exactly four decimals.
void appendFourDecimals(std::string &out, std::uint64_t base, std::uint64_t offsetTenThousandths) {
    const std::uint64_t value = base * 10000 + offsetTenThousandths;
    appendInteger(out, value / 10000);
    char decimals[4];
    std::uint64_t rest = value % 10000;
    for (int i = 3; i >= 0; --i, rest /= 10) {
        decimals[i] = static_cast<char>('0' + rest % 10);
    }
    out += '.';
    out.append(decimals, 4);
}

constexpr std::array<std::string_view, 12> kUnusual = {
    "1.5d2",  "-2.5D-3", "0.1234565", "12345678901.0078125", "-0",  "-0.0000004", "1e999",
    "-1e400", "1e-400",  " 12.5m",    "999999.9999995",      "0x1F"};

void appendUnusual(std::string &out, Random &random) {
    const std::uint64_t pick = random.below(kUnusual.size() + 4);
    if (pick < kUnusual.size()) {
        out += kUnusual[pick];
        return;
    }
    // a tie or near tie at the sixth decimal, with up to 17 significant digits
    std::uint64_t scale = 10;
    for (std::uint64_t digits = random.below(11); digits > 0; --digits) {
        scale *= 10;
    }
    appendInteger(out, random.below(scale));
    out += '.';
    appendInteger(out, 100000 + random.below(900000));
    out += pick % 2 ? "5" : "49999999";
}

void appendPoint(std::string &out, std::uint64_t index, Random &random, NumberMix mix) {
    static constexpr std::array<std::string_view, 8> kCodes = {"KZD",  "JD", "LD",   "FW",
                                                               "NULL", "DX", "NULL", "GC"};
    appendInteger(out, index);
    out += random.below(8) ? ",\xb9\xcc\xb6\xa8\xbd\xe2,"
                           : ",\xb8\xa1\xb5\xe3\xbd\xe2,";      // 固定解/浮点解
    out += random.below(16) ? "P" : "\xbf\xd8\xd6\xc6\xb5\xe3"; // 控制点
    appendInteger(out, index);
    out += ',';
    out += kCodes[random.below(kCodes.size())];
    for (int axis = 0; axis < 3; ++axis) {
        out += ',';
        if (mix == NumberMix::Unusual) {
            appendUnusual(out, random);
        } else {
            static constexpr std::uint64_t kBase[3] = {3515000, 516000, 30};
            static constexpr std::uint64_t kSpread[3] = {4000000, 4000000, 300000};
            appendFourDecimals(out, kBase[axis], random.below(kSpread[axis]));
        }
    }
    out += "\r\n";
}

} // namespace

bool generateRtkExport(const std::string &path, std::uint64_t points, std::uint64_t seed,
                       NumberMix mix) {
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "wb"),
                                                          &std::fclose);
    if (!file) {
        return false;
    }
    Random random(seed);
    std::string chunk;
    bool ok = true;
    for (std::uint64_t i = 1; i <= points && ok; ++i) {
        appendPoint(chunk, i, random, mix);
        if (chunk.size() > (1u << 20) || i == points) {
            ok = std::fwrite(chunk.data(), 1, chunk.size(), file.get()) == chunk.size();
            chunk.clear();
        }
    }
    return std::fclose(file.release()) == 0 && ok;
}

} // namespace velkaro::bench
