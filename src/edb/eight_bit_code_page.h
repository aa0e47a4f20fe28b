#pragma once

#include <optional>

namespace velmor {

// The code page that the open store's 8-bit text is read in: the user's choice or the one
// detected over the store's names, Windows-1252 until either is known. One per process, like
// a system's ANSI code page.
int EightBitCodePage();
void SetEightBitCodePage(int codePage);

// The code page the user chose (--code-page, the window's setting); nothing: the discovery
// detects it.
std::optional<int> ChosenEightBitCodePage();
void ChooseEightBitCodePage(std::optional<int> codePage);

}  // namespace velmor
