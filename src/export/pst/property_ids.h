#pragma once

#include <cstdint>

#include "export/pst/property_list.h"

// The property ids the file's objects carry.
namespace velmor::pst::prop {

inline constexpr uint16_t kImportance = 0x0017;
inline constexpr uint16_t kMessageClass = 0x001A;
inline constexpr uint16_t kSensitivity = 0x0036;
inline constexpr uint16_t kSubject = 0x0037;
inline constexpr uint16_t kClientSubmitTime = 0x0039;
inline constexpr uint16_t kSubjectPrefix = 0x003D;
inline constexpr uint16_t kSentRepresentingName = 0x0042;
inline constexpr uint16_t kMessageToMe = 0x0057;
inline constexpr uint16_t kMessageCcMe = 0x0058;
inline constexpr uint16_t kStartDate = 0x0060;
inline constexpr uint16_t kEndDate = 0x0061;
inline constexpr uint16_t kSentRepresentingAddressType = 0x0064;
inline constexpr uint16_t kSentRepresentingEmailAddress = 0x0065;
inline constexpr uint16_t kConversationTopic = 0x0070;
inline constexpr uint16_t kConversationIndex = 0x0071;
inline constexpr uint16_t kTransportMessageHeaders = 0x007D;
inline constexpr uint16_t kRecipientType = 0x0C15;
inline constexpr uint16_t kSenderName = 0x0C1A;
inline constexpr uint16_t kSenderAddressType = 0x0C1E;
inline constexpr uint16_t kSenderEmailAddress = 0x0C1F;
inline constexpr uint16_t kDisplayBcc = 0x0E02;
inline constexpr uint16_t kDisplayCc = 0x0E03;
inline constexpr uint16_t kDisplayTo = 0x0E04;
inline constexpr uint16_t kParentDisplay = 0x0E05;
inline constexpr uint16_t kMessageDeliveryTime = 0x0E06;
inline constexpr uint16_t kMessageFlags = 0x0E07;
inline constexpr uint16_t kMessageSize = 0x0E08;
inline constexpr uint16_t kResponsibility = 0x0E0F;
inline constexpr uint16_t kMessageStatus = 0x0E17;
inline constexpr uint16_t kHasAttachments = 0x0E1B;
inline constexpr uint16_t kNormalizedSubject = 0x0E1D;
inline constexpr uint16_t kAttachSize = 0x0E20;
inline constexpr uint16_t kAttachNumber = 0x0E21;
inline constexpr uint16_t kExchangeRemoteHeader = 0x0E2A;
inline constexpr uint16_t kReplItemId = 0x0E30;
inline constexpr uint16_t kReplChangeNumber = 0x0E33;
inline constexpr uint16_t kReplVersionHistory = 0x0E34;
inline constexpr uint16_t kReplFlags = 0x0E38;
inline constexpr uint16_t kReplCopiedFromVersionHistory = 0x0E3C;
inline constexpr uint16_t kReplCopiedFromItemId = 0x0E3D;
inline constexpr uint16_t kRecordKey = 0x0FF9;
inline constexpr uint16_t kObjectType = 0x0FFE;
inline constexpr uint16_t kEntryId = 0x0FFF;
inline constexpr uint16_t kBody = 0x1000;
inline constexpr uint16_t kHtml = 0x1013;
inline constexpr uint16_t kInternetMessageId = 0x1035;
inline constexpr uint16_t kInternetReferences = 0x1039;
inline constexpr uint16_t kInReplyToId = 0x1042;
inline constexpr uint16_t kFlagStatus = 0x1090;
inline constexpr uint16_t kItemTemporaryFlags = 0x1097;
inline constexpr uint16_t kRowId = 0x3000;
inline constexpr uint16_t kDisplayName = 0x3001;
inline constexpr uint16_t kAddressType = 0x3002;
inline constexpr uint16_t kEmailAddress = 0x3003;
inline constexpr uint16_t kCreationTime = 0x3007;
inline constexpr uint16_t kLastModificationTime = 0x3008;
inline constexpr uint16_t kSearchKey = 0x300B;
inline constexpr uint16_t kValidFolderMask = 0x35DF;
inline constexpr uint16_t kIpmSubtreeEntryId = 0x35E0;
inline constexpr uint16_t kIpmWastebasketEntryId = 0x35E3;
inline constexpr uint16_t kFinderEntryId = 0x35E7;
inline constexpr uint16_t kContentCount = 0x3602;
inline constexpr uint16_t kContentUnreadCount = 0x3603;
inline constexpr uint16_t kSubfolders = 0x360A;
inline constexpr uint16_t kContainerClass = 0x3613;
inline constexpr uint16_t kAttachDataBinary = 0x3701;
inline constexpr uint16_t kAttachExtension = 0x3703;
inline constexpr uint16_t kAttachFileName = 0x3704;
inline constexpr uint16_t kAttachMethod = 0x3705;
inline constexpr uint16_t kAttachLongFileName = 0x3707;
inline constexpr uint16_t kRenderingPosition = 0x370B;
inline constexpr uint16_t kAttachMimeTag = 0x370E;
inline constexpr uint16_t kDisplayType = 0x3900;
inline constexpr uint16_t kTransmittableDisplayName = 0x39FF;
inline constexpr uint16_t kGivenName = 0x3A06;
inline constexpr uint16_t kBusinessTelephoneNumber = 0x3A08;
inline constexpr uint16_t kHomeTelephoneNumber = 0x3A09;
inline constexpr uint16_t kSurname = 0x3A11;
inline constexpr uint16_t kPostalAddress = 0x3A15;
inline constexpr uint16_t kMobileTelephoneNumber = 0x3A1C;
inline constexpr uint16_t kSendRichInfo = 0x3A40;
inline constexpr uint16_t kInternetCodepage = 0x3FDE;
inline constexpr uint16_t kSecureSubmitFlags = 0x65C6;
inline constexpr uint16_t kPstHiddenCount = 0x6635;
inline constexpr uint16_t kPstHiddenUnread = 0x6636;
inline constexpr uint16_t kLtpParentNid = 0x67F1;
inline constexpr uint16_t kOfflineAddressBookName = 0x6800;
inline constexpr uint16_t kSendOutlookRecallReport = 0x6803;
inline constexpr uint16_t kOfflineAddressBookTruncatedProperties = 0x6805;
inline constexpr uint16_t kViewDescriptorFlags = 0x7003;
inline constexpr uint16_t kViewDescriptorLinkTo = 0x7004;
inline constexpr uint16_t kViewDescriptorViewFolder = 0x7005;
inline constexpr uint16_t kViewDescriptorName = 0x7006;
inline constexpr uint16_t kViewDescriptorVersion = 0x7007;

// The name-to-id map's own properties.
inline constexpr uint16_t kNameIdBucketCount = 0x0001;
inline constexpr uint16_t kNameIdStreamGuid = 0x0002;
inline constexpr uint16_t kNameIdStreamEntry = 0x0003;
inline constexpr uint16_t kNameIdStreamString = 0x0004;
inline constexpr uint16_t kNameIdFirstBucket = 0x1000;

// Values.
inline constexpr uint32_t kImportanceNormal = 1;
inline constexpr uint32_t kMessageFlagRead = 0x1;
inline constexpr uint32_t kMessageFlagHasAttachments = 0x10;
inline constexpr uint32_t kFlagStatusFlagged = 2;
inline constexpr uint32_t kRecipientTo = 1;
inline constexpr uint32_t kRecipientCc = 2;
inline constexpr uint32_t kRecipientBcc = 3;
inline constexpr uint32_t kObjectTypeMailUser = 6;
inline constexpr uint32_t kObjectTypeAttachment = 7;
// An attachment of data by value, shown after the body rather than at a place in it.
inline constexpr uint32_t kAttachByValue = 1;
inline constexpr uint32_t kRenderingPositionNone = 0xFFFFFFFF;
inline constexpr uint32_t kCodepageUtf8 = 65001;
// The store's valid-folder mask: the subtree, the wastebasket and the finder folders exist.
inline constexpr uint32_t kValidFolders = 0x1 | 0x8 | 0x80;

}  // namespace velmor::pst::prop
