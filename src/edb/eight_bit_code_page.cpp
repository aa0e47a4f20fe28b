#include "edb/eight_bit_code_page.h"

#include <atomic>

#include "edb/code_page_text.h"

namespace velmor {

namespace {

constexpr int kNoChoice = 0;

std::atomic<int> currentCodePage{kWindowsWesternCodePage};
std::atomic<int> chosenCodePage{kNoChoice};

}  // namespace

int EightBitCodePage() {
    return currentCodePage.load(std::memory_order_relaxed);
}

void SetEightBitCodePage(int codePage) {
    currentCodePage.store(codePage, std::memory_order_relaxed);
}

std::optional<int> ChosenEightBitCodePage() {
    const int chosen = chosenCodePage.load(std::memory_order_relaxed);
    return chosen == kNoChoice ? std::nullopt : std::optional<int>(chosen);
}

void ChooseEightBitCodePage(std::optional<int> codePage) {
    chosenCodePage.store(codePage.value_or(kNoChoice), std::memory_order_relaxed);
}

}  // namespace velmor
