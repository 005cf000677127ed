#pragma once

#include "message.h"
#include "result_report.h"
#include "work_progress.h"

#include <functional>
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
    // Shows the question with the question icon and the second button (取消) as the default, so
    // that Enter, Esc and the close box all answer Cancel; only the first button replaces.
    [[nodiscard]] virtual Answer ask(const Question &question) = 0;
    // Runs work off the window's thread and returns when it has ended; meanwhile the window
    // stays responsive and, once the work has taken kProgressDelayMilliseconds, shows progress
    // with a 取消 button that asks progress to stop.
    virtual void runWork(const std::function<void()> &work, WorkProgress &progress) = 0;
    // Shows the result dialog, sized to the screen, until the user closes it.
    virtual void showResults(const ResultReport &report) = 0;
};

} // namespace velkaro::dialog
