#include "discovery/store_code_page.h"

#include <optional>
#include <vector>

#include "discovery/code_page_detection.h"
#include "discovery/fill_mailbox_list.h"
#include "edb/eight_bit_code_page.h"
#include "edb/stored_text_decoder.h"
#include "edb/text_form_evidence.h"

namespace velmor {

namespace {

// A name kept for a second reading that the store's form reads as 8-bit text.
bool IsEightBitName(const std::vector<uint8_t>& stored) {
    return !stored.empty() && DecodeStoredText(stored).form == StoredTextForm::EightBit;
}

int DetectStoreCodePage(const RecoveredStore& store) {
    std::vector<std::vector<uint8_t>> names;
    for (const MailboxEntry& mailbox : store.mailboxes.entries()) {
        if (IsEightBitName(mailbox.eightBitName)) {
            names.push_back(mailbox.eightBitName);
        }
    }
    for (const FolderEntry& folder : store.folders) {
        if (IsEightBitName(folder.eightBitName)) {
            names.push_back(folder.eightBitName);
        }
    }
    return names.empty() ? kWindowsWesternCodePage : DetectCodePage(names);
}

}  // namespace

void SettleStoreCodePage(ProcessingContext& context) {
    RecoveredStore& store = context.store;
    SetStoreTextForm(NameFormEvidence().Form());
    const std::optional<int> chosen = ChosenEightBitCodePage();
    const int codePage = chosen ? *chosen : DetectStoreCodePage(store);
    store.codePage = codePage;
    SetEightBitCodePage(codePage);
    const auto& mailboxes = store.mailboxes.entries();
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (mailboxes[i].eightBitName.empty()) {
            continue;
        }
        std::u16string label = MailboxLabel(DecodeStoredText(mailboxes[i].eightBitName).text);
        if (label != mailboxes[i].displayName) {
            context.sink.SetMailboxRowName(static_cast<int>(i), label);
            store.mailboxes.SetDisplayName(i, std::move(label));
        }
    }
    for (FolderEntry& folder : store.folders) {
        if (!folder.eightBitName.empty()) {
            folder.displayName = DecodeStoredText(folder.eightBitName).text;
        }
    }
}

}  // namespace velmor
