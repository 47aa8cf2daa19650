#include "unrar/rar4_headers.h"

#include "unrar/byte_cursor.h"
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
constexpr std::size_t kBaseSize = 7; // CRC, type, flags, size

// The fields of a file or service header behind its base; packSize is the
// size of the data that follows the header.
bool readFileFields(ByteCursor fields, unsigned flags, StoredFileHeader& entry)
{
    std::uint32_t packSize = 0, unpSize = 0, crc = 0, dosTime = 0, attr = 0;
    std::uint32_t packHigh = 0, unpHigh = 0;
    std::uint8_t host = 0, unpVer = 0, method = 0;
    std::uint16_t nameSize = 0;
    if (!fields.u32(packSize) || !fields.u32(unpSize) || !fields.u8(host) || !fields.u32(crc) ||
        !fields.u32(dosTime) || !fields.u8(unpVer) || !fields.u8(method) || !fields.u16(nameSize) ||
        !fields.u32(attr))
        return false;
    entry.packSize = packSize;
    entry.unpSize = unpSize;
    if ((flags & kLargeFile) && fields.u32(packHigh) && fields.u32(unpHigh)) {
        entry.packSize |= static_cast<std::uint64_t>(packHigh) << 32;
        entry.unpSize |= static_cast<std::uint64_t>(unpHigh) << 32;
    }
    entry.flags = flags & kReportedFlags;
    entry.host = host;
    entry.crc = crc;
    entry.dosTime = dosTime;
    entry.unpVer = unpVer;
    entry.method = method;
    entry.attr = attr;
    entry.folder = (flags & kFolderMask) == kFolderMask;
    entry.continuation = (flags & kSplitBefore) != 0;
    return true;
}

// Reads the block at `pos` into `volume` and moves `pos` behind its data;
// false at the end of the chain.
bool readBlock(std::ifstream& file, std::streamoff fileSize, std::streamoff& pos,
               StoredVolume& volume)
{
    std::uint8_t start[kBaseSize + 4] = {};
    file.seekg(pos);
    file.read(reinterpret_cast<char*>(start), sizeof start);
    ByteCursor base(start, static_cast<std::size_t>(file.gcount()));
    file.clear();
    std::uint16_t crc = 0, flags = 0, size = 0;
    std::uint8_t type = 0;
    if (!base.u16(crc) || !base.u8(type) || !base.u16(flags) || !base.u16(size)) {
        volume.endsCleanly = pos == fileSize; // as older archives end: no end block
        return false;
    }
    if (type == kTypeEnd) {
        volume.endsCleanly = true;
        return false;
    }
    if (size < kBaseSize || (type == kTypeMain && (flags & kMainEncryptedHeaders)))
        return false;
    std::uint32_t longData = 0;
    std::uint64_t dataSize = (flags & kLongBlock) && base.u32(longData) ? longData : 0;
    if (type == kTypeFile || type == kTypeService) {
        std::vector<std::uint8_t> header(size);
        file.seekg(pos);
        file.read(reinterpret_cast<char*>(header.data()), size);
        file.clear();
        if (file.gcount() != static_cast<std::streamsize>(size) ||
            (crc32(0, header.data() + 2, size - 2) & 0xFFFF) != crc)
            return false;
        StoredFileHeader entry;
        if (!readFileFields(ByteCursor(header.data() + kBaseSize, size - kBaseSize), flags, entry))
            return false;
        dataSize = entry.packSize;
        if (type == kTypeFile)
            volume.files.push_back(std::move(entry));
    }
    pos += static_cast<std::streamoff>(size) + static_cast<std::streamoff>(dataSize);
    return true;
}

} // namespace

StoredVolume readRar4Headers(const std::string& volumePath)
{
    StoredVolume volume;
    std::ifstream file(volumePath, std::ios::binary | std::ios::ate);
    if (!file)
        return volume;
    const auto fileSize = static_cast<std::streamoff>(file.tellg());
    std::streamoff pos = offsetAfterMarker(file, kMarker, sizeof kMarker);
    if (pos < 0)
        return volume;
    volume.found = true;
    while (readBlock(file, fileSize, pos, volume)) {
    }
    return volume;
}

} // namespace zk::unrar
