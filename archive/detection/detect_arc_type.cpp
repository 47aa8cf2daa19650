#include "archive/detection/detect_arc_type.h"

#include "archive/detection/executable_detection.h"
#include "archive/detection/file_source.h"
#include "archive/detection/signature_probe.h"
#include "base/path_rules.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace {

constexpr int64_t kMinimumSize = 6;
constexpr int64_t kExtensionFallbackMinimum = 200;
constexpr size_t kUueWindow = 800;
constexpr size_t kTarBlock = 512;

// "begin" at the start of the text or of any line within the first 800 bytes.
void checkUue(ArchiveSource& source, int64_t size, Detection& result)
{
    std::vector<uint8_t> text(static_cast<size_t>(std::min<int64_t>(size, kUueWindow)));
    const size_t read = source.ReadAt(0, text.data(), text.size()).value_or(0);
    for (size_t at = 0; at < read; ++at) {
        const bool lineStart = at == 0 || text[at - 1] == '\n';
        if (lineStart && StartsWith(&text[at], read - at, "begin")) {
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
        DetectExecutable(source, *size, commentAllowance, header.data(), result);
        return;
    }
    ClassifyAt({header[0], header[1], header[2], header[3]}, 0, SignaturePosition::StartOfFile,
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
