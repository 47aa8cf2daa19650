#include "unrar/end_block.h"

#include "base/little_endian.h"

#include <zlib.h>

namespace zk::unrar {
namespace {

constexpr std::uint8_t kRar4EndType = 0x7B;
constexpr std::uint16_t kRar4NextVolume = 0x0001;
constexpr std::uint8_t kRar5EndType = 0x05;
constexpr std::uint8_t kRar5NextVolume = 0x01;

std::uint32_t crcOf(const std::uint8_t* data, std::size_t size)
{
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

// RAR 4: CRC16 (2), type (1), flags (2), size (2), fields; the block ends the volume.
bool rar4Announces(const std::uint8_t* tail, std::size_t size)
{
    for (std::size_t start = size >= 7 ? size - 7 : size; start + 7 <= size; --start) {
        const std::uint8_t* block = tail + start;
        if (block[2] == kRar4EndType && start + ReadLe16(block + 5) == size &&
            (crcOf(block + 2, size - start - 2) & 0xFFFF) == ReadLe16(block))
            return (ReadLe16(block + 3) & kRar4NextVolume) != 0;
        if (start == 0)
            break;
    }
    return false;
}

// RAR 5: CRC32 (4), size 3, type 5, header flags, end flags; all one-byte
// numbers. Volumes cut to a fixed size are padded with zeros after it.
bool rar5Announces(const std::uint8_t* tail, std::size_t size)
{
    std::size_t end = size;
    for (; end >= 8; --end) {
        const std::uint8_t* block = tail + end - 8;
        if (block[4] == 3 && block[5] == kRar5EndType && crcOf(block + 4, 4) == ReadLe32(block))
            return (block[7] & kRar5NextVolume) != 0;
        if (tail[end - 1] != 0)
            return false;
    }
    return false;
}

} // namespace

bool endBlockAnnouncesNextVolume(const std::uint8_t* tail, std::size_t size)
{
    return rar4Announces(tail, size) || rar5Announces(tail, size);
}

} // namespace zk::unrar
