#include "search/streaming_entry_index.h"

#include "edb/text_codec.h"
#include "search/index_builder.h"
#include "search/mime_search_fields.h"
#include "streaming/recovered_message_rows.h"

namespace velmor {

namespace {

// Messages handed to the indexing threads at a time, and between two moves of the bar.
constexpr size_t kMessagesPerBatch = 100;

// The cells of the entry's listing that a match shows.
constexpr size_t kFromCell = 1;
constexpr size_t kSubjectCell = 2;
constexpr size_t kDateCell = 3;

SearchFields MessageFields(RecoveredMessages& messages, size_t index) {
    const RecoveredMessage& message = messages.messages()[index];
    const std::vector<std::u16string> cells = RecoveredListCells(index + 1, message);
    SearchFields fields;
    fields.kind = u"mail";
    fields.folderPath = std::u16string(kStreamingEntryName) + u'\\';
    fields.rowNumber = static_cast<int>(index + 1);
    // The entry's rows are read again by their number.
    fields.itemId = Utf8ToUtf16(std::to_string(index + 1));
    fields.sender = cells.at(kFromCell);
    fields.senderAddress = Utf8ToUtf16(message.summary.from);
    fields.subject = cells.at(kSubjectCell);
    fields.dateText = cells.at(kDateCell);
    if (message.summary.fileTime != 0) {
        fields.fileTime = message.summary.fileTime;
    }
    fields.hasAttachments = message.summary.attachmentCount > 0;
    const std::optional<std::string> bytes = messages.Bytes(index);
    const std::optional<MimeBody> body = bytes ? ReadMimeBody(*bytes) : std::nullopt;
    if (body) {
        fields.to = {Utf8ToUtf16(body->to)};
        fields.body = MimeBodyWords(*body);
        fields.attachmentNames = MimeAttachmentNames(*bytes);
    }
    return fields;
}

}  // namespace

bool BuildStreamingEntryIndex(ProcessingContext& context, RecoveredMessages& messages,
                              IndexShards& index) {
    ProgressSink& sink = context.sink;
    const size_t count = messages.messages().size();
    sink.SetItemStatus(kIndexingStatus);
    sink.ShowItemStatus();
    sink.SetItemProgressRange(0, static_cast<int>(count));
    sink.SetItemProgressPosition(0);
    sink.ShowItemProgress();
    std::vector<SearchFields> batch;
    bool complete = true;
    for (size_t i = 0; i < count && complete; ++i) {
        batch.push_back(MessageFields(messages, i));
        if (batch.size() == kMessagesPerBatch || i + 1 == count) {
            index.Add(std::move(batch));
            batch.clear();
            sink.SetItemProgressPosition(static_cast<int>(i + 1));
            complete = !context.stop.requested();
        }
    }
    sink.HideItemProgress();
    sink.HideItemStatus();
    return complete;
}

}  // namespace velmor
