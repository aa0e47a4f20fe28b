#include "search/search_document.h"

#include <ctime>

#include "edb/text_codec.h"
#include "items/file_time.h"
#include "search/body_word_sequence.h"
#include "search/cjk_words.h"
#include "search/search_match.h"
#include "search/search_terms.h"

namespace velmor {

namespace {

// The item's local date as YYYY-MM-DD, as the listing's date shows it; empty when none.
std::string LocalDate(const std::optional<uint64_t>& fileTime) {
    if (!fileTime || *fileTime < kUnixEpochFileTime) {
        return {};
    }
    const auto seconds = static_cast<time_t>(FileTimeToUnixSeconds(*fileTime));
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    char text[16];
    std::strftime(text, sizeof(text), "%Y-%m-%d", &local);
    return text;
}

// Positions between two texts of a document, so that no phrase runs from one into the next.
constexpr Xapian::termcount kTextGap = 100;

}  // namespace

SearchDocumentMaker::SearchDocumentMaker(const std::string& stemLanguage)
    : bodyWords_(Xapian::Stem(stemLanguage)) {
    terms_.set_stemmer(Xapian::Stem(stemLanguage));
    // Only the stems are kept: keeping the words beside them doubled the terms. CJK n-grams
    // have no stem and stay as they are.
    terms_.set_stemming_strategy(Xapian::TermGenerator::STEM_ALL);
    terms_.set_flags(Xapian::TermGenerator::FLAG_CJK_NGRAM);
}

// The body's words go into the document without positions, and their order into the word
// sequence's slot. The term generator makes them only for a body with CJK characters, into a
// document of their own whose positions give the sequence.
void SearchDocumentMaker::IndexBody(const std::u16string& body, Xapian::Document& document) {
    if (body.empty() || bodyWords_.Index(body, kBodyWordsSlot, document)) {
        return;
    }
    Xapian::Document generated;
    terms_.set_document(generated);
    terms_.index_text(Utf16ToUtf8(body), 1, kBodyPrefix);
    Xapian::Document bodyWords;
    CopyWithCjkCharactersAdjacent(generated, kBodyPrefix, 0, bodyWords);
    for (auto term = bodyWords.termlist_begin(); term != bodyWords.termlist_end(); ++term) {
        document.add_term(*term, term.get_wdf());
    }
    document.add_value(kBodyWordsSlot, EncodeBodyWordSequence(bodyWords));
}

// A text's words under prefix, at positions after the last text's; those of a text with CJK
// characters go through a document of their own to be placed side by side.
void SearchDocumentMaker::Index(const std::u16string& text, const char* prefix,
                                Xapian::Document& document) {
    if (text.empty()) {
        return;
    }
    if (MayHoldCjk(text)) {
        Xapian::Document generated;
        terms_.set_document(generated);
        terms_.index_text(Utf16ToUtf8(text), 1, prefix);
        position_ = CopyWithCjkCharactersAdjacent(generated, prefix, position_, document);
    } else {
        terms_.set_document(document);
        terms_.set_termpos(position_);
        terms_.index_text(Utf16ToUtf8(text), 1, prefix);
        position_ = terms_.get_termpos();
    }
    position_ += kTextGap;
}

void SearchDocumentMaker::Index(const std::vector<std::u16string>& texts, const char* prefix,
                                Xapian::Document& document) {
    for (const std::u16string& text : texts) {
        Index(text, prefix, document);
    }
}

Xapian::Document SearchDocumentMaker::Make(const SearchFields& fields) {
    Xapian::Document document;
    IndexBody(fields.body, document);
    position_ = 0;
    Index(fields.sender, kSenderPrefix, document);
    Index(fields.senderAddress, kSenderPrefix, document);
    Index(fields.to, kToPrefix, document);
    Index(fields.cc, kCcPrefix, document);
    Index(fields.bcc, kBccPrefix, document);
    Index(fields.subject, kSubjectPrefix, document);
    Index(fields.folderPath, kFolderPrefix, document);
    Index(fields.attachmentNames, kAttachmentNamePrefix, document);
    document.add_boolean_term(kKindPrefix + Utf16ToUtf8(fields.kind));
    if (fields.hasAttachments || !fields.attachmentNames.empty()) {
        document.add_boolean_term(std::string(kHasPrefix) + kAttachmentFlag);
    }
    if (const std::string date = LocalDate(fields.fileTime); !date.empty()) {
        document.add_boolean_term(kDatePrefix + date);
        document.add_value(kDateSlot, date.substr(0, 4) + date.substr(5, 2) + date.substr(8));
    }
    document.set_data(
        EncodeSearchMatch({fields.folderPath, fields.rowNumber, fields.kind, fields.sender,
                           fields.subject, fields.dateText, fields.itemId}));
    return document;
}

}  // namespace velmor
