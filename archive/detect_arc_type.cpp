#include "archive/detect_arc_type.h"

#include "archive/e_raise.h"
#include "archive/file_source.h"
#include "base/path_rules.h"
#include "archive/pe_string_table.h"
#include "archive/signature.h"
#include "base/little_endian.h"
#include "base/string_to_int.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

using Four = std::array<uint8_t, 4>;

constexpr int64_t kMinimumSize = 6;
constexpr int64_t kExtensionFallbackMinimum = 200;
constexpr size_t kUueWindow = 800;
constexpr size_t kTarBlock = 512;
constexpr size_t kResourceBuffer = 6;
constexpr int32_t kZipTail = 23;

bool startsWith(const uint8_t* p, size_t available, std::string_view signature)
{
    return available >= signature.size() && std::memcmp(p, signature.data(), signature.size()) == 0;
}

// Four bytes at position, or nothing after a failed seek or a short read.
std::optional<Four> readFour(ArchiveSource& source, int64_t position)
{
    Four bytes{};
    const auto got = source.ReadAt(position, bytes.data(), bytes.size());
    if (!got || *got != bytes.size())
        return std::nullopt;
    return bytes;
}

// The archive start that a signature implies, where it is fixed by the format.
int64_t startFor(const Four& bytes, int64_t found)
{
    const bool arcExeStub = bytes[0] == 0xB7 && (bytes[1] == 0x92 || bytes[1] == 0xDF);
    return arcExeStub ? kArcExeDataOffset : found;
}

void classifyAt(const Four& bytes, int64_t position, SignaturePosition kind, Detection& result)
{
    result.type = ClassifySignature(bytes, kind);
    if (result.type != TArcType::atUnknown && result.type != TArcType::atNA)
        result.archiveOffset = startFor(bytes, position);
}

// Positions stored as decimal or "$"-hexadecimal text in string ids 1 to 4.
void searchStringResources(ArchiveSource& source, int64_t size, Detection& result)
{
    std::optional<PeStringTable> table;
    try {
        table = PeStringTable::Open(source);
    } catch (const EInOutError&) {
        return; // an unreadable module has no strings
    }
    if (!table)
        return;
    for (uint16_t id = 1; id <= 4; ++id) {
        std::string text;
        try {
            text = table->LoadString(id, kResourceBuffer);
        } catch (const EInOutError&) {
            return;
        }
        const auto value = StringToInt(text);
        if (!value || *value >= size)
            return;
        const auto bytes = readFour(source, *value);
        if (!bytes)
            continue;
        classifyAt(*bytes, *value, SignaturePosition::InsideExecutable, result);
        if (result.type != TArcType::atUnknown)
            return;
    }
}

// Classifies the data at `end`, where an image ends and appended data starts.
void searchBehindImage(ArchiveSource& source, int64_t end, Detection& result)
{
    const auto atEnd = readFour(source, end);
    if (!atEnd)
        return;
    // ARJ data carries two bytes in front of its header mark.
    const int64_t start = (*atEnd)[2] == 0x60 && (*atEnd)[3] == 0xEA ? end + 2 : end;
    if (const auto bytes = readFour(source, start))
        classifyAt(*bytes, start, SignaturePosition::InsideExecutable, result);
}

// Data appended right behind the old-style image that the header describes.
void searchEndOfImage(ArchiveSource& source, int64_t size, const uint8_t* header, Detection& result)
{
    const int64_t end = (int64_t{ReadLe16(header + 4)} - 1) * 512 + ReadLe16(header + 2);
    if (end > 0 && end < size)
        searchBehindImage(source, end, result);
}

// Data appended behind a PE image's sections, where self-extractors built as
// PE programs keep their archive: the old-style header of such a program
// describes only its DOS stub, so the steps before never reach that data.
void searchEndOfPeImage(ArchiveSource& source, int64_t size, Detection& result)
{
    std::optional<int64_t> end;
    try {
        end = PeImageEnd(source);
    } catch (const EInOutError&) {
        return; // an unreadable image has no known end
    }
    if (end && *end < size)
        searchBehindImage(source, *end, result);
}

// A ZIP appended to the executable, found through its end record; its central
// directory offset must count from the start of the whole file.
void searchZipDirectory(ArchiveSource& source, int64_t size, int32_t commentAllowance,
                        Detection& result)
{
    int64_t window = int64_t{commentAllowance} + kZipTail;
    if (window > size)
        window = commentAllowance == 0 ? kZipTail : size - 76;
    if (window <= 0 || size < window)
        return;
    const int64_t windowStart = size - window;
    std::vector<uint8_t> tail(static_cast<size_t>(window));
    const auto got = source.ReadAt(windowStart, tail.data(), tail.size());
    if (!got)
        return;
    const auto read = static_cast<int64_t>(*got);
    for (int64_t p = read - 21; p >= 1; --p) {
        if (!startsWith(&tail[static_cast<size_t>(p)], static_cast<size_t>(read - p), "PK\x05\x06"))
            continue;
        std::array<uint8_t, 22> endRecord{};
        const auto endGot = source.ReadAt(windowStart + p, endRecord.data(), endRecord.size());
        if (endGot && *endGot == endRecord.size() &&
            startsWith(endRecord.data(), 22, "PK\x05\x06")) {
            const int64_t directory = ReadLe32(&endRecord[16]);
            std::array<uint8_t, 46> entry{};
            const auto entryGot = source.ReadAt(directory, entry.data(), entry.size());
            if (entryGot && startsWith(entry.data(), *entryGot, "PK\x01\x02")) {
                result.type = TArcType::atZipExe;
                result.archiveOffset =
                    *entryGot == entry.size() ? int64_t{ReadLe32(&entry[42])} : int64_t{-1};
            }
        }
        return;
    }
}

