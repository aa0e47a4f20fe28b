#pragma once

#include <QApplication>
#include <QString>
#include <cstdio>

#include "headless/headless_walk.h"
#include "main_frame.h"

namespace velmor::bench {

// The application and its main window as a user sees it, on whatever platform Qt was given
// (offscreen for the benchmarks).
class BenchWindow {
public:
    explicit BenchWindow(const char* programName)
        : argv_{const_cast<char*>(programName), nullptr},
          app_(argc_, argv_),
          frame_(desktop_, QApplication::applicationFilePath()) {
        frame_.resize(kWidth, kHeight);
        frame_.show();
    }

    ui::CMainFrame& frame() { return frame_; }

    // Opens the store through step 1 until its mailboxes are listed; says why on stderr when
    // none is found within the patience.
    bool OpenStore(const char* path, int patienceMilliseconds) {
        if (ui::headless::OpenDatabase(frame_, QString::fromLocal8Bit(path),
                                       patienceMilliseconds)) {
            return true;
        }
        std::fprintf(stderr, "no mailbox found in %s\n", path);
        return false;
    }

private:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 800;

    // QApplication keeps references to both for its whole life.
    int argc_ = 1;
    char* argv_[2];
    QApplication app_;
    ui::headless::NoDesktop desktop_;
    ui::CMainFrame frame_;
};

}  // namespace velmor::bench
