// Times the main window's search box on the search benchmark's store (written by
// `velmor_bench_search write PATH`): the first search builds the mailbox's index; after it,
// for each kind of query, Enter until the first 100 matches (or all, when fewer) are in the
// window's item list, and until the whole listing is done.
//
//   velmor_bench_window_search measure PATH   prints the figures (the index goes beside PATH)

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "bench_command.h"
#include "bench_window.h"
#include "search_words.h"

namespace {

using velmor::ui::CMainFrame;
namespace headless = velmor::ui::headless;

constexpr int kQueries = 20;
constexpr int kFirstMatches = 100;
constexpr int kPatienceMilliseconds = 600'000;
constexpr double kGoalMilliseconds = 200;

struct Times {
    double first;  // the first kFirstMatches listed
    double all;    // the listing done
    int rows;
};

// Enter in the search box with the query, timed; the list shows a folder without matches
// before, so that the rows counted are the search's.
Times Search(CMainFrame& frame, QTreeWidgetItem* emptyFolder, const std::string& query) {
    velmor::ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    tree->setCurrentItem(emptyFolder);
    frame.wizard().BrowseFolder(velmor::ui::CFolderTreeCtrl::Handle(emptyFolder));
    headless::WaitFor([&] { return headless::Idle(frame); }, kPatienceMilliseconds);

    QLineEdit* box = frame.rightPane()->searchBox();
    const auto* list = frame.rightPane()->itemList();
    box->setText(QString::fromStdString(query));
    QElapsedTimer clock;
    clock.start();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    const auto listed = [&] { return list->Headings().contains("Folder"); };
    headless::WaitFor(
        [&] {
            return (listed() && list->rowCount() >= kFirstMatches) ||
                   (listed() && headless::Idle(frame));
        },
        kPatienceMilliseconds);
    Times times{};
    times.first = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    headless::WaitFor([&] { return listed() && headless::Idle(frame); }, kPatienceMilliseconds);
    times.all = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    times.rows = list->rowCount();
    return times;
}

void TimeQueries(const char* label, CMainFrame& frame, QTreeWidgetItem* emptyFolder,
                 const std::function<std::string(int)>& query) {
    std::vector<double> first;
    std::vector<double> all;
    double rows = 0;
    for (int i = 0; i < kQueries; ++i) {
        const Times times = Search(frame, emptyFolder, query(i));
        first.push_back(times.first);
        all.push_back(times.all);
        rows += times.rows;
    }
    std::sort(first.begin(), first.end());
    std::sort(all.begin(), all.end());
    const size_t p95 = first.size() * 95 / 100;
    std::printf(
        "%-22s first %d listed: p95 %7.1f ms, median %7.1f ms; all listed: p95 %8.1f ms  "
        "(%.0f rows each; goal %.0f ms)\n",
        label, kFirstMatches, first[p95], first[first.size() / 2], all[p95], rows / kQueries,
        kGoalMilliseconds);
}

int Measure(const char* path) {
    const std::filesystem::path cache = std::filesystem::path(path).parent_path() / "window-cache";
    std::filesystem::remove_all(cache);
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(cache.string()));
    velmor::bench::BenchWindow window("velmor_bench_window_search");
    CMainFrame& frame = window.frame();
    if (!window.OpenStore(path, kPatienceMilliseconds)) {
        return 1;
    }
    const auto rows = frame.mailboxPage()->mailboxList()->findItems(
        QString("Mailbox - ") + velmor::bench::kSearchMailbox, Qt::MatchExactly, 1);
    if (rows.isEmpty() || !headless::OpenMailbox(frame, rows.front(), kPatienceMilliseconds)) {
        std::fprintf(stderr, "no mailbox %s\n", velmor::bench::kSearchMailbox);
        return 1;
    }
    velmor::ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    QTreeWidgetItem* top = headless::ChildNamed(tree->topLevelItem(0), "Top of Information Store");
    if (top == nullptr) {
        std::fprintf(stderr, "no Top of Information Store in %s\n", path);
        return 1;
    }
    const Times build = Search(frame, top, velmor::bench::WordQuery(0));
    std::printf("first search, index built in the window: %.1f s\n", build.all / 1000.0);
    TimeQueries("query, one word:", frame, top, velmor::bench::WordQuery);
    TimeQueries("query, phrase:", frame, top, velmor::bench::PhraseQuery);
    TimeQueries("query, from: AND date:", frame, top, velmor::bench::SenderDateQuery);
    std::filesystem::remove_all(cache);
    return 0;
}

int Write(const char*) {
    std::fprintf(stderr, "the store is the search benchmark's: velmor_bench_search write PATH\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    return velmor::bench::RunBenchCommand(argc, argv, "velmor_bench_window_search", Write, Measure);
}
