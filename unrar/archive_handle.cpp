#include "unrar/archive_handle.h"

#include "unrar/dest_paths.h"
#include "unrar/dos_time.h"
#include "unrar/entry_output.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace zk::unrar {

namespace fs = std::filesystem;

namespace {

// Copies text into a fixed name field, cut at a character boundary to fit.
void copyName(char (&field)[RAR_NAME_SIZE], const char* text) {
    std::size_t size = text == nullptr ? 0 : std::strlen(text);
    if (size >= RAR_NAME_SIZE) {
        size = RAR_NAME_SIZE - 1;
        while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
            --size;
    }
    if (size > 0)
        std::memcpy(field, text, size);
    field[size] = '\0';
}

const char* pathnameOf(struct archive_entry* entry) {
    const char* name = archive_entry_pathname_utf8(entry);
    return name != nullptr ? name : archive_entry_pathname(entry);
}

const char* symlinkOf(struct archive_entry* entry) {
    const char* target = archive_entry_symlink_utf8(entry);
    return target != nullptr ? target : archive_entry_symlink(entry);
}

const char* hardlinkOf(struct archive_entry* entry) {
    const char* target = archive_entry_hardlink_utf8(entry);
    return target != nullptr ? target : archive_entry_hardlink(entry);
}

// The folder a destination lies in; "." for a bare name.
fs::path folderOf(const fs::path& dest) {
    return dest.has_parent_path() ? dest.parent_path() : fs::path(".");
}

bool canonicalWithin(const fs::path& path, const fs::path& root) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(path, ec);
    if (ec)
        return false;
    const fs::path realRoot = fs::canonical(root, ec);
    return !ec && isWithin(real, realRoot);
}

// Removes what stands at `path` so a link can take its place; never a folder.
bool clearForLink(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status))
        return true;
    return !fs::is_directory(status) && fs::remove(path, ec);
}

}  // namespace

std::unique_ptr<ArchiveHandle> ArchiveHandle::open(const char* name, unsigned& result) {
    std::unique_ptr<ArchiveHandle> handle(new ArchiveHandle);
    ArchiveHandle* self = handle.get();
    handle->volumes_.setVolumeOpenedHook([self](const std::string& volume) {
        const std::vector<Rar4FileHeader> more = readRar4FileHeaders(volume);
        self->rawHeaders_.insert(self->rawHeaders_.end(), more.begin(), more.end());
    });
    if (name == nullptr || !handle->volumes_.open(name)) {
        result = ERAR_EOPEN;
        return nullptr;
    }
    handle->reader_ = archive_read_new();
    if (handle->reader_ == nullptr) {
        result = ERAR_NO_MEMORY;
        return nullptr;
    }
    archive_read_support_format_rar(handle->reader_);
    archive_read_support_format_rar5(handle->reader_);
    if (handle->volumes_.openArchive(handle->reader_) != ARCHIVE_OK) {
        result = handle->volumes_.abandoned() ? ERAR_EOPEN : ERAR_BAD_ARCHIVE;
        return nullptr;
    }
    result = ERAR_SUCCESS;
    return handle;
}

ArchiveHandle::~ArchiveHandle() {
    if (reader_ != nullptr)
        archive_read_free(reader_);
}

int ArchiveHandle::failureCode() const {
    return volumes_.abandoned() ? ERAR_EOPEN : ERAR_BAD_DATA;
}