void detectExecutable(ArchiveSource& source, int64_t size, int32_t commentAllowance,
                      const uint8_t* header, Detection& result)
{
    result.type = TArcType::atUnknown;
    searchStringResources(source, size, result);
    if (result.type == TArcType::atUnknown)
        searchEndOfImage(source, size, header, result);
    if (result.type == TArcType::atUnknown)
        searchZipDirectory(source, size, commentAllowance, result);
    if (result.type == TArcType::atUnknown)
        searchEndOfPeImage(source, size, result);
}

// "begin" at the start of the text or of any line within the first 800 bytes.
void checkUue(ArchiveSource& source, int64_t size, Detection& result)
{
    std::vector<uint8_t> text(static_cast<size_t>(std::min<int64_t>(size, kUueWindow)));
    const size_t read = source.ReadAt(0, text.data(), text.size()).value_or(0);
    for (size_t at = 0; at < read; ++at) {
        const bool lineStart = at == 0 || text[at - 1] == '\n';
        if (lineStart && startsWith(&text[at], read - at, "begin")) {
            result.type = TArcType::atUUE;
            result.archiveOffset = static_cast<int64_t>(at);
            return;
        }
    }
}

// A TAR header whose checksum adds up; a volume header defers to the next block.
void checkTar(ArchiveSource& source, Detection& result)
{
    std::array<uint8_t, kTarBlock> block{};
    int64_t position = 0;
    source.ReadAt(position, block.data(), block.size());
    if (block[156] == 'V') {
        position = kTarBlock;
        block.fill(0);
        source.ReadAt(position, block.data(), block.size());
    }
    const std::string storedText(reinterpret_cast<const char*>(&block[148]), 8);
    uint32_t computed = 0;
    for (size_t i = 0; i < block.size(); ++i)
        computed += i >= 148 && i < 156 ? uint32_t{' '} : block[i];
    if (static_cast<uint32_t>(OctalToInt(storedText)) == computed) {
        result.type = TArcType::atTAR;
        result.archiveOffset = position;
    }
}

void detectByExtension(ArchiveSource& source, int64_t size, const std::string& name,
                       PathStyle style, Detection& result)
{
    std::string ext = ExtensionPart(name, style);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    const std::string key = ExtensionKey(ext);
    if (key == "UUE" || key == "ENC" || key == "XXE")
        checkUue(source, size, result);
    else if (key == "TAR")
        checkTar(source, result);
}

void detectOpened(ArchiveSource& source, const std::string& name, int32_t commentAllowance,
                  PathStyle style, Detection& result)
{
    const auto size = source.Size();
    if (!size)
        return;
    if (*size < kMinimumSize) {
        result.type = TArcType::atFileError;
        return;
    }
    std::array<uint8_t, kMinimumSize> header{};
    const auto got = source.ReadAt(0, header.data(), header.size());
    if (!got || *got != header.size()) {
        // The file shrank below its reported size.
        result.type = TArcType::atFileError;
        return;
    }
    if (header[0] == 'M' && header[1] == 'Z') {
        detectExecutable(source, *size, commentAllowance, header.data(), result);
        return;
    }
    classifyAt({header[0], header[1], header[2], header[3]}, 0, SignaturePosition::StartOfFile,
               result);
    if (result.type == TArcType::atUnknown && *size > kExtensionFallbackMinimum &&
        name.find('.') != std::string::npos)
        detectByExtension(source, *size, name, style, result);
}

} // namespace

int32_t OctalToInt(const std::string& text)
{
    uint32_t value = 0; // wraps like the 32-bit original instead of overflowing
    for (const char c : text) {
        if (c >= '0' && c <= '7')
            value = value * 8 + static_cast<uint32_t>(c - '0');
    }
    return static_cast<int32_t>(value);
}

std::string ExtensionKey(const std::string& ext)
{
    const std::string_view list = kArchiveExtensions;
    const size_t at = ext.empty() ? std::string_view::npos : list.find(ext);
    if (at == std::string_view::npos)
        return {};
    return std::string(list.substr(at + 1, 3));
}

void DetectArchiveIn(ArchiveSource& source, const std::string& name, int32_t commentAllowance,
                     Detection& result, PathStyle style)
{
    result.type = TArcType::atNA;
    result.archiveOffset = -1;
    detectOpened(source, name, commentAllowance, style, result);
}

void DetectArchive(const std::string& path, int32_t commentAllowance, Detection& result,
                   PathStyle style)
{
    result = Detection{};
    if (path.empty())
        return;
    FileSource file(path);
    if (!file.IsOpen()) {
        result.type = TArcType::atFileError;
        return;
    }
    DetectArchiveIn(file, path, commentAllowance, result, style);
    result.closeFailed = !file.Close();
}
