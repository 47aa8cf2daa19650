#pragma once

#include "unrar/rar_interface.h"
#include "unrar/stored_headers.h"
#include "unrar/volume_reader.h"

#include <archive.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct archive_entry;

namespace zk::unrar {

// What one RAROpenArchive handle holds: the libarchive reader over the
// volumes, the archive's own headers read beside it, the entry whose header
// was read last, and the files extracted so far (hard links are written as
// copies of them). Every file's data is checked against its stored checksum.
// Neither copied nor moved: the volume hook and libarchive hold its address.
class ArchiveHandle {
public:
    // Null with `result` set to the open failure code.
    static std::unique_ptr<ArchiveHandle> open(const char* name, unsigned& result);
    ArchiveHandle(const ArchiveHandle&) = delete;
    ArchiveHandle& operator=(const ArchiveHandle&) = delete;

    int readHeader(RARHeaderDataEx& header);
    int processFile(int operation, const char* destPath, const char* destName);

    void setChangeVolumeCallback(CHANGEVOLPROC callback)
    {
        volumes_.setChangeVolumeCallback(callback);
    }
    void setProcessDataCallback(PROCESSDATAPROC callback) { processData_ = callback; }
    void setPassword(const char* password)
    {
        passwordSet_ = password != nullptr && *password != '\0';
    }

private:
    ArchiveHandle() = default;

    bool openReader();
    int failureCode() const;
    int nextEntry();
    bool restartAfterFailedEntry();
    int endOfEntries();
    int refuseEncrypted();
    int skipEntry();
    int testOrWrite(const std::filesystem::path* dest);
    int extractFolder(const std::filesystem::path& dest, const std::filesystem::path& root);
    int extractLink(const std::filesystem::path& dest, const std::filesystem::path* root);
    int extractHardLink(const std::filesystem::path& dest);
    int destinationOf(const char* destPath, const char* destName, std::filesystem::path& dest,
                      std::filesystem::path& root) const;

    struct ReaderFree {
        void operator()(struct archive* reader) const { archive_read_free(reader); }
    };

    VolumeReader volumes_;
    // Declared after volumes_ so that it is freed first, while the volumes it
    // reads through are still there.
    std::unique_ptr<struct archive, ReaderFree> reader_;
    struct archive_entry* entry_ = nullptr; // owned by reader_, valid until the next header
    bool entryPending_ = false;
    int stickyError_ = 0; // once set, every later header read answers it
    PROCESSDATAPROC processData_ = nullptr;
    bool passwordSet_ = false;
    std::map<std::string, std::filesystem::path> extractedFiles_;
    StoredHeaders stored_;
    std::optional<std::size_t> storedIndex_; // of the current entry, when matched
    std::size_t entriesRead_ = 0;
    // After libarchive failed on an entry's data, the next header read starts
    // a new reader and passes over the entries read.
    bool dataFailed_ = false;
    int restarts_ = 0;
};

} // namespace zk::unrar