int ArchiveHandle::readHeader(RARHeaderData& header) {
    if (stickyError_ != 0)
        return stickyError_;
    entryPending_ = false;
    const int r = archive_read_next_header(reader_, &entry_);
    if (volumes_.abandoned())
        return stickyError_ = ERAR_EOPEN;
    if (r == ARCHIVE_EOF)
        return ERAR_END_ARCHIVE;
    if (r < ARCHIVE_WARN) {
        stickyError_ = failureCode();
        return stickyError_;
    }
    entryPending_ = true;

    copyName(header.ArcName, volumes_.currentVolume().c_str());
    copyName(header.FileName, pathnameOf(entry_));
    const mode_t mode = archive_entry_mode(entry_);
    header.Flags = 0;
    if (S_ISDIR(mode))
        header.Flags |= RHDF_DIRECTORY;
    if (archive_entry_is_data_encrypted(entry_) > 0)
        header.Flags |= RHDF_ENCRYPTED;
    const auto size = static_cast<std::uint64_t>(archive_entry_size(entry_));
    header.UnpSize = static_cast<unsigned>(size & 0xFFFFFFFFu);
    header.HostOS = RAR_HOST_UNIX;
    header.FileAttr = mode;
    header.FileTime = dosTimeFromUnix(archive_entry_mtime(entry_));
    header.PackSize = 0;  // unknown to libarchive
    header.FileCRC = 0;
    header.UnpVer = 0;
    header.Method = 0;
    if (const Rar4FileHeader* raw = rawHeaderOfCurrentEntry()) {
        header.Flags |= raw->flags & (RHDF_SPLITAFTER | RHDF_ENCRYPTED | RHDF_SOLID);
        header.HostOS = raw->host;
        header.FileAttr = raw->attr;
        header.FileTime = raw->time;
        header.PackSize = raw->packSize;
        header.FileCRC = raw->crc;
        header.UnpVer = raw->unpVer;
        header.Method = raw->method;
    }
    header.CmtSize = 0;
    header.CmtState = 0;
    return ERAR_SUCCESS;
}

const Rar4FileHeader* ArchiveHandle::rawHeaderOfCurrentEntry() {
    const std::size_t index = entriesRead_++;
    if (!rawHeadersAgree_ || index >= rawHeaders_.size())
        return nullptr;
    const Rar4FileHeader& raw = rawHeaders_[index];
    const mode_t mode = archive_entry_mode(entry_);
    const auto size = static_cast<std::uint32_t>(archive_entry_size(entry_) & 0xFFFFFFFF);
    // libarchive reads a link's target as its data, so its size says nothing.
    if (raw.folder != S_ISDIR(mode) || (S_ISREG(mode) && raw.unpSize != size)) {
        rawHeadersAgree_ = false;
        return nullptr;
    }
    return &raw;
}

int ArchiveHandle::skipEntry() {
    const int r = archive_read_data_skip(reader_);
    return r < ARCHIVE_WARN || volumes_.abandoned() ? failureCode() : ERAR_SUCCESS;
}

int ArchiveHandle::processFile(int operation, const char* destPath, const char* destName) {
    if (!entryPending_)
        return ERAR_UNKNOWN;
    entryPending_ = false;
    if (operation == RAR_SKIP)
        return skipEntry();
    if (operation != RAR_TEST && operation != RAR_EXTRACT)
        return ERAR_UNKNOWN;

    if (archive_entry_is_data_encrypted(entry_) > 0) {
        // The data cannot be decoded here; the handle gives up, as with a
        // wrong password, so the next header read answers 12.
        stickyError_ = ERAR_BAD_DATA;
        return passwordSet_ ? ERAR_UNKNOWN_FORMAT : ERAR_MISSING_PASSWORD;
    }
    const mode_t type = archive_entry_filetype(entry_);
    const bool hardLink = hardlinkOf(entry_) != nullptr;
    if (operation == RAR_TEST)
        return type == AE_IFREG && !hardLink ? testOrWrite(nullptr) : ERAR_SUCCESS;

    fs::path dest;
    fs::path root;
    if (const int code = destinationOf(destPath, destName, dest, root); code != ERAR_SUCCESS)
        return code;
    std::error_code ec;
    fs::create_directories(folderOf(dest), ec);
    if (ec || (!root.empty() && !canonicalWithin(folderOf(dest), root)))
        return ERAR_ECREATE;

    if (type == AE_IFDIR)
        return extractFolder(dest, root);
    if (type == AE_IFLNK) {
        // A given destination folder bounds links, also beside a destination name.
        const fs::path linkRoot = destPath != nullptr && *destPath != '\0' ? fs::path(destPath) : root;
        return extractLink(dest, linkRoot.empty() ? nullptr : &linkRoot);
    }
    if (hardLink)
        return extractHardLink(dest);
    if (type == AE_IFREG)
        return testOrWrite(&dest);
    skipEntry();
    return ERAR_ECREATE;  // devices and pipes are not written
}

