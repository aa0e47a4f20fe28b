#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

namespace velmor::test {

using WindowTestFactory = std::function<std::unique_ptr<QObject>()>;

// Files one window test class each into the one program of window tests, under the name of its
// source file (attachment_list_test, ...), which picks it on the command line.
bool RegisterWindowTest(const char* sourceFile, WindowTestFactory factory);

// The factory filed under name; empty when there is none.
WindowTestFactory FindWindowTest(const std::string& name);

// Every name filed, for the usage line.
std::string WindowTestNames();

}  // namespace velmor::test

// In place of QTEST_MAIN: the program's main runs the class whose file the command line names,
// in a process of its own as before.
#define VELMOR_WINDOW_TEST(TestClass)                                                      \
    namespace {                                                                            \
    const bool kWindowTestRegistered = velmor::test::RegisterWindowTest(                   \
        __FILE__, [] { return std::unique_ptr<QObject>(std::make_unique<TestClass>()); }); \
    }
