#pragma once

#include <cstddef>
#include <optional>

#include "edb/stored_text_decoder.h"

namespace velmor {

// The values of a column whose bytes allow one form only; they tell the form of the column's
// ties. Stores hold one form throughout, but a mailbox moved in from an older server may keep
// the other: then the more common form wins.
class TextFormEvidence {
public:
    TextFormEvidence() = default;
    TextFormEvidence(size_t utf16, size_t eightBit) : utf16_(utf16), eightBit_(eightBit) {}

    void Add(AllowedForms allowed);
    void Add(const TextFormEvidence& other);
    // The form of the certain values; nothing when none is certain or both are as common.
    std::optional<StoredTextForm> Form() const;
    // The form of the certain values when they all have one; nothing otherwise.
    std::optional<StoredTextForm> SoleForm() const;

private:
    size_t utf16_ = 0;
    size_t eightBit_ = 0;
};

// The store's form, from the evidence of its mailbox and folder names: the form of every tie
// of a column without certain values of its own. One per process, like the store's code page;
// nothing until discovery has read the names.
std::optional<StoredTextForm> StoreTextForm();
void SetStoreTextForm(std::optional<StoredTextForm> form);

// The names' evidence, gathered while the mailbox and folder pages are read (on every core);
// forgotten, with the store's form, when a store's discovery starts.
void NoteNameForm(AllowedForms allowed);
TextFormEvidence NameFormEvidence();
void ForgetStoreTextForm();

}  // namespace velmor
