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

SettledMailForms SettleTiedMailText(std::vector<CMailItem>& mails,
                                    std::optional<StoredTextForm> mailboxForm) {
    TextFormEvidence senders;
    TextFormEvidence subjects;
    TextFormEvidence recipients;
    for (const CMailItem& mail : mails) {
        senders.Add(mail.senderForms);
        subjects.Add(mail.subjectForms);
        recipients.Add(mail.recipientForms);
    }
    const auto settled = [mailboxForm](const TextFormEvidence& column) {
        return column.SoleForm() ? column.SoleForm() : mailboxForm;
    };
    const SettledMailForms forms{settled(senders), settled(subjects)};
    const auto recipientForm = settled(recipients);
    const auto stored = [](const std::vector<uint8_t>& tie, std::optional<StoredTextForm> form) {
        return DecodeStoredText(tie, form).text;
    };
    for (CMailItem& mail : mails) {
        ReadTieAgain(
            mail.tiedSender, forms.sender, mail.senderName,
            [&mail, &stored](const std::vector<uint8_t>& tie, std::optional<StoredTextForm> form) {
                return mail.senderLengthPrefixed ? LengthPrefixedText(tie, form).text
                                                 : stored(tie, form);
            });
        ReadTieAgain(mail.tiedSubject, forms.subject, mail.subject, stored);
        ReadTieAgain(mail.tiedRecipients, recipientForm, mail.recipientText, stored);
    }
    return forms;
}

}  // namespace velmor
