#include "background_work.h"

#include <utility>

namespace velkaro::dialog {

BackgroundWork::BackgroundWork(const std::function<void()> &work, std::function<void()> onFinished)
    : m_onFinished(std::move(onFinished)), m_thread([this, &work] {
          try {
              work();
          } catch (...) {
              m_failure = std::current_exception();
          }
          m_finished = true;
          if (m_onFinished) {
              m_onFinished();
          }
      }) {}

BackgroundWork::~BackgroundWork() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void BackgroundWork::join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_failure) {
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    }
}

} // namespace velkaro::dialog
