#include "unrar/rar5_headers.h"

#include "unrar/byte_cursor.h"
#include "unrar/marker_search.h"
#include "unrar/rar_interface.h"

#include <zlib.h>

#include <cstring>
#include <fstream>

namespace zk::unrar {
namespace {

constexpr std::uint8_t kMarker[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x01, 0x00};
constexpr std::uint64_t kMaxHeaderSize = 2 * 1024 * 1024;

enum HeaderType : std::uint64_t { kMain = 1, kFile = 2, kService = 3, kEncryption = 4, kEnd = 5 };
constexpr std::uint64_t kHasExtra = 0x01;
constexpr std::uint64_t kHasData = 0x02;
constexpr std::uint64_t kSplitBefore = 0x08;
constexpr std::uint64_t kSplitAfter = 0x10;
constexpr std::uint64_t kFileIsFolder = 0x01;
constexpr std::uint64_t kFileHasTime = 0x02;
constexpr std::uint64_t kFileHasCrc = 0x04;
constexpr std::uint64_t kSolid = 0x40;
constexpr std::uint64_t kExtraEncryption = 0x01;
constexpr std::uint64_t kExtraHash = 0x02;
constexpr std::uint64_t kHashBlake2sp = 0;
constexpr std::uint64_t kEndMoreVolumes = 0x01;
constexpr std::uint64_t kHostWindows = 0;

// The extra records of a file header: encryption and the BLAKE2sp hash.
void readFileExtras(ByteCursor extras, StoredFileHeader& entry)
{
    std::uint64_t size = 0;
    const std::uint8_t* record = nullptr;
    while (extras.left() > 0 && extras.vint(size) && extras.bytes(size, record)) {
        ByteCursor fields(record, static_cast<std::size_t>(size));
        std::uint64_t type = 0;
        std::uint64_t hashType = 0;
        const std::uint8_t* digest = nullptr;
        if (!fields.vint(type))
            return;
        if (type == kExtraEncryption)
            entry.flags |= RHDF_ENCRYPTED;
        if (type == kExtraHash && fields.vint(hashType) && hashType == kHashBlake2sp &&
            fields.bytes(32, digest)) {
            entry.blake2sp.emplace();
            std::memcpy(entry.blake2sp->data(), digest, 32);
        }
    }
}

bool readFileHeader(ByteCursor fields, ByteCursor extras, std::uint64_t headerFlags,
                    std::uint64_t dataSize, StoredFileHeader& entry)
{
    std::uint64_t fileFlags = 0, attr = 0, compression = 0, host = 0, nameSize = 0;
    std::uint32_t mtime = 0, crc = 0;
    const std::uint8_t* name = nullptr;
    if (!fields.vint(fileFlags) || !fields.vint(entry.unpSize) || !fields.vint(attr) ||
        ((fileFlags & kFileHasTime) && !fields.u32(mtime)) ||
        ((fileFlags & kFileHasCrc) && !fields.u32(crc)) || !fields.vint(compression) ||
        !fields.vint(host) || !fields.vint(nameSize) || !fields.bytes(nameSize, name))
        return false;
    entry.name.assign(reinterpret_cast<const char*>(name), static_cast<std::size_t>(nameSize));
    entry.attr = static_cast<std::uint32_t>(attr);
    if (fileFlags & kFileHasCrc)
        entry.crc = crc;
    entry.folder = (fileFlags & kFileIsFolder) != 0;
    entry.host = host == kHostWindows ? RAR_HOST_WIN32 : RAR_HOST_UNIX;
    entry.packSize = dataSize;
    entry.unpVer = (compression & 0x3F) == 0 ? 50 : 70;
    entry.method = 0x30 + static_cast<unsigned>((compression >> 7) & 7);
    if (compression & kSolid)
        entry.flags |= RHDF_SOLID;
    if (headerFlags & kSplitBefore)
        entry.flags |= RHDF_SPLITBEFORE;
    if (headerFlags & kSplitAfter)
        entry.flags |= RHDF_SPLITAFTER;
    entry.continuation = (headerFlags & kSplitBefore) != 0;
    readFileExtras(extras, entry);
    return true;
}

// Reads the header at `pos` into `volume`; false at the end of the chain.
bool readHeader(std::ifstream& file, std::uint64_t fileSize, std::uint64_t& pos,
                StoredVolume& volume)
{
    std::uint8_t start[7] = {};
    file.seekg(static_cast<std::streamoff>(pos));
    file.read(reinterpret_cast<char*>(start), sizeof start);
    file.clear();
    const auto available = static_cast<std::size_t>(file.gcount());
    ByteCursor head(start, available);
    std::uint32_t expected = 0;
    std::uint64_t size = 0;
    if (!head.u32(expected) || !head.vint(size) || size == 0 || size > kMaxHeaderSize)
        return false;
    const std::size_t sizeField = available - 4 - head.left();
    const std::uint64_t headerEnd = pos + 4 + sizeField + size;
    if (headerEnd > fileSize)
        return false;
    std::vector<std::uint8_t> header(static_cast<std::size_t>(sizeField + size));
    file.seekg(static_cast<std::streamoff>(pos + 4));
    file.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    if (file.gcount() != static_cast<std::streamsize>(header.size()) ||
        crc32(0, header.data(), static_cast<uInt>(header.size())) != expected)
        return false;

    ByteCursor body(header.data() + sizeField, static_cast<std::size_t>(size));
    std::uint64_t type = 0, flags = 0, extraSize = 0, dataSize = 0;
    if (!body.vint(type) || !body.vint(flags) || ((flags & kHasExtra) && !body.vint(extraSize)) ||
        ((flags & kHasData) && !body.vint(dataSize)) || extraSize > body.left() ||
        dataSize > fileSize - headerEnd)
        return false;
    const std::uint8_t* fields = nullptr;
    const std::uint8_t* extras = nullptr;
    body.bytes(body.left() - extraSize, fields);
    body.bytes(extraSize, extras);
    const ByteCursor fieldCursor(fields, static_cast<std::size_t>(extras - fields));
    const ByteCursor extraCursor(extras, static_cast<std::size_t>(extraSize));

    switch (type) {
    case kFile: {
        StoredFileHeader entry;
        if (!readFileHeader(fieldCursor, extraCursor, flags, dataSize, entry))
            return false;
        volume.files.push_back(std::move(entry));
        break;
    }
    case kEncryption:
        volume.headersEncrypted = true;
        return false;
    case kEnd: {
        ByteCursor endFields = fieldCursor;
        std::uint64_t endFlags = 0;
        volume.endsCleanly = endFields.vint(endFlags) && (endFlags & kEndMoreVolumes) == 0;
        return false;
    }
    default: // the main header, service headers (comments, quick-open data, ...)
        break;
    }
    pos = headerEnd + dataSize;
    return true;
}

} // namespace

StoredVolume readRar5Headers(const std::string& volumePath)
{
    StoredVolume volume;
    std::ifstream file(volumePath, std::ios::binary | std::ios::ate);
    if (!file)
        return volume;
    const auto fileSize = static_cast<std::uint64_t>(file.tellg());
    const std::streamoff start = offsetAfterMarker(file, kMarker, sizeof kMarker);
    if (start < 0)
        return volume;
    volume.found = true;
    auto pos = static_cast<std::uint64_t>(start);
    while (readHeader(file, fileSize, pos, volume)) {
    }
    return volume;
}

} // namespace zk::unrar
