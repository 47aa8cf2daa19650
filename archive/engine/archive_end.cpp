#include "archive/engine/archive_end.h"

#include "base/file_descriptor.h"
#include "base/little_endian.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr std::uint8_t kRar4Marker[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
constexpr std::uint8_t kRar5Marker[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x01, 0x00};
// A self-extracting program's stub comes before the marker.
constexpr std::size_t kMarkerSearch = 1 << 20;
// The end record is looked for this far back from the end of the file
// (RAR 5 volumes of a fixed size are padded with zeros after it). A
// self-extracting program may be signed: its signature follows the archive.
constexpr std::size_t kTailSearch = 4096;
constexpr std::size_t kSignedProgramTailSearch = 64 * 1024;

constexpr std::uint8_t kRar4Main = 0x73;
constexpr std::uint8_t kRar4File = 0x74;
constexpr std::uint8_t kRar4Sub = 0x7A;
constexpr std::uint8_t kRar4End = 0x7B;
constexpr unsigned kRar4LongBlock = 0x8000;
constexpr unsigned kRar4EncryptedHeaders = 0x0080;
constexpr unsigned kRar4FirstVolume = 0x0100;
constexpr unsigned kRar4EndNextVolume = 0x0001;
// File header marks that RAR 3.0 introduced: Unicode names, encryption salt,
// extended times; and its version needed to extract, 2.9.
constexpr unsigned kRar4FileMarksOf3 = 0x0200 | 0x0400 | 0x1000;
constexpr unsigned kRar4VersionOf3 = 29;
constexpr std::size_t kRar4FileFixed = 32;

constexpr std::uint8_t kRar5Encryption = 4;
constexpr std::uint8_t kRar5End = 5;
constexpr std::uint8_t kRar5EndNextVolume = 0x01;

