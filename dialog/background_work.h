#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace velkaro::dialog {

// Work a window runs off its own thread: started at once; onFinished (may be empty) is called on
// the work's thread when it has ended, so that a window can wake its message loop. join() waits
// for the end and throws on the window's thread whatever the work threw; the destructor joins
// too, so the work never outlives the objects it uses.
class BackgroundWork {
  public:
    BackgroundWork(const std::function<void()> &work, std::function<void()> onFinished = {});
    BackgroundWork(const BackgroundWork &) = delete;
    BackgroundWork &operator=(const BackgroundWork &) = delete;
    ~BackgroundWork();

    [[nodiscard]] bool finished() const { return m_finished; }
    void join();

  private:
    std::exception_ptr m_failure;
    std::atomic<bool> m_finished{false};
    std::function<void()> m_onFinished;
    std::thread m_thread;
};

} // namespace velkaro::dialog
