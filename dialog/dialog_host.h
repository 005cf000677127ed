#pragma once

#include "message.h"

#include <string>

namespace velkaro::dialog {

enum class Answer { Replace, Cancel };

// A question with two buttons, the first of which does what the text asks.
struct Question {
    std::string text;
    std::string title; // empty: the application's name
    std::string yesText;
    std::string noText;
    friend bool operator==(const Question &, const Question &) = default;
};

// What a window lends the commands: its message boxes. Both wait until the box is closed and
// are owned by the main dialog.
class DialogHost {
  public:
    DialogHost() = default;
    DialogHost(const DialogHost &) = delete;
    DialogHost &operator=(const DialogHost &) = delete;
    virtual ~DialogHost() = default;

    virtual void showMessage(const Message &message) = 0;
    // Shows the question with the question icon; closing it any other way than by its first
    // button (Esc, the close box) answers Cancel.
    [[nodiscard]] virtual Answer ask(const Question &question) = 0;
};

} // namespace velkaro::dialog
