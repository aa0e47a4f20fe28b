// Runs discovery in the main window on a store read from the disk (the page cache emptied
// first) and reports how the window kept up: the longest pause of its event loop, the longest
// time the scan bar's percent stood still, and how long the worker took to end after Stop was
// answered with Yes at a few moments of the run.
//
//   velmor_bench_discovery_window measure PATH   prints the figures (on the offscreen platform)

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench_store.h"
#include "bench_window.h"
#include "headless/headless_walk.h"
#include "main_frame.h"
#include "percent_progress_bar.h"
#include "program_arguments.h"

namespace {

using velmor::ui::CMainFrame;
namespace headless = velmor::ui::headless;

constexpr int kPatienceMilliseconds = 1'800'000;
constexpr int kTickMilliseconds = 5;
// When Stop is pressed, counted from Next.
constexpr int kStopAfterMilliseconds[] = {1'000, 5'000, 15'000};

// Ticks a fast timer while the window works: the longest gap between two ticks is the
// longest time the window could not repaint or react, and the scan bar's percent is sampled.
class Watch {
public:
    explicit Watch(CMainFrame& frame) : frame_(frame) {
        ticker_.setInterval(kTickMilliseconds);
        QObject::connect(&ticker_, &QTimer::timeout, [this] { Tick(); });
    }

    void Start() {
        longestPause_ = 0;
        longestStill_ = 0;
        changes_ = 0;
        lastPercent_ = -1;
        sinceTick_.start();
        sinceChange_.start();
        sinceStart_.start();
        ticker_.start();
    }
    void Stop() { ticker_.stop(); }

    qint64 longestPause() const { return longestPause_; }
    qint64 longestStill() const { return longestStill_; }
    int changes() const { return changes_; }
    // Where the bar stood still longest: its percent, and when the stillness ended.
    int stillAt() const { return stillAt_; }
    qint64 stillEndedAt() const { return stillEndedAt_; }

private:
    void Tick() {
        longestPause_ = std::max(longestPause_, sinceTick_.restart());
        const int percent = frame_.buttonBar()->scanProgress()->percent();
        // The bar is shown through part 1 to the end; it stands still only while it shows.
        if (percent != lastPercent_ || !frame_.buttonBar()->scanProgress()->isVisible()) {
            changes_ += percent != lastPercent_ ? 1 : 0;
            lastPercent_ = percent;
            sinceChange_.restart();
        }
        if (sinceChange_.elapsed() > longestStill_) {
            longestStill_ = sinceChange_.elapsed();
            stillAt_ = lastPercent_;
            stillEndedAt_ = sinceStart_.elapsed();
        }
    }

    CMainFrame& frame_;
    QTimer ticker_;
    QElapsedTimer sinceTick_;
    QElapsedTimer sinceChange_;
    QElapsedTimer sinceStart_;
    int stillAt_ = 0;
    qint64 stillEndedAt_ = 0;
    qint64 longestPause_ = 0;
    qint64 longestStill_ = 0;
    int changes_ = 0;
    int lastPercent_ = -1;
};

bool BackToStepOne(CMainFrame& frame) {
    if (frame.wizardStep() != 1) {
        frame.buttonBar()->backButton()->click();
    }
    return headless::WaitFor([&] { return headless::Idle(frame) && frame.wizardStep() == 1; },
                             kPatienceMilliseconds);
}

// Presses Stop and answers the question with Yes; the milliseconds from the answer to the
// end of the worker, -1 when it did not end.
qint64 StopAndTime(CMainFrame& frame) {
    QElapsedTimer sinceYes;
    QTimer answerer;
    answerer.setInterval(1);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            answerer.stop();
            sinceYes.start();
            box->button(QMessageBox::Yes)->click();
        }
    });
    answerer.start();
    frame.buttonBar()->stopButton()->click();
    const bool ended =
        headless::WaitFor([&] { return !frame.wizard().workers().AnyRunning(); }, 10'000);
    return ended ? sinceYes.elapsed() : -1;
}

int Measure(const char* path) {
    velmor::bench::BenchWindow window("velmor_bench_discovery_window");
    CMainFrame& frame = window.frame();
    Watch watch(frame);

    velmor::bench::EvictFromPageCache(path);
    QElapsedTimer clock;
    clock.start();
    watch.Start();
    if (!window.OpenStore(path, kPatienceMilliseconds)) {
        return 1;
    }
    watch.Stop();
    std::printf("discovery in the window:     %.1f s (cold), %d mailboxes\n",
                clock.elapsed() / 1000.0, frame.mailboxPage()->mailboxList()->topLevelItemCount());
    std::printf("longest event-loop pause:    %lld ms\n",
                static_cast<long long>(watch.longestPause()));
    std::printf(
        "scan bar:                    %d changes, still at most %lld ms (at %d %%, "
        "until %.1f s)\n",
        watch.changes(), static_cast<long long>(watch.longestStill()), watch.stillAt(),
        watch.stillEndedAt() / 1000.0);

    for (int after : kStopAfterMilliseconds) {
        if (!BackToStepOne(frame)) {
            std::fprintf(stderr, "the window did not return to step 1\n");
            return 1;
        }
        velmor::bench::EvictFromPageCache(path);
        frame.filePage()->pathBox()->setPlainText(QString::fromLocal8Bit(path));
        frame.buttonBar()->nextButton()->click();
        watch.Start();
        headless::WaitFor([&] { return false; }, after);
        const qint64 stopped = StopAndTime(frame);
        watch.Stop();
        std::printf(
            "Stop after %5.1f s:           worker ended %lld ms after Yes "
            "(longest pause %lld ms)\n",
            after / 1000.0, static_cast<long long>(stopped),
            static_cast<long long>(watch.longestPause()));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr char kUsage[] = "usage: velmor_bench_discovery_window measure PATH";
    if (const auto answer = velmor::tools::AnswerOptions(argc, argv, kUsage)) {
        return *answer;
    }
    if (argc == 3 && std::strcmp(argv[1], "measure") == 0) {
        return Measure(argv[2]);
    }
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
}
