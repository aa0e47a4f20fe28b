#include "discovery/page_grouping.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "discovery/ordered_block_pass.h"
#include "discovery/scanned_block.h"

namespace velmor {

namespace {

// Reads of up to 512 KiB keep a disk streaming and stay in a core's cache while they are
// scanned; a small file gets smaller blocks, so that every thread still has several.
constexpr int64_t kMaxChunksPerBlock = 8;
constexpr int64_t kBlocksPerThread = 4;
// Blocks scanned ahead of the merge, per thread: enough that no thread waits for a slot
// while another merges.
constexpr size_t kSlotsPerThread = 4;

int64_t ChunksPerBlock(uint64_t fileSize, unsigned threads) {
    const int64_t chunks = static_cast<int64_t>(fileSize) / kChunkSize + 1;
    return std::clamp(chunks / (threads * kBlocksPerThread), int64_t{1}, kMaxChunksPerBlock);
}

// Takes the scanned blocks into the store, in file order: each chunk in turn, as a single
// reader would meet it.
class PassMerge {
public:
    explicit PassMerge(ProcessingContext& context)
        : context_(context),
          fileSize_(static_cast<int64_t>(context.file.fileSize())),
          wholePages_(fileSize_ / PAGE_SIZE) {}

    // False when the pass ends: a stop, or the end of the file.
    bool Merge(const ScannedBlock& block, int64_t firstChunk) {
        for (size_t c = 0; c < block.counts.size(); ++c) {
            const int64_t i = firstChunk + static_cast<int64_t>(c);
            if (context_.stop.requested() || fileSize_ - i * kChunkSize <= PAGE_SIZE) {
                return false;
            }
            context_.sink.SetProgressPosition(static_cast<int>(i));
            if (block.counts[c] == 0) {
                return false;
            }
            if (i == 0 && block.headerBound) {
                const int32_t bound = *block.headerBound;
                context_.file.maxObjectId =
                    (bound > 0 && bound < wholePages_) ? bound : kDefaultObjectIdBound;
            }
            MergeChunk(block, c == 0 ? 0 : block.pagesEnd[c - 1], block.pagesEnd[c]);
        }
        return !block.counts.empty();
    }

private:
    void MergeChunk(const ScannedBlock& block, size_t begin, size_t end) {
        MessageCandidates& candidates = context_.store.messageCandidates;
        for (size_t p = begin; p < end; ++p) {
            const ScannedPage& page = block.pages[p];
            if (page.objectId > context_.file.maxObjectId) {
                continue;
            }
            context_.store.pageGroups.AddPage(page.objectId, page.pageNumber);
            if (!candidates.Wants(page.objectId)) {
                continue;
            }
            if (!page.whole) {
                candidates.EndObject(page.objectId);
                continue;
            }
            candidates.AddPage(page.objectId, std::span(block.records.data() + page.recordsBegin,
                                                        page.recordsEnd - page.recordsBegin));
        }
    }

    ProcessingContext& context_;
    int64_t fileSize_;
    int64_t wholePages_;
};

}  // namespace

// One pass over the file: every page joins the group of its object id, and the message
// records on it are gathered for the message index, which then needs no second read. Blocks
// are read and scanned on every core and merged in file order.
void GroupPagesByObject(ProcessingContext& context) {
    EdbFile& file = context.file;
    MessageCandidates& candidates = context.store.messageCandidates;
    file.maxObjectId = 0;
    candidates.Start();
    context.sink.SetProgressRange(0, static_cast<int>(file.fileSize() / kChunkSize));
    context.sink.SetProgressPosition(0);
    if (context.stop.requested()) {
        return;
    }

    const unsigned threads = context.threadCount();
    const int64_t chunksPerBlock = ChunksPerBlock(file.fileSize(), threads);
    const auto blockBytes = static_cast<size_t>(chunksPerBlock * kChunkSize);
    std::vector<std::unique_ptr<uint8_t[]>> buffers(threads);
    for (auto& buffer : buffers) {
        buffer = std::make_unique_for_overwrite<uint8_t[]>(blockBytes);
    }
    std::vector<ScannedBlock> slots(threads * kSlotsPerThread);
    // The object whose records alone are still gathered (0: every object's). It only ever
    // changes from 0 to one object, so a scan that saw 0 looks for a superset of what its
    // merge takes.
    std::atomic<int32_t> onlyObject = 0;
    const bool gathering = candidates.gathering();
    PassMerge merge(context);

    RunOrderedBlockPass(
        threads, slots.size(),
        [&](int64_t block, size_t slot, unsigned worker) {
            ScannedBlock& scanned = slots[slot];
            const int64_t first = block * chunksPerBlock;
            uint8_t* bytes = buffers[worker].get();
            file.ReadChunks(first, {bytes, blockBytes}, scanned.counts);
            ScanBlock(bytes, first, RecordsWanted{gathering, onlyObject.load()}, scanned);
            return !scanned.counts.empty() && scanned.counts.back() != 0;
        },
        [&](int64_t block, size_t slot) {
            const bool goOn = merge.Merge(slots[slot], block * chunksPerBlock);
            onlyObject = candidates.keptObject();
            return goOn;
        });
}

}  // namespace velmor
