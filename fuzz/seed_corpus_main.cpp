// velmor-fuzz-seeds DIR: writes the seed corpus of every fuzz target into DIR/<target>/,
// cut from stores that the test-database writer composes, so that fuzzing starts from
// well-formed pages, records and values.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "edb_writer/database_header.h"
#include "edb_writer/demo_store.h"
#include "edb_writer/entry_id.h"
#include "edb_writer/file_time.h"
#include "edb_writer/recipient_list.h"
#include "edb_writer/rtf_compressor.h"
#include "edb_writer/store_builder.h"
#include "edb_writer/store_columns.h"
#include "edb_writer/stored_text.h"
#include "program_arguments.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"
#include "stm_writer/real_mail.h"

namespace {

using namespace velmor::testdb;
using Bytes = std::vector<uint8_t>;

constexpr int32_t kCatalogObjectId = 2;
constexpr int32_t kCatalogShadowObjectId = 3;
constexpr uint8_t kItemDecoderCount = 5;

class SeedDirectory {
public:
    explicit SeedDirectory(std::filesystem::path root) : root_(std::move(root)) {}

    void Add(const std::string& target, const Bytes& bytes) {
        const std::filesystem::path dir = root_ / target;
        std::filesystem::create_directories(dir);
        std::ofstream out(dir / ("seed-" + std::to_string(count_++)), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path root_;
    int count_ = 0;
};

template <typename T>
requires std::is_arithmetic_v<T>
void AppendValue(Bytes& out, T value) {
    const auto* p = reinterpret_cast<const uint8_t*>(&value);
    out.insert(out.end(), p, p + sizeof(T));
}

void AppendBytes(Bytes& out, std::span<const uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// A small store with one folder of each kind; mails with in-line and out-of-line
// recipients.
StoreBuilder SmallStore() {
    StoreBuilder builder;
    Folder top;
    top.parent = builder.AddMailbox(Mailbox{"Ann Walker"});
    top.name = "Top";
    const EntryId topId = builder.AddFolder(top);
    const std::pair<const char*, ItemKind> kinds[] = {{"IPF.Note", ItemKind::Mail},
                                                      {"IPF.Contact", ItemKind::Contact},
                                                      {"IPF.Appointment", ItemKind::Appointment},
                                                      {"IPF.Task", ItemKind::Task},
                                                      {"IPF.StickyNote", ItemKind::StickyNote},
                                                      {"IPF.Journal", ItemKind::Journal}};
    for (const auto& [containerClass, kind] : kinds) {
        Folder folder;
        folder.parent = topId;
        folder.name = containerClass;
        folder.containerClass = containerClass;
        const EntryId id = builder.AddFolder(folder);
        for (int i = 0; i < 3; ++i) {
            Item item;
            item.kind = kind;
            item.time = FileTimeFromUtc(2023, 11, 14 + i, 9, 30, 0);
            item.subject = "Subject " + std::to_string(i);
            item.sender = "Carol Hughes";
            item.recipients = {{"Dan Ray"}, {"Eve Stone", TextEncoding::Ansi}};
            item.recipientStorage = i == 2 ? RecipientStorage::OutOfLine : RecipientStorage::Auto;
            item.contact.fullName = "Contact " + std::to_string(i);
            item.contact.mobilePhone = "555 0100";
            item.location = "Room 4";
            item.entryType = "Phone call";
            builder.AddItem(id, item);
        }
    }
    return builder;
}

// The file offset of page p: the header comes first.
int64_t PageOffset(int32_t pageNumber) {
    return (static_cast<int64_t>(pageNumber) + 1) * kPageSize;
}

Bytes PageBytes(const Page& page) {
    return Bytes(page.bytes().begin(), page.bytes().end());
}

void AddPageSeeds(SeedDirectory& seeds, const DatabaseImage& image, int32_t highestObjectId) {
    const StoreOptions options;
    for (int32_t p = 0; p < image.pageCount(); ++p) {
        const Page& page = image.page(p);
        const int32_t objectId = page.objectId();
        Bytes seed;
        if (objectId == kCatalogObjectId || objectId == kCatalogShadowObjectId) {
            AppendValue(seed, highestObjectId);
            AppendBytes(seed, page.bytes());
            seeds.Add("catalog_page", seed);
        } else if (objectId == options.mailboxTableObjectId) {
            seeds.Add("mailbox_page", PageBytes(page));
        } else if (objectId == options.foldersTableObjectId) {
            AppendValue(seed, static_cast<int32_t>(kContainerClassColumnId));
            AppendBytes(seed, page.bytes());
            seeds.Add("folder_page", seed);
        } else if (objectId == options.msgTableObjectId) {
            AppendValue(seed, PageOffset(p));
            AppendBytes(seed, page.bytes());
            seeds.Add("message_page", seed);
        } else if (objectId >= options.firstFolderTableObjectId) {
            for (uint8_t decoder = 0; decoder < kItemDecoderCount; ++decoder) {
                Bytes decoderSeed{decoder};
                AppendValue(decoderSeed, int16_t{0});
                for (size_t c = 0; c < kMessageColumnNames.size(); ++c) {
                    AppendValue(decoderSeed, MessageColumnId(static_cast<MessageColumn>(c)));
                }
                AppendBytes(decoderSeed, page.bytes());
                seeds.Add("item_decoders", decoderSeed);
            }
        }
    }
}

void AddFileSeeds(SeedDirectory& seeds, const StoreBuilder& builder, const Bytes& file) {
    seeds.Add("page_grouping", file);
    seeds.Add("whole_run", file);
    for (size_t f = 0; f < builder.folders().size(); ++f) {
        const Folder& folder = builder.folders()[f];
        const ItemKind kind = builder.ItemsOf(folder.id).empty()
                                  ? ItemKind::Mail
                                  : builder.ItemsOf(folder.id).front().kind;
        Bytes seed{static_cast<uint8_t>(kind)};
        AppendBytes(seed, std::span<const uint8_t>(folder.id));
        AppendValue(seed, StoreOptions{}.firstFolderTableObjectId + static_cast<int32_t>(f));
        AppendBytes(seed, file);
        seeds.Add("item_scanners", seed);
    }
    for (uint8_t sent : {0, 1}) {
        Bytes seed{sent};
        AppendValue(seed, MessageColumnId(MessageColumn::S8295));
        AppendValue(seed, static_cast<uint32_t>(kPageSize));
        AppendBytes(seed, file);
        seeds.Add("record_blocks", seed);
    }
    Bytes lookup;
    for (uint32_t id : {1u, 2u, 3u}) {
        AppendValue(lookup, id);
    }
    AppendBytes(lookup, file);
    seeds.Add("long_value_recipients", lookup);
    // The file's pages from the first one, in the small-page layout, for the first ids.
    Bytes index{0};
    for (uint32_t id : {1u, 2u, 3u}) {
        AppendValue(index, id);
    }
    AppendBytes(index, std::span<const uint8_t>(file).subspan(kPageSize));
    seeds.Add("long_value_index", index);
}

void AddValueSeeds(SeedDirectory& seeds) {
    const Bytes recipients =
        EncodeRecipientList(std::vector<Recipient>{{"Dan Ray"}, {"Eve Stone", TextEncoding::Ansi}});
    Bytes list;
    AppendValue(list, int16_t{0});
    AppendValue(list, static_cast<int16_t>(recipients.size()));
    AppendBytes(list, recipients);
    seeds.Add("recipient_list", list);

    for (TextEncoding encoding : {TextEncoding::Utf16, TextEncoding::Ansi}) {
        for (const Bytes& text : {EncodeTerminatedText("Quarterly report", encoding),
                                  EncodeLengthPrefixedText("Carol Hughes", encoding)}) {
            Bytes seed;
            AppendValue(seed, uint8_t{0});
            AppendValue(seed, int32_t{0});
            AppendValue(seed, static_cast<int32_t>(text.size()));
            AppendBytes(seed, text);
            seeds.Add("stored_text", seed);
        }
    }
    // Hebrew and Vietnamese, whose converters hold the last letter back; the first byte picks
    // the code page among the offered ones (1255 is the 11th, 1258 the 14th).
    for (auto [pick, codePage, text] : {std::tuple{uint8_t{10}, 1255, "\u05E9\u05DC\u05D5\u05DD"},
                                        std::tuple{uint8_t{13}, 1258, "H\u00E0 N\u1ED9i"}}) {
        const Bytes stored = EncodeTerminatedText(text, EightBitText(codePage));
        Bytes seed;
        AppendValue(seed, pick);
        AppendValue(seed, int32_t{0});
        AppendValue(seed, static_cast<int32_t>(stored.size()));
        AppendBytes(seed, stored);
        seeds.Add("stored_text", seed);
    }
    const std::string_view rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 {\\*\\htmltag64 <p>}Caf\\'e9 \\u8364?"
        "\\htmlrtf \\par\\htmlrtf0 {\\*\\htmltag72 </p>}}";
    seeds.Add("compressed_rtf", CompressRtf(rtf));
    seeds.Add("compressed_rtf", StoreRtfUncompressed(rtf));
    seeds.Add("rtf_body", Bytes(rtf.begin(), rtf.end()));
    for (uint64_t time : {uint64_t{0}, FileTimeFromUtc(2007, 4, 10, 13, 39, 7), ~uint64_t{0}}) {
        Bytes seed;
        AppendValue(seed, time);
        AppendValue(seed, int16_t{40});
        AppendValue(seed, time);
        seeds.Add("item_date", seed);
    }
}

// Streaming files of a few small messages of every kind, one with a moved run; the first byte
// is the carver's shape byte.
void AddStreamingSeeds(SeedDirectory& seeds) {
    constexpr int kMessages = 6;
    constexpr int64_t kLargestMessage = 40000;
    constexpr uint8_t kShape = 0x61;
    for (int moved : {-1, 3}) {
        const auto corpus = velmor::stm::MakeCorpus(kMessages, kLargestMessage, 1);
        Bytes seed = {kShape};
        const Bytes file = velmor::stm::LayCorpus(corpus, 1, moved);
        AppendBytes(seed, file);
        seeds.Add("streaming_carver", seed);
    }
    // The real messages of the tests, a few to a file, as shipped and in CRLF.
    constexpr size_t kRealMessagesPerSeed = 6;
    const std::vector<std::string> real = velmor::stm::ReadRealMail(VELMOR_REAL_MAIL_DIR);
    for (const bool crlf : {false, true}) {
        for (size_t first = 0; first < real.size(); first += kRealMessagesPerSeed) {
            std::vector<std::string> group;
            for (size_t i = first; i < std::min(real.size(), first + kRealMessagesPerSeed); ++i) {
                group.push_back(crlf ? velmor::stm::WithCrlf(real[i]) : real[i]);
            }
            std::vector<velmor::stm::LaidMessage> laid;
            Bytes seed = {kShape};
            AppendBytes(seed,
                        velmor::stm::LayRealMail(group, static_cast<uint32_t>(first + crlf), laid));
            seeds.Add("streaming_carver", seed);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    constexpr char kUsage[] = "usage: velmor-fuzz-seeds DIR";
    if (const auto answer = velmor::tools::AnswerOptions(argc, argv, kUsage)) {
        return *answer;
    }
    if (argc != 2) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 2;
    }
    SeedDirectory seeds(argv[1]);
    for (const StoreBuilder& builder : {SmallStore(), BuildDemoStore()}) {
        DatabaseImage image;
        builder.WriteTo(image);
        const Bytes file = image.Bytes();
        const auto highestObjectId =
            static_cast<int32_t>(image.header().u32(kHighestObjectIdOffset));
        AddPageSeeds(seeds, image, highestObjectId);
        AddFileSeeds(seeds, builder, file);
    }
    AddValueSeeds(seeds);
    AddStreamingSeeds(seeds);
    return 0;
}
