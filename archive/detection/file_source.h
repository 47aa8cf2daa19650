#pragma once

#include "archive/detection/archive_source.h"
#include "base/file_descriptor.h"

#include <string>

// A regular file opened read-only for detection; anything else (a folder, a
// FIFO, a device) does not open.
class FileSource final : public ArchiveSource {
public:
    explicit FileSource(const std::string& path);

    bool IsOpen() const { return file_.valid(); }
    // Closes the file; false when closing failed.
    bool Close();

    std::optional<int64_t> Size() override;
    std::optional<size_t> ReadAt(int64_t position, uint8_t* buffer, size_t count) override;

private:
    FileDescriptor file_;
};
