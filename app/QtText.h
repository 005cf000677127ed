#pragma once

#include <QString>

#include <string_view>

// The dialog layer and the core speak UTF-8; Qt shows QStrings.
[[nodiscard]] inline QString qtText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
