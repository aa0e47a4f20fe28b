#include "wizard/code_page_choice.h"

#include "edb/text_codec.h"

namespace velmor {

std::u16string CodePageStatus(int codePage, bool chosen) {
    return Utf8ToUtf16("8-bit text: code page " + std::to_string(codePage) +
                       (chosen ? " (chosen)" : " (detected)"));
}

}  // namespace velmor
