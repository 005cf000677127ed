#pragma once

#include "work_progress.h"

#include <functional>

class QProgressDialog;
class QWidget;

// Runs a window's conversions on a thread of their own while the window's thread keeps handling
// events, so the window repaints and moves. For the first kProgressDelayMilliseconds the user's
// input waits; a longer run shows a modal progress dialog (files and bytes) whose 取消, Esc and
// close box ask the run to stop.
class CWorkRunner {
  public:
    CWorkRunner(QWidget *owner, velkaro::dialog::NameDecoder decode);

    // Returns when work has ended, cancelled or not.
    void run(const std::function<void()> &work, velkaro::dialog::WorkProgress &progress);

  private:
    void showProgress(QProgressDialog &dialog, velkaro::dialog::WorkProgress &progress) const;
    void update(QProgressDialog &dialog, const velkaro::dialog::WorkProgress &progress) const;

    QWidget *const m_owner;
    const velkaro::dialog::NameDecoder m_decode;
};
