// The window tests' one program: `velmor_window_tests NAME [Qt Test options]` runs the test
// class of NAME_test's file, set up as QTEST_MAIN sets up a Widgets test.
#include <QApplication>
#include <QTest>
#include <cstdio>

#include "window_test_registry.h"

int main(int argc, char** argv) {
    const velmor::test::WindowTestFactory factory =
        argc < 2 ? velmor::test::WindowTestFactory() : velmor::test::FindWindowTest(argv[1]);
    if (!factory) {
        std::fprintf(stderr, "usage: %s NAME [options]\nNAME: %s\n", argv[0],
                     velmor::test::WindowTestNames().c_str());
        return 2;
    }
    // Qt Test reads the options after the name as its own.
    argv[1] = argv[0];
    int testArgc = argc - 1;
    char** testArgv = argv + 1;
    QApplication app(testArgc, testArgv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const std::unique_ptr<QObject> test = factory();
    return QTest::qExec(test.get(), testArgc, testArgv);
}
