#include "discovery/store_code_page.h"

#include <optional>
#include <vector>

#include "discovery/code_page_detection.h"
#include "discovery/fill_mailbox_list.h"
#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"

namespace velmor {

namespace {

int DetectStoreCodePage(const RecoveredStore& store) {
    std::vector<std::vector<uint8_t>> names;
    for (const MailboxEntry& mailbox : store.mailboxes.entries()) {
        if (!mailbox.eightBitName.empty()) {
            names.push_back(mailbox.eightBitName);
        }
    }
    for (const FolderEntry& folder : store.folders) {
        if (!folder.eightBitName.empty()) {
            names.push_back(folder.eightBitName);
        }
    }
    return names.empty() ? kWindowsWesternCodePage : DetectCodePage(names);
}

}  // namespace

void SettleStoreCodePage(ProcessingContext& context) {
    RecoveredStore& store = context.store;
    const std::optional<int> chosen = ChosenEightBitCodePage();
    const int codePage = chosen ? *chosen : DetectStoreCodePage(store);
    store.codePage = codePage;
    if (codePage == EightBitCodePage()) {
        return;
    }
    SetEightBitCodePage(codePage);
    const auto& mailboxes = store.mailboxes.entries();
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (!mailboxes[i].eightBitName.empty()) {
            std::u16string label =
                MailboxLabel(CodePageToUtf16(mailboxes[i].eightBitName, codePage));
            context.sink.SetMailboxRowName(static_cast<int>(i), label);
            store.mailboxes.SetDisplayName(i, std::move(label));
        }
    }
    for (FolderEntry& folder : store.folders) {
        if (!folder.eightBitName.empty()) {
            folder.displayName = CodePageToUtf16(folder.eightBitName, codePage);
        }
    }
}

}  // namespace velmor
