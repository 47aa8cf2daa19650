#pragma once

#include "unrar/rar4_headers.h"
#include "unrar/rar_interface.h"
#include "unrar/volume_reader.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct archive;
struct archive_entry;

namespace zk::unrar {

// What one RAROpenArchive handle holds: the libarchive reader over the
// volumes, the entry whose header was read last, and the files extracted so
// far (hard links are written as copies of them).
class ArchiveHandle {
public:
    // Null with `result` set to the open failure code.
    static std::unique_ptr<ArchiveHandle> open(const char* name, unsigned& result);
    ~ArchiveHandle();

    int readHeader(RARHeaderData& header);
    int processFile(int operation, const char* destPath, const char* destName);

    void setChangeVolumeCallback(CHANGEVOLPROC callback) { volumes_.setChangeVolumeCallback(callback); }
    void setProcessDataCallback(PROCESSDATAPROC callback) { processData_ = callback; }
    void setPassword(const char* password) { passwordSet_ = password != nullptr && *password != '\0'; }

private:
    ArchiveHandle() = default;

    int failureCode() const;
    const Rar4FileHeader* rawHeaderOfCurrentEntry();
    int skipEntry();
    int testOrWrite(const std::filesystem::path* dest);
    int extractFolder(const std::filesystem::path& dest, const std::filesystem::path& root);
    int extractLink(const std::filesystem::path& dest, const std::filesystem::path* root);
    int extractHardLink(const std::filesystem::path& dest);
    int destinationOf(const char* destPath, const char* destName, std::filesystem::path& dest,
                      std::filesystem::path& root) const;

    struct archive* reader_ = nullptr;
    VolumeReader volumes_;
    struct archive_entry* entry_ = nullptr;  // owned by reader_, valid until the next header
    bool entryPending_ = false;
    int stickyError_ = 0;  // once set, every later header read answers it
    PROCESSDATAPROC processData_ = nullptr;
    bool passwordSet_ = false;
    std::map<std::string, std::filesystem::path> extractedFiles_;
    // RAR 4 headers read beside libarchive, matched to its entries by order
    // while they agree, for the fields libarchive does not pass on.
    std::vector<Rar4FileHeader> rawHeaders_;
    std::size_t entriesRead_ = 0;
    bool rawHeadersAgree_ = true;
};

}  // namespace zk::unrar
