#include "archive/detection/pe_string_table.h"

#include "base/little_endian.h"

#include <algorithm>
#include <array>

namespace {

constexpr uint16_t kStringResourceType = 6;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr size_t kMaxSections = 96;
constexpr size_t kMaxDirectoryEntries = 512;
constexpr int kResourceDirectoryIndex = 2;

// Reads exactly count bytes or fails.
bool readExact(ArchiveSource& source, int64_t position, uint8_t* buffer, size_t count)
{
    const auto got = source.ReadAt(position, buffer, count);
    return got && *got == count;
}

} // namespace

namespace {

struct PeHeaders {
    std::vector<PeSection> sections;
    uint32_t resourceRva = 0; // 0 when the image has no resource directory
};

// The section table (at most kMaxSections entries) and the resource
// directory's address of a PE image.
std::optional<PeHeaders> readPeHeaders(ArchiveSource& source)
{
    std::array<uint8_t, 64> dosHeader{};
    if (!readExact(source, 0, dosHeader.data(), dosHeader.size()) || dosHeader[0] != 'M' ||
        dosHeader[1] != 'Z')
        return std::nullopt;
    const int64_t peHeader = ReadLe32(&dosHeader[0x3C]);

    // Signature, file header and the optional header up to its data directories.
    std::array<uint8_t, 24 + 112 + 8 * (kResourceDirectoryIndex + 1)> headers{};
    if (!readExact(source, peHeader, headers.data(), headers.size()) ||
        ReadLe32(headers.data()) != 0x00004550u)
        return std::nullopt;
    const uint16_t sectionCount = ReadLe16(&headers[6]);
    const uint16_t optionalSize = ReadLe16(&headers[20]);
    const uint8_t* optional = &headers[24];
    const uint16_t magic = ReadLe16(optional);
    size_t directoriesAt = 0;
    if (magic == 0x10B)
        directoriesAt = 96;
    else if (magic == 0x20B)
        directoriesAt = 112;
    else
        return std::nullopt;

    PeHeaders result;
    const size_t resourceEntryEnd = directoriesAt + 8 * (kResourceDirectoryIndex + 1);
    if (optionalSize >= resourceEntryEnd &&
        ReadLe32(optional + directoriesAt - 4) > kResourceDirectoryIndex)
        result.resourceRva = ReadLe32(optional + directoriesAt + 8 * kResourceDirectoryIndex);

    const size_t count = std::min<size_t>(sectionCount, kMaxSections);
    std::vector<uint8_t> table(count * 40);
    if (!readExact(source, peHeader + 24 + optionalSize, table.data(), table.size()))
        return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* s = &table[i * 40];
        result.sections.push_back({ReadLe32(s + 12), ReadLe32(s + 16), ReadLe32(s + 20)});
    }
    return result;
}

} // namespace

std::optional<int64_t> PeImageEnd(ArchiveSource& source)
{
    const auto headers = readPeHeaders(source);
    if (!headers)
        return std::nullopt;
    int64_t end = 0;
    for (const PeSection& s : headers->sections) {
        if (s.rawSize != 0)
            end = std::max(end, int64_t{s.rawPointer} + s.rawSize);
    }
    return end > 0 ? std::optional<int64_t>(end) : std::nullopt;
}

std::optional<PeStringTable> PeStringTable::Open(ArchiveSource& source)
{
    auto headers = readPeHeaders(source);
    if (!headers || headers->resourceRva == 0)
        return std::nullopt;
    const uint32_t resourceRva = headers->resourceRva;
    PeStringTable reader(source, std::move(headers->sections), 0);
    const auto base = reader.fileOffsetOf(resourceRva, 16);
    if (!base)
        return std::nullopt;
    reader.resourceBase_ = *base;
    return reader;
}

std::optional<int64_t> PeStringTable::fileOffsetOf(uint32_t rva, uint32_t length) const
{
    for (const PeSection& s : sections_) {
        const uint64_t start = s.virtualAddress;
        const uint64_t end = start + s.rawSize;
        if (rva >= start && uint64_t{rva} + length <= end)
            return static_cast<int64_t>(s.rawPointer + (rva - start));
    }
    return std::nullopt;
}

std::optional<std::pair<uint32_t, bool>> PeStringTable::findEntry(uint32_t directory,
                                                                  std::optional<uint16_t> id)
{
    std::array<uint8_t, 16> header{};
    if (!readExact(*source_, resourceBase_ + directory, header.data(), header.size()))
        return std::nullopt;
    const size_t named = ReadLe16(&header[12]);
    const size_t total = std::min(named + ReadLe16(&header[14]), kMaxDirectoryEntries);
    if (total == 0)
        return std::nullopt;
    std::vector<uint8_t> entries(total * 8);
    const auto got =
        source_->ReadAt(resourceBase_ + directory + 16, entries.data(), entries.size());
    if (!got)
        return std::nullopt;
    const size_t usable = *got / 8;
    std::optional<std::pair<uint32_t, bool>> first;
    for (size_t i = 0; i < usable; ++i) {
        const uint32_t nameOrId = ReadLe32(&entries[i * 8]);
        const uint32_t target = ReadLe32(&entries[i * 8 + 4]);
        const std::pair<uint32_t, bool> found{target & ~kSubdirectoryFlag,
                                              (target & kSubdirectoryFlag) != 0};
        if (!first)
            first = found;
        // Named entries come first and never match a numeric id.
        if (i >= named && id && nameOrId == *id)
            return found;
    }
    return id ? std::nullopt : first;
}

std::string PeStringTable::LoadString(uint16_t id, size_t bufferSize)
{
    if (bufferSize == 0)
        return {};
    const auto type = findEntry(0, kStringResourceType);
    if (!type || !type->second)
        return {};
    const auto block = findEntry(type->first, static_cast<uint16_t>(id / 16 + 1));
    if (!block || !block->second)
        return {};
    // Any language will do; the neutral one comes first when present.
    auto language = findEntry(block->first, uint16_t{0});
    if (!language)
        language = findEntry(block->first, std::nullopt);
    if (!language || language->second)
        return {};

    std::array<uint8_t, 16> dataEntry{};
    if (!readExact(*source_, resourceBase_ + language->first, dataEntry.data(), dataEntry.size()))
        return {};
    const uint32_t dataRva = ReadLe32(&dataEntry[0]);
    const uint32_t dataSize = ReadLe32(&dataEntry[4]);
    const auto data = fileOffsetOf(dataRva, dataSize);
    if (!data)
        return {};

    // The block holds 16 counted UTF-16 strings; skip to the one wanted.
    uint64_t at = 0;
    for (int index = 0;; ++index) {
        std::array<uint8_t, 2> length{};
        if (at + 2 > dataSize ||
            !readExact(*source_, *data + static_cast<int64_t>(at), length.data(), 2))
            return {};
        const uint64_t chars = ReadLe16(length.data());
        at += 2;
        if (index == id % 16) {
            const size_t wanted = static_cast<size_t>(std::min<uint64_t>(chars, bufferSize - 1));
            if (wanted == 0 || at + 2 * wanted > dataSize)
                return {};
            std::vector<uint8_t> units(2 * wanted);
            if (!readExact(*source_, *data + static_cast<int64_t>(at), units.data(), units.size()))
                return {};
            std::string text;
            for (size_t i = 0; i < wanted; ++i) {
                const uint16_t unit = ReadLe16(&units[2 * i]);
                if (unit == 0)
                    break;
                text += unit < 0x80 ? static_cast<char>(unit) : '?';
            }
            return text;
        }
        at += 2 * chars;
    }
}
