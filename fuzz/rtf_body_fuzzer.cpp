// The RTF reader (wrapped HTML, wrapped text, plain RTF) over any text.
#include <string_view>

#include "body/rtf_body.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::ReadRtfBody(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
