#pragma once

#include "name_decoder.h"

#include <string>

namespace velkaro::dialog {

enum class MessageIcon { None, Exclamation, Warning, Question };

// One message box as both windows show it: one OK button, owned by the main dialog.
struct Message {
    std::string text;  // UTF-8; lines separated by '\n'
    std::string title; // UTF-8; empty: the application's name
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const Message &, const Message &) = default;
};

// Turns a name as the core takes it into UTF-8 for display; supplied by the window.
using wording::NameDecoder;

} // namespace velkaro::dialog
