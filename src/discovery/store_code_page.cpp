#include "discovery/store_code_page.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "discovery/code_page_detection.h"
#include "discovery/fill_mailbox_list.h"
#include "edb/eight_bit_code_page.h"
#include "edb/stored_text_decoder.h"
#include "edb/text_form_evidence.h"

namespace velmor {

namespace {

using TieForm = std::optional<StoredTextForm>;

// The mailbox each folder belongs to, found through its parents; the mailbox count when the
// chain never reaches a mailbox.
std::vector<size_t> FolderMailboxes(const RecoveredStore& store) {
    const auto& mailboxes = store.mailboxes.entries();
    std::unordered_map<std::u16string, size_t> mailboxOf;
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        mailboxOf.emplace(mailboxes[i].key, i);
    }
    std::unordered_map<std::u16string, const std::u16string*> parentOf;
    for (const FolderEntry& folder : store.folders) {
        parentOf.emplace(folder.folderId, &folder.parentId);
    }
    std::vector<size_t> owners;
    owners.reserve(store.folders.size());
    for (const FolderEntry& folder : store.folders) {
        size_t owner = mailboxes.size();
        const std::u16string* id = &folder.parentId;
        // A damaged store may hold a cycle of parents: no chain is longer than the folders.
        for (size_t step = 0; step <= store.folders.size(); ++step) {
            if (const auto mailbox = mailboxOf.find(*id); mailbox != mailboxOf.end()) {
                owner = mailbox->second;
                break;
            }
            const auto parent = parentOf.find(*id);
            if (parent == parentOf.end()) {
                break;
            }
            id = parent->second;
        }
        owners.push_back(owner);
    }
    return owners;
}

// Each mailbox's form, from the names of the mailbox and its folders whose form is certain: a
// store holding mailboxes moved in from an 8-bit server reads each mailbox's ties its own way.
std::vector<TieForm> MailboxForms(const RecoveredStore& store, const std::vector<size_t>& owners) {
    const auto& mailboxes = store.mailboxes.entries();
    std::vector<TextFormEvidence> evidence(mailboxes.size() + 1);
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        evidence[i].Add(FormsAllowed(mailboxes[i].storedName));
    }
    for (size_t f = 0; f < store.folders.size(); ++f) {
        const FolderEntry& folder = store.folders[f];
        evidence[owners[f]].Add(FormsAllowed(folder.storedName));
    }
    std::vector<TieForm> forms;
    for (const TextFormEvidence& counted : evidence) {
        forms.push_back(counted.Form());
    }
    return forms;
}

// The name up to its first zero when its mailbox's form reads it as 8-bit text holding a byte
// above 0x7F, which tells the code page; nothing otherwise.
std::optional<std::vector<uint8_t>> EightBitName(const std::vector<uint8_t>& stored,
                                                 TieForm tieForm) {
    if (DecodeStoredText(stored, tieForm).form != StoredTextForm::EightBit) {
        return std::nullopt;
    }
    const auto end = std::find(stored.begin(), stored.end(), uint8_t{0});
    if (std::none_of(stored.begin(), end, [](uint8_t b) { return b >= 0x80; })) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(stored.begin(), end);
}

int DetectStoreCodePage(const RecoveredStore& store, const std::vector<size_t>& owners,
                        const std::vector<TieForm>& forms) {
    std::vector<std::vector<uint8_t>> names;
    const auto& mailboxes = store.mailboxes.entries();
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (auto name = EightBitName(mailboxes[i].storedName, forms[i])) {
            names.push_back(std::move(*name));
        }
    }
    for (size_t f = 0; f < store.folders.size(); ++f) {
        if (auto name = EightBitName(store.folders[f].storedName, forms[owners[f]])) {
            names.push_back(std::move(*name));
        }
    }
    return names.empty() ? kWindowsWesternCodePage : DetectCodePage(names);
}

}  // namespace

void SettleStoreCodePage(ProcessingContext& context) {
    RecoveredStore& store = context.store;
    SetStoreTextForm(NameFormEvidence().Form());
    const std::vector<size_t> owners = FolderMailboxes(store);
    const std::vector<TieForm> forms = MailboxForms(store, owners);
    const std::optional<int> chosen = ChosenEightBitCodePage();
    const int codePage = chosen ? *chosen : DetectStoreCodePage(store, owners, forms);
    store.codePage = codePage;
    SetEightBitCodePage(codePage);
    const auto& mailboxes = store.mailboxes.entries();
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (mailboxes[i].storedName.empty()) {
            continue;
        }
        std::u16string label =
            MailboxLabel(DecodeStoredText(mailboxes[i].storedName, forms[i]).text);
        if (label != mailboxes[i].displayName) {
            context.sink.SetMailboxRowName(static_cast<int>(i), label);
            store.mailboxes.SetDisplayName(i, std::move(label));
        }
    }
    for (size_t f = 0; f < store.folders.size(); ++f) {
        FolderEntry& folder = store.folders[f];
        folder.mailboxTextForm = forms[owners[f]];
        if (!folder.storedName.empty()) {
            folder.displayName = DecodeStoredText(folder.storedName, forms[owners[f]]).text;
        }
    }
}

}  // namespace velmor
