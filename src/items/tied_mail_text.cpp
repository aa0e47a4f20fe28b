#include "items/tied_mail_text.h"

#include "edb/text_form_evidence.h"
#include "items/length_prefixed_text.h"

namespace velmor {

namespace {

// Reads the tie again in form by read, then lets its bytes go.
template <typename Read>
void ReadTieAgain(std::vector<uint8_t>& tie, std::optional<StoredTextForm> form,
                  std::u16string& text, Read read) {
    if (!tie.empty() && form) {
        text = read(tie, form);
    }
    std::vector<uint8_t>().swap(tie);
}

}  // namespace

void SettleTiedMailText(std::vector<CMailItem>& mails, std::optional<StoredTextForm> mailboxForm) {
    TextFormEvidence senders;
    TextFormEvidence subjects;
    for (const CMailItem& mail : mails) {
        senders.Add(mail.senderForms);
        subjects.Add(mail.subjectForms);
    }
    const auto senderForm = senders.SoleForm() ? senders.SoleForm() : mailboxForm;
    const auto subjectForm = subjects.SoleForm() ? subjects.SoleForm() : mailboxForm;
    for (CMailItem& mail : mails) {
        ReadTieAgain(mail.tiedSender, senderForm, mail.senderName,
                     [&mail](const std::vector<uint8_t>& tie, std::optional<StoredTextForm> form) {
                         return mail.senderLengthPrefixed ? LengthPrefixedText(tie, form).text
                                                          : DecodeStoredText(tie, form).text;
                     });
        ReadTieAgain(mail.tiedSubject, subjectForm, mail.subject,
                     [](const std::vector<uint8_t>& tie, std::optional<StoredTextForm> form) {
                         return DecodeStoredText(tie, form).text;
                     });
    }
}

}  // namespace velmor
