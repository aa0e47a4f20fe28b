// The long-value index over pages of any bytes, in both tag-flag layouts, and the reassembly
// of the ids the input names from those same bytes.
#include <algorithm>
#include <array>

#include "edb/long_value_assembly.h"
#include "edb/long_value_index.h"
#include "fuzz_input.h"

namespace {

constexpr int kLookups = 3;
constexpr int64_t kSmallPage = 4096;
constexpr int64_t kLargePage = 16384;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const bool largePages = (input.Take<uint8_t>() & 1) != 0;
    std::array<uint32_t, kLookups> ids{};
    for (uint32_t& id : ids) {
        id = input.Take<uint32_t>();
    }
    const velmor::DatabaseFormat format{0x14, largePages ? kLargePage : kSmallPage};
    const std::span<const uint8_t> file = input.rest();
    const velmor::PageView view(file);
    velmor::LongValueIndex index;
    for (int64_t offset = 0; offset < view.size(); offset += format.pageSize) {
        const auto page = view.bytes(offset, std::min(format.pageSize, view.size() - offset));
        index.AddPage(velmor::PageView(page), offset, format);
    }
    for (uint32_t id : ids) {
        velmor::AssembleLongValue(index, id, [&view](int64_t offset, std::span<uint8_t> out) {
            const auto bytes = view.bytes(offset, static_cast<int64_t>(out.size()));
            std::copy(bytes.begin(), bytes.end(), out.begin());
            return bytes.size() == out.size();
        });
    }
    return 0;
}
