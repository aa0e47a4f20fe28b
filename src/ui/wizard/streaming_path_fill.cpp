#include "wizard/streaming_path_fill.h"

#include "edb/text_codec.h"
#include "streaming/streaming_file_path.h"

namespace velmor::ui {

std::optional<std::u16string> StreamingPathFill::DatabasePathChanged(
    const std::u16string& databasePath) const {
    if (usersOwn_) {
        return std::nullopt;
    }
    if (databasePath.empty()) {
        return std::u16string();
    }
    const auto beside = StreamingFileBeside(std::filesystem::path(Utf16ToUtf8(databasePath)));
    return beside ? Utf8ToUtf16(beside->string()) : std::u16string();
}

}  // namespace velmor::ui
