#include "output_time.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace velkaro::gis {
namespace {

void appendPadded(std::string &out, long long value, int width) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<int>(end - digits);
    out.append(static_cast<std::size_t>(width > length ? width - length : 0), '0');
    out.append(digits, end);
}

} // namespace

std::chrono::sys_seconds outputTime() {
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
        long long seconds = 0;
        const char *end = epoch + std::strlen(epoch);
        const auto [stop, error] = std::from_chars(epoch, end, seconds);
        if (error == std::errc() && stop == end && seconds >= 0) {
            return std::chrono::sys_seconds(std::chrono::seconds(seconds));
        }
    }
    return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

std::string isoTimestamp(std::chrono::sys_seconds time) {
    const auto day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day date(day);
    const std::chrono::hh_mm_ss clock(time - day);
    std::string text;
    appendPadded(text, static_cast<int>(date.year()), 4);
    text += '-';
    appendPadded(text, static_cast<unsigned>(date.month()), 2);
    text += '-';
    appendPadded(text, static_cast<unsigned>(date.day()), 2);
    text += 'T';
    appendPadded(text, clock.hours().count(), 2);
    text += ':';
    appendPadded(text, clock.minutes().count(), 2);
    text += ':';
    appendPadded(text, clock.seconds().count(), 2);
    return text + ".000Z";
}

} // namespace velkaro::gis
