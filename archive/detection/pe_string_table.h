#pragma once

#include "archive/detection/archive_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One section of a PE image as its section table describes it.
struct PeSection {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawPointer;
};

// Where the raw data of a PE image's sections ends in the file: data appended
// to the image (a self-extractor's archive) starts there. Nothing when the
// source is not a PE image or its sections hold no data.
std::optional<int64_t> PeImageEnd(ArchiveSource& source);

// Reads string resources from a Windows executable without running it: the
// PE headers, the section table and the resource tree down to the string
// blocks. Every offset and size is checked against what was read; the tree is
// walked exactly three levels deep and each directory's entry list is capped,
// so a hostile file costs a few kilobytes of reads at most.
class PeStringTable {
public:
    // Nothing when the source is not a PE image with a resource section.
    static std::optional<PeStringTable> Open(ArchiveSource& source);

    // The string with the given id as an 8-bit text into a buffer of
    // bufferSize bytes (so at most bufferSize - 1 characters); empty when the
    // string is missing. Characters outside ASCII come out as "?".
    std::string LoadString(uint16_t id, size_t bufferSize);

private:
    PeStringTable(ArchiveSource& source, std::vector<PeSection> sections, int64_t resourceBase)
        : source_(&source), sections_(std::move(sections)), resourceBase_(resourceBase)
    {
    }

    std::optional<int64_t> fileOffsetOf(uint32_t rva, uint32_t length) const;
    // The data entry offset of the first matching entry of a directory (or of
    // its first entry when id is empty), with whether it names a subdirectory.
    std::optional<std::pair<uint32_t, bool>> findEntry(uint32_t directory,
                                                       std::optional<uint16_t> id);

    ArchiveSource* source_;
    std::vector<PeSection> sections_;
    int64_t resourceBase_;
};
