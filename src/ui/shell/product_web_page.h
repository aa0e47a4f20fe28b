#pragma once

namespace velmor::ui {

// The product's web page: the Help menu's "Visit Software URL" and the end of a confirmed
// close open it in the default browser.
inline constexpr char kProductWebPage[] = "https://velmor.example/exchange-server/";

}  // namespace velmor::ui
