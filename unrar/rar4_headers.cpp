#include "unrar/rar4_headers.h"

#include "base/little_endian.h"
#include "unrar/marker_search.h"
#include "unrar/rar_interface.h"

#include <zlib.h>

#include <fstream>

namespace zk::unrar {
namespace {

constexpr std::uint8_t kMarker[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
constexpr std::uint8_t kTypeMain = 0x73;
constexpr std::uint8_t kTypeFile = 0x74;
constexpr std::uint8_t kTypeService = 0x7A;
constexpr std::uint8_t kTypeEnd = 0x7B;
constexpr unsigned kMainEncryptedHeaders = 0x0080;
constexpr unsigned kLongBlock = 0x8000;
constexpr unsigned kSplitBefore = 0x0001;
constexpr unsigned kReportedFlags =
    RHDF_SPLITBEFORE | RHDF_SPLITAFTER | RHDF_ENCRYPTED | RHDF_SOLID;
constexpr unsigned kLargeFile = 0x0100;
constexpr unsigned kFolderMask = 0x00E0;
constexpr std::size_t kFileHeaderFixed = 32;

} // namespace

Rar4Volume readRar4Headers(const std::string& volumePath)
{
    Rar4Volume volume;
    std::vector<StoredFileHeader>& headers = volume.files;
    std::ifstream file(volumePath, std::ios::binary | std::ios::ate);
    const std::streamoff fileSize = file ? static_cast<std::streamoff>(file.tellg()) : 0;
    std::streamoff pos = file ? offsetAfterMarker(file, kMarker, sizeof kMarker) : -1;
    if (pos < 0)
        return volume;
    std::vector<std::uint8_t> block;
    for (;;) {
        std::uint8_t base[11] = {};
        file.seekg(pos);
        file.read(reinterpret_cast<char*>(base), sizeof base);
        if (file.gcount() < 7) {
            volume.endsCleanly = pos == fileSize;
            break;
        }
        const std::uint8_t type = base[2];
        const unsigned flags = ReadLe16(base + 3);
        const unsigned size = ReadLe16(base + 5);
        if (type == kTypeEnd)
            volume.endsCleanly = true;
        if (size < 7 || type == kTypeEnd || (type == kTypeMain && (flags & kMainEncryptedHeaders)))
            break;
        std::uint64_t dataSize =
            (flags & kLongBlock) && file.gcount() >= 11 ? ReadLe32(base + 7) : 0;
        if (type == kTypeFile || type == kTypeService) {
            if (size < kFileHeaderFixed)
                break;
            block.resize(size);
            file.seekg(pos);
            file.read(reinterpret_cast<char*>(block.data()), size);
            if (file.gcount() != static_cast<std::streamsize>(size))
                break;
            const std::uint8_t* h = block.data();
            if ((crc32(0, h + 2, size - 2) & 0xFFFF) != ReadLe16(h))
                break;
            dataSize = ReadLe32(h + 7);
            if ((flags & kLargeFile) && size >= kFileHeaderFixed + 8)
                dataSize |= static_cast<std::uint64_t>(ReadLe32(h + 32)) << 32;
            if (type == kTypeFile) {
                StoredFileHeader entry;
                entry.flags = flags & kReportedFlags;
                entry.packSize = dataSize;
                entry.unpSize = ReadLe32(h + 11);
                if ((flags & kLargeFile) && size >= kFileHeaderFixed + 8)
                    entry.unpSize |= static_cast<std::uint64_t>(ReadLe32(h + 36)) << 32;
                entry.host = h[15];
                entry.crc = ReadLe32(h + 16);
                entry.dosTime = ReadLe32(h + 20);
                entry.unpVer = h[24];
                entry.method = h[25];
                entry.attr = ReadLe32(h + 28);
                entry.folder = (flags & kFolderMask) == kFolderMask;
                entry.continuation = (flags & kSplitBefore) != 0;
                headers.push_back(entry);
            }
        }
        pos += static_cast<std::streamoff>(size) + static_cast<std::streamoff>(dataSize);
        file.clear();
    }
    return volume;
}

} // namespace zk::unrar