int ArchiveHandle::destinationOf(const char* destPath, const char* destName, fs::path& dest,
                                 fs::path& root) const {
    if (destName != nullptr && *destName != '\0') {
        dest = destName;
        return ERAR_SUCCESS;
    }
    const fs::path below = storedNameBelow(pathnameOf(entry_));
    if (below.empty())
        return ERAR_ECREATE;
    root = destPath != nullptr && *destPath != '\0' ? fs::path(destPath) : fs::path(".");
    dest = root / below;
    return ERAR_SUCCESS;
}

int ArchiveHandle::testOrWrite(const fs::path* dest) {
    EntryOutput output;
    if (dest != nullptr && !output.create(*dest))
        return ERAR_ECREATE;
    for (;;) {
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int r = archive_read_data_block(reader_, &block, &size, &offset);
        if (volumes_.abandoned() || (r != ARCHIVE_OK && r != ARCHIVE_EOF))
            return failureCode();
        if (r == ARCHIVE_EOF)
            break;
        if (dest != nullptr && !output.write(block, size, static_cast<off_t>(offset)))
            return ERAR_EWRITE;
        auto* bytes = static_cast<unsigned char*>(const_cast<void*>(block));
        for (std::size_t done = 0; processData_ != nullptr && done < size;) {
            const int piece = static_cast<int>(std::min<std::size_t>(size - done, INT_MAX));
            if (processData_(bytes + done, piece) == 0)
                return ERAR_UNKNOWN;
            done += static_cast<std::size_t>(piece);
        }
    }
    if (dest == nullptr)
        return ERAR_SUCCESS;
    if (!output.finish(archive_entry_mode(entry_), archive_entry_mtime(entry_),
                       archive_entry_mtime_nsec(entry_)))
        return ERAR_EWRITE;
    extractedFiles_[pathnameOf(entry_)] = *dest;
    return ERAR_SUCCESS;
}

int ArchiveHandle::extractFolder(const fs::path& dest, const fs::path& root) {
    std::error_code ec;
    fs::create_directories(dest, ec);
    if (ec || !fs::is_directory(dest, ec) || (!root.empty() && !canonicalWithin(dest, root)))
        return ERAR_ECREATE;
    chmod(dest.c_str(), permissionsOf(archive_entry_mode(entry_)));
    setModificationTime(dest, archive_entry_mtime(entry_), archive_entry_mtime_nsec(entry_));
    return ERAR_SUCCESS;
}

// A link is written only when its target, seen from the link's real folder,
// stays inside the destination folder (or, without one, the link's folder).
int ArchiveHandle::extractLink(const fs::path& dest, const fs::path* root) {
    const char* target = symlinkOf(entry_);
    std::error_code ec;
    const fs::path linkFolder = fs::canonical(folderOf(dest), ec);
    if (ec || target == nullptr)
        return ERAR_ECREATE;
    const fs::path allowed = root != nullptr ? fs::canonical(*root, ec) : linkFolder;
    const std::optional<fs::path> resolved = resolveLinkTarget(linkFolder, target);
    if (ec || !resolved || !isWithin(*resolved, allowed) || !clearForLink(dest))
        return ERAR_ECREATE;
    if (symlink(target, dest.c_str()) != 0)
        return ERAR_ECREATE;
    setModificationTime(dest, archive_entry_mtime(entry_), archive_entry_mtime_nsec(entry_));
    return ERAR_SUCCESS;
}

// Hard links become copies of a file this handle extracted earlier.
int ArchiveHandle::extractHardLink(const fs::path& dest) {
    const auto source = extractedFiles_.find(hardlinkOf(entry_));
    if (source == extractedFiles_.end())
        return ERAR_ECREATE;
    const int in = ::open(source->second.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return ERAR_ECREATE;
    EntryOutput output;
    if (!output.create(dest)) {
        ::close(in);
        return ERAR_ECREATE;
    }
    char buffer[64 * 1024];
    off_t offset = 0;
    ssize_t got = 0;
    while ((got = ::read(in, buffer, sizeof buffer)) > 0) {
        if (!output.write(buffer, static_cast<std::size_t>(got), offset))
            break;
        offset += got;
    }
    ::close(in);
    if (got != 0 || !output.finish(archive_entry_mode(entry_), archive_entry_mtime(entry_),
                                   archive_entry_mtime_nsec(entry_)))
        return ERAR_EWRITE;
    extractedFiles_[pathnameOf(entry_)] = dest;
    return ERAR_SUCCESS;
}

}  // namespace zk::unrar
