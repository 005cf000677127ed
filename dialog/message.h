#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velkaro::dialog {

enum class MessageIcon { None, Exclamation, Warning, Question };

// One message box as both windows show it: one OK button, owned by the main dialog.
struct Message {
    std::string text;  // UTF-8; lines separated by '\n'
    std::string title; // UTF-8; empty: the application's name
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const Message &, const Message &) = default;
};

// Turns a name as the core takes it (the file system's bytes on Linux, the window's narrow
// encoding on Windows) into UTF-8 for display. Supplied by the window, which knows the encoding.
using NameDecoder = std::function<std::string(std::string_view coreName)>;

} // namespace velkaro::dialog
