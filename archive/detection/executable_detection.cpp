#include "archive/detection/executable_detection.h"

#include "archive/e_raise.h"
#include "archive/detection/pe_string_table.h"
#include "archive/detection/signature_probe.h"
#include "base/little_endian.h"
#include "base/string_to_int.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr size_t kResourceBuffer = 6;
constexpr int32_t kZipTail = 23;

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
        const auto bytes = ReadFour(source, *value);
        if (!bytes)
            continue;
        ClassifyAt(*bytes, *value, SignaturePosition::InsideExecutable, result);
        if (result.type != TArcType::atUnknown)
            return;
    }
}

// Classifies the data at `end`, where an image ends and appended data starts.
void searchBehindImage(ArchiveSource& source, int64_t end, Detection& result)
{
    const auto atEnd = ReadFour(source, end);
    if (!atEnd)
        return;
    // ARJ data carries two bytes in front of its header mark.
    const int64_t start = (*atEnd)[2] == 0x60 && (*atEnd)[3] == 0xEA ? end + 2 : end;
    if (const auto bytes = ReadFour(source, start))
        ClassifyAt(*bytes, start, SignaturePosition::InsideExecutable, result);
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
        if (!StartsWith(&tail[static_cast<size_t>(p)], static_cast<size_t>(read - p), "PK\x05\x06"))
            continue;
        std::array<uint8_t, 22> endRecord{};
        const auto endGot = source.ReadAt(windowStart + p, endRecord.data(), endRecord.size());
        if (endGot && *endGot == endRecord.size() &&
            StartsWith(endRecord.data(), 22, "PK\x05\x06")) {
            const int64_t directory = ReadLe32(&endRecord[16]);
            std::array<uint8_t, 46> entry{};
            const auto entryGot = source.ReadAt(directory, entry.data(), entry.size());
            if (entryGot && StartsWith(entry.data(), *entryGot, "PK\x01\x02")) {
                result.type = TArcType::atZipExe;
                result.archiveOffset =
                    *entryGot == entry.size() ? int64_t{ReadLe32(&entry[42])} : int64_t{-1};
            }
        }
        return;
    }
}

} // namespace

void DetectExecutable(ArchiveSource& source, int64_t size, int32_t commentAllowance,
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