std::uint32_t crc32Of(const std::uint8_t* data, std::size_t size)
{
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

bool readAt(int fd, std::uint64_t offset, std::uint8_t* out, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// The RAR 4 end block that ends `tail` exactly or, with `trailer`, the last
// one anywhere in it: CRC16, type, flags, size, fields.
std::optional<VolumeEnding> rar4End(const std::vector<std::uint8_t>& tail, bool trailer)
{
    const std::size_t size = tail.size();
    for (std::size_t start = size >= 7 ? size - 7 : 0; size >= 7; --start) {
        const std::uint8_t* block = tail.data() + start;
        const std::size_t end = start + ReadLe16(block + 5);
        const bool fits = end == size || (trailer && end >= start + 7 && end < size);
        if (block[2] == kRar4End && fits &&
            (crc32Of(block + 2, end - start - 2) & 0xFFFF) == ReadLe16(block))
            return (ReadLe16(block + 3) & kRar4EndNextVolume) ? VolumeEnding::MoreVolumes
                                                              : VolumeEnding::Last;
        if (start == 0)
            break;
    }
    return std::nullopt;
}

// The RAR 5 end header at the end of `tail`, zeros after it allowed, or with
// `trailer` the last one anywhere in it: CRC32, size 3, type 5, header flags
// 0, end flags.
std::optional<VolumeEnding> rar5End(const std::vector<std::uint8_t>& tail, bool trailer)
{
    for (std::size_t end = tail.size(); end >= 8; --end) {
        const std::uint8_t* block = tail.data() + end - 8;
        if (block[4] == 3 && block[5] == kRar5End && crc32Of(block + 4, 4) == ReadLe32(block))
            return (block[7] & kRar5EndNextVolume) ? VolumeEnding::MoreVolumes : VolumeEnding::Last;
        if (tail[end - 1] != 0 && !trailer)
            break;
    }
    return std::nullopt;
}

// A RAR 4 volume without an end block: whole only as an archiver before 3.0
// writes it, its blocks reaching exactly the end of the file.
VolumeEnding rar4WithoutEnd(int fd, std::uint64_t pos, std::uint64_t fileSize)
{
    std::uint8_t head[kRar4FileFixed] = {};
    while (pos < fileSize) {
        if (fileSize - pos < 7 || !readAt(fd, pos, head, 7))
            return VolumeEnding::Cut;
        const std::uint8_t type = head[2];
        const unsigned flags = ReadLe16(head + 3);
        const unsigned size = ReadLe16(head + 5);
        if (size < 7 || type == kRar4Sub || type == kRar4End)
            return VolumeEnding::Cut;
        if (type == kRar4Main && (flags & kRar4EncryptedHeaders))
            return VolumeEnding::Unreadable;
        if (type == kRar4Main && (flags & kRar4FirstVolume))
            return VolumeEnding::Cut;
        std::uint64_t data = 0;
        const bool file = type == kRar4File;
        if (file || (flags & kRar4LongBlock)) {
            if (size < (file ? kRar4FileFixed : 11) || fileSize - pos < size ||
                !readAt(fd, pos, head, file ? kRar4FileFixed : 11))
                return VolumeEnding::Cut;
            data = ReadLe32(head + 7);
        }
        if (file && ((flags & kRar4FileMarksOf3) || head[24] >= kRar4VersionOf3))
            return VolumeEnding::Cut;
        pos += size + data;
    }
    return pos == fileSize ? VolumeEnding::LastWithoutRecord : VolumeEnding::Cut;
}

// The first RAR marker in the `size` bytes at `head`: where it ends and
// whether it is RAR 5's. Both markers begin alike, so that beginning is looked
// for once and the bytes after it tell them apart.
struct Marker {
    std::size_t end;
    bool rar5;
};

std::optional<Marker> firstMarker(const std::uint8_t* head, std::size_t size)
{
    constexpr std::size_t kCommonStart = 6;
    const auto markerAt = [](const std::uint8_t* at, std::size_t left, const auto& marker) {
        return left >= sizeof marker && std::equal(std::begin(marker), std::end(marker), at);
    };
    std::size_t from = 0;
    while (const void* found = memmem(head + from, size - from, kRar4Marker, kCommonStart)) {
        const auto at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - head);
        if (markerAt(head + at, size - at, kRar4Marker))
            return Marker{at + sizeof kRar4Marker, false};
        if (markerAt(head + at, size - at, kRar5Marker))
            return Marker{at + sizeof kRar5Marker, true};
        from = at + 1;
    }
    return std::nullopt;
}

} // namespace

VolumeEnding ReadVolumeEnding(const std::string& volumePath, bool endRecordRequired)
{
    const FileDescriptor fd(open(volumePath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd.valid() || fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return VolumeEnding::Unreadable;
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);

    // Read without being cleared first: every byte looked at is read.
    const auto headSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kMarkerSearch));
    const auto head = std::make_unique_for_overwrite<std::uint8_t[]>(headSize);
    if (!readAt(fd.get(), 0, head.get(), headSize))
        return VolumeEnding::Unreadable;
    const std::optional<Marker> marker = firstMarker(head.get(), headSize);
    if (!marker)
        return VolumeEnding::Unreadable;
    const bool isRar5 = marker->rar5;
    const std::size_t afterMarker = marker->end;

    const bool selfExtracting = afterMarker > (isRar5 ? sizeof kRar5Marker : sizeof kRar4Marker);
    const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(
        fileSize - afterMarker, selfExtracting ? kSignedProgramTailSearch : kTailSearch));
    std::vector<std::uint8_t> tail(tailSize);
    if (!readAt(fd.get(), fileSize - tailSize, tail.data(), tail.size()))
        return VolumeEnding::Unreadable;
    if (isRar5) {
        // Behind an archive encryption header every header is encrypted.
        if (afterMarker + 6 <= headSize && head[afterMarker + 5] == kRar5Encryption)
            return VolumeEnding::Unreadable;
        return rar5End(tail, selfExtracting).value_or(VolumeEnding::Cut);
    }
    if (const std::optional<VolumeEnding> end = rar4End(tail, selfExtracting))
        return *end;
    return endRecordRequired ? VolumeEnding::Cut : rar4WithoutEnd(fd.get(), afterMarker, fileSize);
}
