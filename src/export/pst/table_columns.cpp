#include "export/pst/table_columns.h"

#include "export/pst/property_ids.h"

namespace velmor::pst {

using namespace prop;

const std::vector<uint32_t>& HierarchyTableColumns() {
    static const std::vector<uint32_t> columns = {
        PropertyTag(kReplItemId, kTypeInt32),          PropertyTag(kReplChangeNumber, kTypeInt64),
        PropertyTag(kReplVersionHistory, kTypeBinary), PropertyTag(kReplFlags, kTypeInt32),
        PropertyTag(kDisplayName, kTypeString),        PropertyTag(kContentCount, kTypeInt32),
        PropertyTag(kContentUnreadCount, kTypeInt32),  PropertyTag(kSubfolders, kTypeBoolean),
        PropertyTag(kContainerClass, kTypeString),     PropertyTag(kPstHiddenCount, kTypeInt32),
        PropertyTag(kPstHiddenUnread, kTypeInt32),
    };
    return columns;
}

const std::vector<uint32_t>& ContentsTableColumns() {
    static const std::vector<uint32_t> columns = {
        PropertyTag(kImportance, kTypeInt32),
        PropertyTag(kMessageClass, kTypeString),
        PropertyTag(kSensitivity, kTypeInt32),
        PropertyTag(kSubject, kTypeString),
        PropertyTag(kClientSubmitTime, kTypeTime),
        PropertyTag(kSentRepresentingName, kTypeString),
        PropertyTag(kMessageToMe, kTypeBoolean),
        PropertyTag(kMessageCcMe, kTypeBoolean),
        PropertyTag(kConversationTopic, kTypeString),
        PropertyTag(kConversationIndex, kTypeBinary),
        PropertyTag(kDisplayCc, kTypeString),
        PropertyTag(kDisplayTo, kTypeString),
        PropertyTag(kMessageDeliveryTime, kTypeTime),
        PropertyTag(kMessageFlags, kTypeInt32),
        PropertyTag(kMessageSize, kTypeInt32),
        PropertyTag(kMessageStatus, kTypeInt32),
        PropertyTag(kReplItemId, kTypeInt32),
        PropertyTag(kReplChangeNumber, kTypeInt64),
        PropertyTag(kReplVersionHistory, kTypeBinary),
        PropertyTag(kReplFlags, kTypeInt32),
        PropertyTag(kReplCopiedFromVersionHistory, kTypeBinary),
        PropertyTag(kReplCopiedFromItemId, kTypeBinary),
        PropertyTag(kItemTemporaryFlags, kTypeInt32),
        PropertyTag(kLastModificationTime, kTypeTime),
        PropertyTag(kSecureSubmitFlags, kTypeInt32),
    };
    return columns;
}

// The contents columns with the folder a found item is in, its parent node and whether only
// its headers are present.
const std::vector<uint32_t>& SearchContentsTableColumns() {
    static const std::vector<uint32_t> columns = [] {
        std::vector<uint32_t> search = ContentsTableColumns();
        search.push_back(PropertyTag(kParentDisplay, kTypeString));
        search.push_back(PropertyTag(kExchangeRemoteHeader, kTypeBoolean));
        search.push_back(PropertyTag(kLtpParentNid, kTypeInt32));
        return search;
    }();
    return columns;
}

const std::vector<uint32_t>& AssociatedContentsTableColumns() {
    static const std::vector<uint32_t> columns = {
        PropertyTag(kMessageClass, kTypeString),
        PropertyTag(kMessageFlags, kTypeInt32),
        PropertyTag(kMessageStatus, kTypeInt32),
        PropertyTag(kDisplayName, kTypeString),
        PropertyTag(kOfflineAddressBookName, kTypeString),
        PropertyTag(kSendOutlookRecallReport, kTypeBoolean),
        PropertyTag(kOfflineAddressBookTruncatedProperties, kTypeMultiInt32),
        PropertyTag(kViewDescriptorFlags, kTypeInt32),
        PropertyTag(kViewDescriptorLinkTo, kTypeBinary),
        PropertyTag(kViewDescriptorViewFolder, kTypeBinary),
        PropertyTag(kViewDescriptorName, kTypeString),
        PropertyTag(kViewDescriptorVersion, kTypeInt32),
    };
    return columns;
}

const std::vector<uint32_t>& RecipientTableColumns() {
    static const std::vector<uint32_t> columns = {
        PropertyTag(kRecipientType, kTypeInt32),
        PropertyTag(kResponsibility, kTypeBoolean),
        PropertyTag(kRecordKey, kTypeBinary),
        PropertyTag(kObjectType, kTypeInt32),
        PropertyTag(kEntryId, kTypeBinary),
        PropertyTag(kDisplayName, kTypeString),
        PropertyTag(kAddressType, kTypeString),
        PropertyTag(kEmailAddress, kTypeString),
        PropertyTag(kSearchKey, kTypeBinary),
        PropertyTag(kDisplayType, kTypeInt32),
        PropertyTag(kTransmittableDisplayName, kTypeString),
        PropertyTag(kSendRichInfo, kTypeBoolean),
        PropertyTag(kRowId, kTypeInt32),
    };
    return columns;
}

const std::vector<uint32_t>& AttachmentTableColumns() {
    static const std::vector<uint32_t> columns = {
        PropertyTag(kAttachSize, kTypeInt32),
        PropertyTag(kAttachFileName, kTypeString),
        PropertyTag(kAttachMethod, kTypeInt32),
        PropertyTag(kRenderingPosition, kTypeInt32),
    };
    return columns;
}

}  // namespace velmor::pst
