// The streaming file's carver and the MIME reading of what it carves, over any bytes. The
// first byte picks a small read chunk and message limit, so that windows, starts and cuts meet
// the edges of a short input.
#include "fuzz_input.h"
#include "streaming/streaming_carve.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto shape = input.Take<uint8_t>();
    velmor::CarveLimits limits;
    limits.chunkBytes = int64_t{4096} << (shape & 3);
    limits.maxMessageBytes = int64_t{1024} << (shape >> 4);
    velmor::MemoryByteSource source(input.rest());
    velmor::CarveStreamingFile(
        source, limits, [](velmor::CarvedMessage&& message, const velmor::MimeSummary&) {
            const auto attachments = velmor::ReadMimeAttachments(message.bytes);
            for (size_t i = 0; i < attachments.size(); ++i) {
                velmor::AttachmentContent(message.bytes, i);
            }
        });
    return 0;
}
