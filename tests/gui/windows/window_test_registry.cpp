#include "window_test_registry.h"

#include <filesystem>
#include <map>

namespace velmor::test {

namespace {

std::map<std::string, WindowTestFactory>& Registry() {
    static std::map<std::string, WindowTestFactory> registry;
    return registry;
}

}  // namespace

bool RegisterWindowTest(const char* sourceFile, WindowTestFactory factory) {
    Registry()[std::filesystem::path(sourceFile).stem().string()] = std::move(factory);
    return true;
}

WindowTestFactory FindWindowTest(const std::string& name) {
    const auto found = Registry().find(name);
    return found == Registry().end() ? WindowTestFactory() : found->second;
}

std::string WindowTestNames() {
    std::string names;
    for (const auto& [name, factory] : Registry()) {
        names += (names.empty() ? "" : " ") + name;
    }
    return names;
}

}  // namespace velmor::test
