#pragma once

namespace velmor {

// The term prefixes of the index, shared by the builder and the query parser.
inline constexpr char kSenderPrefix[] = "A";
inline constexpr char kToPrefix[] = "XTO";
inline constexpr char kCcPrefix[] = "XCC";
inline constexpr char kBccPrefix[] = "XBCC";
inline constexpr char kSubjectPrefix[] = "S";
// The body's words, most of the index's terms, go without a prefix: a prefix's bytes would
// lengthen every one of their keys. The other prefixes start with capitals, which words never do.
inline constexpr char kBodyPrefix[] = "";
inline constexpr char kFolderPrefix[] = "XF";
inline constexpr char kAttachmentNamePrefix[] = "XN";
inline constexpr char kKindPrefix[] = "K";
inline constexpr char kHasPrefix[] = "H";
inline constexpr char kDatePrefix[] = "D";

// "has:attachment" is the one thing an item is said to have.
inline constexpr char kAttachmentFlag[] = "attachment";

// The value slot of an item's local date as YYYYMMDD, for date ranges.
inline constexpr unsigned kDateSlot = 0;
// The value slot of the body's word sequence, for phrases of body words.
inline constexpr unsigned kBodyWordsSlot = 1;

// The stemmer's language when no other is set.
inline constexpr char kDefaultStemLanguage[] = "english";

}  // namespace velmor
