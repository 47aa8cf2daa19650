#include "tests/unrar/rar5_builder.h"

#include "base/little_endian.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace zk::unrar::testing {
namespace {

constexpr unsigned kHeadMain = 1;
constexpr unsigned kHeadFile = 2;
constexpr unsigned kHeadEnd = 5;
constexpr unsigned kHasExtra = 0x01;
constexpr unsigned kHasData = 0x02;
constexpr unsigned kSplitBefore = 0x08;
constexpr unsigned kSplitAfter = 0x10;
constexpr unsigned kArchiveIsVolume = 0x01;
constexpr unsigned kVolumeNumberGiven = 0x02;
constexpr unsigned kEndMoreVolumes = 0x01;
constexpr unsigned kFileHasCrc = 0x04;
constexpr unsigned kHostUnix = 1;
constexpr unsigned kExtraRedirection = 5;
constexpr unsigned kRedirUnixSymlink = 1;
constexpr unsigned kRedirHardLink = 4;

std::string vint(std::uint64_t n)
{
    std::string out;
    do {
        const auto low = static_cast<unsigned char>(n & 0x7F);
        n >>= 7;
        out += static_cast<char>(n != 0 ? low | 0x80 : low);
    } while (n != 0);
    return out;
}

std::string le32(std::uint32_t v)
{
    std::string bytes(4, '\0');
    WriteLe32(reinterpret_cast<std::uint8_t*>(bytes.data()), v);
    return bytes;
}

std::uint32_t crcOf(const std::string& bytes)
{
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// body starts at the header type; the CRC covers the size field and the body.
std::string block(const std::string& body)
{
    const std::string sized = vint(body.size()) + body;
    return le32(crcOf(sized)) + sized;
}

std::string redirection(unsigned type, const std::string& target)
{
    const std::string record =
        vint(kExtraRedirection) + vint(type) + vint(0) + vint(target.size()) + target;
    return vint(record.size()) + record;
}

std::string fileBlock(const Rar5Entry& entry)
{
    const bool plain = entry.kind == Rar5Entry::Kind::File;
    const std::string data = plain ? entry.dataOrTarget : std::string();
    const std::string extra =
        plain ? std::string()
              : redirection(entry.kind == Rar5Entry::Kind::HardLink ? kRedirHardLink
                                                                    : kRedirUnixSymlink,
                            entry.dataOrTarget);
    const unsigned mode = entry.kind == Rar5Entry::Kind::SymLink ? 0120777 : 0100644;
    std::string body = vint(kHeadFile) + vint(kHasData | (extra.empty() ? 0 : kHasExtra));
    if (!extra.empty())
        body += vint(extra.size());
    body += vint(data.size());
    body += vint(kFileHasCrc) + vint(data.size()) + vint(mode) + le32(crcOf(data));
    body += vint(entry.compressionInfo) + vint(kHostUnix) + vint(entry.name.size()) + entry.name +
            extra;
    return block(body) + data;
}

// One part of a plain file: all parts but the last carry their own data's
// CRC, the last one the whole file's.
std::string filePartBlock(const Rar5Entry& entry, std::size_t begin, std::size_t size)
{
    const std::string& data = entry.dataOrTarget;
    const std::string part = data.substr(begin, size);
    const bool last = begin + size == data.size();
    const unsigned split = (begin > 0 ? kSplitBefore : 0) | (last ? 0 : kSplitAfter);
    std::string body = vint(kHeadFile) + vint(kHasData | split) + vint(part.size());
    body += vint(kFileHasCrc) + vint(data.size()) + vint(0100644) + le32(crcOf(last ? data : part));
    body += vint(entry.compressionInfo) + vint(kHostUnix) + vint(entry.name.size()) + entry.name;
    return block(body) + part;
}

std::string volumeStart(std::size_t number)
{
    const unsigned flags = kArchiveIsVolume | (number > 0 ? kVolumeNumberGiven : 0);
    return std::string("Rar!\x1A\x07\x01\x00", 8) +
           block(vint(kHeadMain) + vint(0) + vint(flags) + (number > 0 ? vint(number) : ""));
}

std::string endBlock(bool moreVolumes)
{
    return block(vint(kHeadEnd) + vint(0) + vint(moreVolumes ? kEndMoreVolumes : 0));
}

} // namespace

std::vector<std::string> buildRar5Volumes(const std::vector<Rar5Entry>& entries,
                                          std::size_t volumeSize)
{
    std::vector<std::string> volumes{volumeStart(0)};
    const std::size_t endSize = endBlock(true).size();
    for (const Rar5Entry& entry : entries) {
        // The header's own size grows with the part's; this bounds it.
        const std::size_t header = filePartBlock(entry, 0, 0).size() + 8;
        std::size_t done = 0;
        do {
            const std::size_t used = volumes.back().size() + endSize + header;
            const std::size_t room = used < volumeSize ? volumeSize - used : 0;
            if (room == 0 || (room < 2 && done < entry.dataOrTarget.size())) {
                volumes.back() += endBlock(true);
                volumes.push_back(volumeStart(volumes.size()));
                continue;
            }
            const std::size_t part = std::min(entry.dataOrTarget.size() - done, room);
            volumes.back() += filePartBlock(entry, done, part);
            done += part;
        } while (done < entry.dataOrTarget.size());
    }
    volumes.back() += endBlock(false);
    return volumes;
}

std::string buildRar5(const std::vector<Rar5Entry>& entries)
{
    std::string out("Rar!\x1A\x07\x01\x00", 8);
    out += block(vint(kHeadMain) + vint(0) + vint(0));
    for (const Rar5Entry& entry : entries)
        out += fileBlock(entry);
    out += block(vint(kHeadEnd) + vint(0) + vint(0));
    return out;
}

} // namespace zk::unrar::testing
