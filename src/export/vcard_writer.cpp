#include "export/vcard_writer.h"

#include <array>

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr size_t kMaxLineOctets = 75;
constexpr char kLineBreak[] = "\r\n";
constexpr char16_t kNoName[] = u"(no name)";

void AddLine(std::string& card, const std::string& line) {
    card += FoldContentLine(line);
}

void AddText(std::string& card, const std::string& name, const std::u16string& value) {
    if (!value.empty()) {
        AddLine(card, name + ":" + VcardEscape(value, false));
    }
}

// The formatted name a card must have: the full name, else the parts, else the address, else
// the subject, else a placeholder.
std::u16string FormattedName(const ExportRecord& record) {
    const ContactFields& contact = record.contact;
    if (!contact.fullName.empty()) {
        return contact.fullName;
    }
    std::u16string parts = contact.firstName;
    if (!contact.lastName.empty()) {
        parts += (parts.empty() ? u"" : u" ") + contact.lastName;
    }
    for (const std::u16string* name :
         std::array<const std::u16string*, 3>{&parts, &contact.emailAddress, &record.subject}) {
        if (!name->empty()) {
            return *name;
        }
    }
    return kNoName;
}

}  // namespace

std::string VcardEscape(std::u16string_view text, bool component) {
    std::string escaped;
    const std::string utf8 = Utf16ToUtf8(text);
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\\' || c == ',' || (component && c == ';')) {
            escaped += '\\';
            escaped += c;
        } else if (c == '\r' || c == '\n') {
            escaped += "\\n";
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string FoldContentLine(std::string_view line) {
    std::string folded;
    size_t start = 0;
    size_t room = kMaxLineOctets;
    while (line.size() - start > room) {
        size_t end = start + room;
        while (end > start && IsUtf8ContinuationByte(line[end])) {
            --end;
        }
        folded.append(line.substr(start, end - start));
        folded += kLineBreak;
        folded += ' ';
        start = end;
        room = kMaxLineOctets - 1;
    }
    folded.append(line.substr(start));
    folded += kLineBreak;
    return folded;
}

std::string VcardWriter::Entry(const ExportRecord& record) {
    const ContactFields& contact = record.contact;
    std::string card = std::string("BEGIN:VCARD") + kLineBreak + "VERSION:4.0" + kLineBreak;
    AddLine(card, "FN:" + VcardEscape(FormattedName(record), false));
    AddLine(card, "N:" + VcardEscape(contact.lastName, true) + ";" +
                      VcardEscape(contact.firstName, true) + ";;;");
    AddText(card, "TEL;VALUE=text;TYPE=home", contact.homePhone);
    AddText(card, "TEL;VALUE=text;TYPE=work", contact.businessPhone);
    AddText(card, "TEL;VALUE=text;TYPE=cell", contact.mobilePhone);
    if (!contact.businessAddress.empty()) {
        AddLine(card, "ADR;TYPE=work:;;" + VcardEscape(contact.businessAddress, true) + ";;;;");
    }
    AddText(card, "EMAIL", contact.emailAddress);
    AddText(card, "UID;VALUE=text", record.itemId);
    card += std::string("END:VCARD") + kLineBreak;
    return card;
}

}  // namespace velmor
