#pragma once

#include <string>
#include <vector>

#include <xapian.h>

#include "search/body_word_indexer.h"
#include "search/search_fields.h"

namespace velmor {

// Makes the index's document of one item: its fields' words under their prefixes, its kind,
// date and attachment flag as boolean terms, its date in the date slot and what a match shows
// as data. One maker per thread.
class SearchDocumentMaker {
public:
    explicit SearchDocumentMaker(const std::string& stemLanguage);

    Xapian::Document Make(const SearchFields& fields);

private:
    void IndexBody(const std::u16string& body, Xapian::Document& document);
    void Index(const std::u16string& text, const char* prefix, Xapian::Document& document);
    void Index(const std::vector<std::u16string>& texts, const char* prefix,
               Xapian::Document& document);

    Xapian::TermGenerator terms_;
    BodyWordIndexer bodyWords_;
    Xapian::termpos position_ = 0;  // the last given in the document being made
};

}  // namespace velmor
