#include "browse/mail_lister.h"

#include <algorithm>

#include "browse/item_images.h"
#include "browse/last_of_equal_keys.h"
#include "browse/mail_details.h"
#include "browse/recipient_list.h"
#include "edb/text_codec.h"

namespace velmor {

namespace {

// The mail scan covered 0 to 60 of the item progress bar; listing covers up to 40 more.
constexpr int kListingProgressStart = 60;
constexpr int64_t kListingProgressSpan = 40;

int RowImage(const CMailItem& mail, const MailDetails& details, bool administrator) {
    if (mail.itemKind >= kContactImage && mail.itemKind <= kJournalImage) {
        return mail.itemKind;
    }
    return details.marker && !administrator ? kMarkedMailImage : kMailImage;
}

const std::u16string& StoredSubject(const CMailItem& mail, const MailDetails& details) {
    return mail.subject.empty() ? details.subjectFallback : mail.subject;
}

std::u16string SubjectCell(const CMailItem& mail, const MailDetails& details) {
    std::u16string subject = StoredSubject(mail, details);
    std::replace(subject.begin(), subject.end(), u'\t', u' ');
    return mail.subjectPrefix + subject;
}

}  // namespace

void ListMailItems(ProcessingContext& context, std::vector<CMailItem>& mails, ItemList& list,
                   bool sentOrOutbox, bool administrator, const std::u16string& owner,
                   const SettledMailForms& columnForms) {
    ProgressSink& sink = context.sink;
    ShowBusyButtons(sink);
    sink.SetItemStatus(kDisplayingItemsStatus);
    // Every mail created by this job's scan is in the chain, so its size is the record count.
    const auto recordCount = static_cast<int64_t>(mails.size());
    const std::vector<bool> listed =
        LastOfEqualKeys(mails, [](const CMailItem& m) { return std::u16string_view(m.itemId); });
    LongValueRecipients outOfLine(context);
    int64_t stepSum = 0;
    int64_t offset = 0;
    int row = 0;
    for (size_t i = 0; i < mails.size(); ++i) {
        if (!listed[i]) {
            continue;
        }
        if (context.stop.requested()) {
            return;
        }
        CMailItem& mail = mails[i];
        stepSum += kListingProgressSpan;
        if (recordCount != 0) {
            offset = stepSum / recordCount;
        }
        sink.SetItemProgressPosition(kListingProgressStart + static_cast<int>(offset));
        const MailDetails details =
            ReadMailDetails(context, mail.itemId, sentOrOutbox, outOfLine, columnForms);
        if (context.stop.requested()) {
            return;
        }
        if (mail.senderName.empty()) {
            mail.senderName = details.sender;
        }
        if (!details.recipients.empty()) {
            mail.recipientText = JoinRecipientNames(details.recipients);
        }
        std::u16string addressee;
        if (sentOrOutbox) {
            addressee = mail.recipientText;
        } else if (administrator) {
            addressee = kAdministratorSender;
        } else {
            addressee = !owner.empty() && mail.senderName.empty() ? owner : mail.senderName;
        }
        ListedItem listedItem;
        listedItem.item = &mail;
        listedItem.subject = mail.subjectPrefix + StoredSubject(mail, details);
        listedItem.sender = sentOrOutbox ? u"" : addressee;
        if (!details.recipients.empty()) {
            listedItem.recipients = details.recipients;
        } else if (!mail.recipientText.empty()) {
            listedItem.recipients = {mail.recipientText};
        }
        listedItem.marker = details.marker;
        list.InsertListedRow(row, RowImage(mail, details, administrator),
                             {Utf8ToUtf16(std::to_string(row + 1)), addressee,
                              SubjectCell(mail, details), mail.dateText},
                             listedItem);
        ++row;
    }
}

}  // namespace velmor
