// Feeds arbitrary bytes to type detection and to the string-table reader.
// The first byte picks the name's extension so the fallback by name runs too.
#include "archive/detection/detect_arc_type.h"
#include "archive/detection/pe_string_table.h"
#include "tests/archive/detection/memory_source.h"

#include <cstdlib>

namespace {

// Well above what detection may read: headers, three resource directories
// of at most 512 entries, four short strings and the small tails.
constexpr int64_t kReadBound = 64 * 1024;

const char* const kNames[] = {"a.rar", "a.exe", "a.uue", "a.tar", "a.T", "a.xxe", "a.enc", "a"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char* name = kNames[data[0] % (sizeof kNames / sizeof *kNames)];
    std::vector<uint8_t> bytes(data + 1, data + size);

    MemorySource memory(bytes);
    CountingSource counting(memory);
    Detection result;
    DetectArchiveIn(counting, name, static_cast<int32_t>(data[0] >> 3), result);
    if (counting.BytesRequested() > kReadBound || static_cast<int>(result.type) > kArcTypeCount)
        std::abort();

    MemorySource again(bytes);
    if (auto table = PeStringTable::Open(again)) {
        for (uint16_t id = 0; id < 20; ++id) {
            if (table->LoadString(id, 6).size() > 5)
                std::abort();
        }
    }
    return 0;
}
