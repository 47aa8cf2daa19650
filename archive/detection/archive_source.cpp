#include "archive/detection/archive_source.h"

ArchiveSource::~ArchiveSource() = default;

std::optional<size_t> CountingSource::ReadAt(int64_t position, uint8_t* buffer, size_t count)
{
    requested_ += static_cast<int64_t>(count);
    return inner_.ReadAt(position, buffer, count);
}
