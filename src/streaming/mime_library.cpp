#include "streaming/mime_library.h"

#include <gmime/gmime.h>

#include <mutex>

namespace velmor {

void InitializeMimeLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

}  // namespace velmor
