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

// What a name read once tells of its mailbox's form. Kept bytes tell it themselves; a name
// kept without them was certain UTF-16 when it holds a character above U+00FF, and tells
// nothing otherwise (plain ASCII reads alike both ways).
AllowedForms NameEvidence(const std::u16string& text, const std::vector<uint8_t>& kept) {
    if (!kept.empty()) {
        return FormsAllowed(kept);
    }
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; })
               ? AllowedForms::Utf16
               : AllowedForms::Neither;
}

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
        evidence[i].Add(NameEvidence(mailboxes[i].displayName, mailboxes[i].eightBitName));
    }
    for (size_t f = 0; f < store.folders.size(); ++f) {
        const FolderEntry& folder = store.folders[f];
        evidence[owners[f]].Add(NameEvidence(folder.displayName, folder.eightBitName));
    }
    std::vector<TieForm> forms;
    for (const TextFormEvidence& counted : evidence) {
        forms.push_back(counted.Form());
    }
    return forms;
}

// A name kept for a second reading that its mailbox's form reads as 8-bit text.
bool IsEightBitName(const std::vector<uint8_t>& stored, TieForm tieForm) {
    return !stored.empty() && DecodeStoredText(stored, tieForm).form == StoredTextForm::EightBit;
}

int DetectStoreCodePage(const RecoveredStore& store, const std::vector<size_t>& owners,
                        const std::vector<TieForm>& forms) {
    std::vector<std::vector<uint8_t>> names;
    const auto& mailboxes = store.mailboxes.entries();
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (IsEightBitName(mailboxes[i].eightBitName, forms[i])) {
            names.push_back(mailboxes[i].eightBitName);
        }
    }
    for (size_t f = 0; f < store.folders.size(); ++f) {
        if (IsEightBitName(store.folders[f].eightBitName, forms[owners[f]])) {
            names.push_back(store.folders[f].eightBitName);
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
        if (mailboxes[i].eightBitName.empty()) {
            continue;
        }
        std::u16string label =
            MailboxLabel(DecodeStoredText(mailboxes[i].eightBitName, forms[i]).text);
        if (label != mailboxes[i].displayName) {
            context.sink.SetMailboxRowName(static_cast<int>(i), label);
            store.mailboxes.SetDisplayName(i, std::move(label));
        }
    }
    for (size_t f = 0; f < store.folders.size(); ++f) {
        FolderEntry& folder = store.folders[f];
        if (!folder.eightBitName.empty()) {
            folder.displayName = DecodeStoredText(folder.eightBitName, forms[owners[f]]).text;
        }
    }
}

}  // namespace velmor
