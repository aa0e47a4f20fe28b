#include "discovery/fill_mailbox_list.h"

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr int kMailboxRowImage = 0;

}  // namespace

std::u16string MailboxLabel(std::u16string name) {
    if (name.find(kMailboxWord) == std::u16string::npos) {
        return std::u16string(kMailboxLabelPrefix) + name;
    }
    return name;
}

void FillMailboxList(ProcessingContext& context) {
    ProgressSink& sink = context.sink;
    RecoveredStore& store = context.store;
    sink.DeleteAllMailboxRows();
    const auto& entries = store.mailboxes.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        ++store.listedMailboxCount;
        const int row = static_cast<int>(i);
        sink.InsertMailboxRow(row, Utf8ToUtf16(std::to_string(row + 1)), kMailboxRowImage);
        store.mailboxes.SetDisplayName(i, MailboxLabel(entries[i].displayName));
        sink.SetMailboxRowName(row, entries[i].displayName);
    }
}

}  // namespace velmor
