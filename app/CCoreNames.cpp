#include "CCoreNames.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>

namespace {

// The length of the well-formed UTF-8 sequence that starts at text[at]; 0 when there is none.
[[nodiscard]] std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<std::uint8_t>(text[at]);
    std::size_t length = 0;
    if (lead < 0x80) {
        length = 1;
    } else if (lead >= 0xC2 && lead < 0xF5) {
        length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    }
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<std::uint8_t>(text[at + i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

[[nodiscard]] QByteArray bytesOf(std::string_view text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}

} // namespace

std::string CCoreNames::toCoreName(const QString &path) {
#ifdef Q_OS_WIN
    return path.toLocal8Bit().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

std::string CCoreNames::decode(std::string_view coreName) {
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytesOf(coreName)).toStdString();
#else
    return QFile::decodeName(bytesOf(coreName)).toStdString();
#endif
}

bool CCoreNames::isRepresentable(std::string_view coreName) {
    return toCoreName(QString::fromStdString(decode(coreName))) == coreName;
}

std::string CCoreNames::escaped(std::string_view coreName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t at = 0; at < coreName.size();) {
        const std::size_t length = utf8Length(coreName, at);
        if (length > 0) {
            text.append(coreName.substr(at, length));
            at += length;
            continue;
        }
        const auto byte = static_cast<std::uint8_t>(coreName[at++]);
        text += "\\x";
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}

#ifdef Q_OS_WIN
QUrl CCoreNames::fileUrl(std::string_view coreName) {
    return QUrl::fromLocalFile(QString::fromStdString(decode(coreName)));
}

std::string CCoreNames::fromFileUrl(const QUrl &url) {
    return url.isLocalFile() ? toCoreName(url.toLocalFile()) : std::string();
}
#else
QUrl CCoreNames::fileUrl(std::string_view coreName) {
    return QUrl::fromEncoded("file://" + bytesOf(coreName).toPercentEncoding("/"));
}

std::string CCoreNames::fromFileUrl(const QUrl &url) {
    if (!url.isLocalFile() || !url.host().isEmpty()) {
        return {};
    }
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}
#endif
