// Times the main window on a folder of 100,000 mails: the click on the folder until the last
// row is in the window's item list, and the longest pause of the window's event loop while
// the rows arrive (how long the window could not repaint or react). In the same run it times
// `velmor-cli items` on the same folder, discovery included, and prints the ratio of the two.
//
//   velmor_bench_window write PATH     writes the store
//   velmor_bench_window measure PATH   prints the figures (on the platform Qt is given)
//
// The command line is VELMOR_CLI, or velmor-cli of the build tree the benchmark belongs to.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>
#include <cstdio>

#include "bench_command.h"
#include "bench_store.h"
#include "bench_window.h"
#include "headless/headless_walk.h"
#include "main_frame.h"

namespace {

using velmor::bench::Clock;
using velmor::ui::CMainFrame;
namespace headless = velmor::ui::headless;

constexpr int kRounds = 3;
constexpr int kPatienceMilliseconds = 600'000;
constexpr int kTickMilliseconds = 5;
// Mailbox "User 0" holds the large folder, its Inbox.
constexpr velmor::bench::BenchStoreShape kShape{2, 10, 45, 0, 100'000};
const QString kLargeFolderMailbox = "Mailbox - User 0";
const QString kLargeFolderPath = kLargeFolderMailbox + "\\Top of Information Store\\Inbox\\";
// The listing in the window may take this many times the command line's whole run.
constexpr double kRatioGoal = 1.5;

QString CommandLinePath() {
    const QString configured = qEnvironmentVariable("VELMOR_CLI");
    return configured.isEmpty()
               ? QCoreApplication::applicationDirPath() + "/../../src/cli/velmor-cli"
               : configured;
}

// The best of kRounds runs of `velmor-cli items` on the folder, end to end; negative when
// the command fails.
double TimeCommandLine(const char* path, const QString& mailboxRow) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        QProcess command;
        command.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        command.start(CommandLinePath(),
                      {"items", QString::fromLocal8Bit(path), mailboxRow, kLargeFolderPath});
        if (!command.waitForFinished(kPatienceMilliseconds) || command.exitCode() != 0) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(CommandLinePath()),
                         command.readAllStandardError().constData());
            return -1;
        }
        best = std::min(best, clock.elapsed() / 1000.0);
    }
    return best;
}

int Write(const char* path) {
    const auto start = Clock::now();
    const uint64_t size = velmor::bench::WriteBenchStore(path, kShape);
    std::printf("wrote %s: %.1f MiB in %.2f s\n", path, size / velmor::bench::kMiB,
                velmor::bench::SecondsSince(start));
    return 0;
}

int Measure(const char* path) {
    velmor::bench::BenchWindow window("velmor_bench_window");
    CMainFrame& frame = window.frame();

    QElapsedTimer clock;
    clock.start();
    if (!window.OpenStore(path, kPatienceMilliseconds)) {
        return 1;
    }
    const double discovery = clock.elapsed() / 1000.0;
    const auto rows =
        frame.mailboxPage()->mailboxList()->findItems(kLargeFolderMailbox, Qt::MatchExactly, 1);
    const QString mailboxRow = rows.isEmpty() ? QString() : rows.front()->text(0);
    if (rows.isEmpty() || !headless::OpenMailbox(frame, rows.front(), kPatienceMilliseconds)) {
        std::fprintf(stderr, "no mailbox %s\n", qPrintable(kLargeFolderMailbox));
        return 1;
    }
    velmor::ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    QTreeWidgetItem* top = headless::ChildNamed(tree->topLevelItem(0), "Top of Information Store");
    QTreeWidgetItem* inbox = headless::ChildNamed(top, "Inbox");
    QTreeWidgetItem* other = headless::ChildNamed(top, "Drafts");
    if (inbox == nullptr || other == nullptr) {
        std::fprintf(stderr, "no Inbox in %s\n", qPrintable(kLargeFolderMailbox));
        return 1;
    }
    tree->expandAll();

    // The longest gap between two ticks of a 5 ms timer is the longest time the window was
    // deaf while the rows arrived.
    QElapsedTimer sinceTick;
    qint64 longestPause = 0;
    QTimer ticker;
    ticker.setInterval(kTickMilliseconds);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestPause = std::max(longestPause, sinceTick.restart()); });

    double best = 1e9;
    qint64 worstPause = 0;
    int listed = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Another folder first, so that the click on the Inbox starts a job.
        tree->setCurrentItem(other);
        frame.wizard().BrowseFolder(velmor::ui::CFolderTreeCtrl::Handle(other));
        headless::WaitFor([&] { return headless::Idle(frame); }, kPatienceMilliseconds);

        tree->setCurrentItem(inbox);
        longestPause = 0;
        sinceTick.start();
        ticker.start();
        clock.restart();
        frame.wizard().BrowseFolder(velmor::ui::CFolderTreeCtrl::Handle(inbox));
        headless::WaitFor([&] { return headless::Idle(frame); }, kPatienceMilliseconds);
        best = std::min(best, clock.elapsed() / 1000.0);
        ticker.stop();
        worstPause = std::max(worstPause, longestPause);
        listed = frame.rightPane()->itemList()->rowCount();
    }
    std::printf("discovery in the window:   %.3f s\n", discovery);
    std::printf("folder listed in window:   %.3f s  (%d rows, best of %d)\n", best, listed,
                kRounds);
    std::printf("longest event-loop pause:  %lld ms while listing\n",
                static_cast<long long>(worstPause));
    const double commandLine = TimeCommandLine(path, mailboxRow);
    if (commandLine <= 0) {
        return 1;
    }
    std::printf(
        "velmor-cli items:          %.3f s  (same store and folder, discovery included, "
        "best of %d)\n",
        commandLine, kRounds);
    std::printf("window / command line:     %.2fx on %s  (goal %.1fx)\n", best / commandLine,
                qPrintable(QGuiApplication::platformName()), kRatioGoal);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return velmor::bench::RunBenchCommand(argc, argv, "velmor_bench_window", Write, Measure);
}
