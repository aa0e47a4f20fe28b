// The mailbox scan of one page.
#include "discovery/mailbox_scan.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::StopFlag stop;
    velmor::MailboxList mailboxes;
    velmor::ScanMailboxPage(velmor::PageView(data, static_cast<int64_t>(size)), stop, mailboxes);
    return 0;
}
