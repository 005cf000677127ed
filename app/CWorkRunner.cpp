#include "CWorkRunner.h"

#include "QtText.h"
#include "background_work.h"
#include "dialog_texts.h"
#include "question_text.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace {

// How often the window looks at the run: often enough for a bar that moves and an end that is
// seen at once, seldom enough to cost nothing.
constexpr int kPollMilliseconds = 50;

} // namespace

CWorkRunner::CWorkRunner(QWidget *owner, velkaro::dialog::NameDecoder decode)
    : m_owner(owner), m_decode(std::move(decode)) {}

void CWorkRunner::run(const std::function<void()> &work, velkaro::dialog::WorkProgress &progress) {
    velkaro::dialog::BackgroundWork worker(work);
    const auto done = [&worker] { return worker.finished(); };
    QProgressDialog dialog(m_owner);
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= velkaro::dialog::kProgressDelayMilliseconds) {
            loop.quit();
        }
    });
    poll.start(kPollMilliseconds);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done()) {
        showProgress(dialog, progress);
        QObject::disconnect(&poll, nullptr, &loop, nullptr);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            update(dialog, progress);
            if (done()) {
                loop.quit();
            }
        });
        loop.exec();
    }
    worker.join();
}

void CWorkRunner::showProgress(QProgressDialog &dialog,
                               velkaro::dialog::WorkProgress &progress) const {
    dialog.setObjectName(QStringLiteral("progressDlg"));
    dialog.setWindowTitle(qtText(velkaro::dialog::kProgressTitle));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    dialog.setRange(0, 100);
    dialog.setCancelButtonText(qtText(velkaro::wording::cancelText()));
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * 48);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog,
                     [&dialog, &progress] { progress.conversion.cancelRequested = true; });
    update(dialog, progress);
    dialog.show();
}

void CWorkRunner::update(QProgressDialog &dialog,
                         const velkaro::dialog::WorkProgress &progress) const {
    if (progress.conversion.cancelRequested) {
        return;
    }
    // The file and, below it, how many of all the sources' bytes are read.
    const std::string bytes = progress.bytesText();
    dialog.setLabelText(qtText(progress.text(m_decode) + (bytes.empty() ? "" : "\n" + bytes)));
    dialog.setValue(progress.percent());
}
