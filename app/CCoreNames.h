#pragma once

#include <QString>
#include <QUrl>

#include <string>
#include <string_view>

// Paths as the core takes them (the C library's narrow names) and as Qt shows them. On Linux a
// core name is the file system's bytes, which need not be UTF-8: a GBK name from a Windows archive
// is a good core name that no QString holds.
class CCoreNames {
  public:
    // The core's name of a path Qt holds: on Windows in the ANSI code page, elsewhere the file
    // system's bytes.
    [[nodiscard]] static std::string toCoreName(const QString &path);
    // A core name turned into UTF-8 for display.
    [[nodiscard]] static std::string decode(std::string_view coreName);
    // Whether Qt can hold the name: decoding it and encoding it again gives the same bytes.
    [[nodiscard]] static bool isRepresentable(std::string_view coreName);
    // A name for display whatever its bytes: valid UTF-8 as it is, every other byte as \xNN.
    [[nodiscard]] static std::string escaped(std::string_view coreName);
    // The file URL of a core name and the core name of a local file URL, byte for byte: a drop's
    // URLs carry the names' bytes percent-encoded, whatever their encoding. An empty name for a
    // URL that names no local file.
    [[nodiscard]] static QUrl fileUrl(std::string_view coreName);
    [[nodiscard]] static std::string fromFileUrl(const QUrl &url);
};
