#pragma once

#include "archive/archive_source.h"

#include <string>

// A regular file opened read-only for detection; anything else (a folder, a
// FIFO, a device) does not open.
class FileSource final : public ArchiveSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // Closes the file; false when closing failed.
    bool Close();

    std::optional<int64_t> Size() override;
    std::optional<size_t> ReadAt(int64_t position, uint8_t* buffer, size_t count) override;

private:
    int fd_ = -1;
};
