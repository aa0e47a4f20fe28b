#include "edb/text_form_evidence.h"

#include <atomic>

namespace velmor {

namespace {

constexpr int kNoForm = -1;

std::atomic<int> storeForm{kNoForm};
std::atomic<size_t> utf16Names{0};
std::atomic<size_t> eightBitNames{0};

}  // namespace

void TextFormEvidence::Add(AllowedForms allowed) {
    utf16_ += allowed == AllowedForms::Utf16 ? 1 : 0;
    eightBit_ += allowed == AllowedForms::EightBit ? 1 : 0;
}

void TextFormEvidence::Add(const TextFormEvidence& other) {
    utf16_ += other.utf16_;
    eightBit_ += other.eightBit_;
}

std::optional<StoredTextForm> TextFormEvidence::Form() const {
    if (utf16_ == eightBit_) {
        return std::nullopt;
    }
    return utf16_ > eightBit_ ? StoredTextForm::Utf16 : StoredTextForm::EightBit;
}

std::optional<StoredTextForm> TextFormEvidence::SoleForm() const {
    if (utf16_ != 0 && eightBit_ != 0) {
        return std::nullopt;
    }
    return Form();
}

std::optional<StoredTextForm> StoreTextForm() {
    const int form = storeForm.load(std::memory_order_relaxed);
    return form == kNoForm ? std::nullopt
                           : std::optional<StoredTextForm>(static_cast<StoredTextForm>(form));
}

void SetStoreTextForm(std::optional<StoredTextForm> form) {
    storeForm.store(form ? static_cast<int>(*form) : kNoForm, std::memory_order_relaxed);
}

void NoteNameForm(AllowedForms allowed) {
    if (allowed == AllowedForms::Utf16) {
        utf16Names.fetch_add(1, std::memory_order_relaxed);
    } else if (allowed == AllowedForms::EightBit) {
        eightBitNames.fetch_add(1, std::memory_order_relaxed);
    }
}

TextFormEvidence NameFormEvidence() {
    return {utf16Names.load(std::memory_order_relaxed),
            eightBitNames.load(std::memory_order_relaxed)};
}

void ForgetStoreTextForm() {
    SetStoreTextForm(std::nullopt);
    utf16Names.store(0, std::memory_order_relaxed);
    eightBitNames.store(0, std::memory_order_relaxed);
}

}  // namespace velmor
