#pragma once

#include "archive/detection/archive_source.h"

#include <algorithm>
#include <cstring>
#include <vector>

// Detection input held in memory. shrinkAfterReads makes the bytes vanish
// after that many reads, as a file truncated between two steps would.
class MemorySource final : public ArchiveSource {
public:
    explicit MemorySource(std::vector<uint8_t> bytes, int shrinkAfterReads = -1)
        : bytes_(std::move(bytes)), shrinkAfterReads_(shrinkAfterReads)
    {
    }

    std::optional<int64_t> Size() override { return static_cast<int64_t>(bytes_.size()); }

    std::optional<size_t> ReadAt(int64_t position, uint8_t* buffer, size_t count) override
    {
        if (shrinkAfterReads_ >= 0 && reads_++ == shrinkAfterReads_)
            bytes_.resize(std::min<size_t>(bytes_.size(), 8));
        if (position < 0)
            return std::nullopt;
        if (count == 0 || static_cast<uint64_t>(position) >= bytes_.size())
            return 0;
        const size_t got = std::min(count, bytes_.size() - static_cast<size_t>(position));
        std::memcpy(buffer, bytes_.data() + position, got);
        return got;
    }

private:
    std::vector<uint8_t> bytes_;
    int shrinkAfterReads_;
    int reads_ = 0;
};
