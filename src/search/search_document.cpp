#include "search/search_document.h"

#include <ctime>

#include "edb/text_codec.h"
#include "items/file_time.h"
#include "search/body_word_sequence.h"
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

void Index(Xapian::TermGenerator& terms, const std::u16string& text, const char* prefix) {
    if (!text.empty()) {
        terms.index_text(Utf16ToUtf8(text), 1, prefix);
        terms.increase_termpos();
    }
}

void Index(Xapian::TermGenerator& terms, const std::vector<std::u16string>& texts,
           const char* prefix) {
    for (const std::u16string& text : texts) {
        Index(terms, text, prefix);
    }
}

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
    Xapian::Document bodyWords;
    terms_.set_document(bodyWords);
    terms_.index_text(Utf16ToUtf8(body), 1, kBodyPrefix);
    for (auto term = bodyWords.termlist_begin(); term != bodyWords.termlist_end(); ++term) {
        document.add_term(*term, term.get_wdf());
    }
    document.add_value(kBodyWordsSlot, EncodeBodyWordSequence(bodyWords));
}

Xapian::Document SearchDocumentMaker::Make(const SearchFields& fields) {
    Xapian::Document document;
    IndexBody(fields.body, document);
    terms_.set_document(document);
    Index(terms_, fields.sender, kSenderPrefix);
    Index(terms_, fields.senderAddress, kSenderPrefix);
    Index(terms_, fields.to, kToPrefix);
    Index(terms_, fields.cc, kCcPrefix);
    Index(terms_, fields.bcc, kBccPrefix);
    Index(terms_, fields.subject, kSubjectPrefix);
    Index(terms_, fields.folderPath, kFolderPrefix);
    Index(terms_, fields.attachmentNames, kAttachmentNamePrefix);
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
