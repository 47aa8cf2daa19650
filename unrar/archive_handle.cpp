#include "unrar/archive_handle.h"

#include "unrar/data_checksum.h"
#include "unrar/dest_paths.h"
#include "unrar/entry_output.h"
#include "base/file_descriptor.h"
#include "unrar/header_fields.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace zk::unrar {

namespace fs = std::filesystem;

namespace {

// The folder a destination lies in; "." for a bare name.
fs::path folderOf(const fs::path& dest)
{
    return dest.has_parent_path() ? dest.parent_path() : fs::path(".");
}

bool canonicalWithin(const fs::path& path, const fs::path& root)
{
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(path, ec);
    if (ec)
        return false;
    const fs::path realRoot = fs::canonical(root, ec);
    return !ec && isWithin(real, realRoot);
}

// Removes what stands at `path` so a link can take its place; never a folder.
bool clearForLink(const fs::path& path)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status))
        return true;
    return !fs::is_directory(status) && fs::remove(path, ec);
}

} // namespace

std::unique_ptr<ArchiveHandle> ArchiveHandle::open(const char* name, unsigned& result)
{
    std::unique_ptr<ArchiveHandle> handle(new ArchiveHandle);
    ArchiveHandle* self = handle.get();
    handle->volumes_.setVolumeOpenedHook([self](std::size_t index, const std::string& volume) {
        self->stored_.readVolume(index, volume);
    });
    if (name == nullptr || !handle->volumes_.open(name)) {
        result = ERAR_EOPEN;
        return nullptr;
    }
    if (!handle->openReader()) {
        result = handle->reader_ == nullptr     ? ERAR_NO_MEMORY
                 : handle->volumes_.abandoned() ? ERAR_EOPEN
                                                : ERAR_BAD_ARCHIVE;
        return nullptr;
    }
    result = ERAR_SUCCESS;
    return handle;
}

bool ArchiveHandle::openReader()
{
    reader_.reset(); // the old reader lets go of its volume before a new one opens
    reader_.reset(archive_read_new());
    if (reader_ == nullptr)
        return false;
    archive_read_support_format_rar(reader_.get());
    archive_read_support_format_rar5(reader_.get());
    return volumes_.openArchive(reader_.get()) == ARCHIVE_OK;
}

int ArchiveHandle::failureCode() const
{
    return volumes_.abandoned() ? ERAR_EOPEN : ERAR_BAD_DATA;
}

int ArchiveHandle::readHeader(RARHeaderDataEx& header)
{
    if (stickyError_ == 0 && stored_.headersEncrypted())
        stickyError_ = passwordSet_ ? ERAR_UNKNOWN_FORMAT : ERAR_MISSING_PASSWORD;
    if (stickyError_ != 0)
        return stickyError_;
    entryPending_ = false;
    if (const int code = nextEntry(); code != ERAR_SUCCESS)
        return code;
    entryPending_ = true;
    storedIndex_ = stored_.match(entriesRead_++, entry_);
    fillHeader(header, volumes_.currentVolume(), entry_,
               storedIndex_ ? &stored_.at(*storedIndex_) : nullptr);
    return ERAR_SUCCESS;
}

// Moves libarchive to the next entry. After an entry whose data it failed
// on, its state cannot be trusted, so a new reader takes over there. Each
// restart reads every earlier header again; past a bound the old reader goes
// on (the checksums still catch what it gets wrong).
int ArchiveHandle::nextEntry()
{
    constexpr int kMaxRestarts = 64;
    if (dataFailed_ && !volumes_.abandoned() && restarts_ < kMaxRestarts) {
        ++restarts_;
        if (!restartAfterFailedEntry())
            return stickyError_ = ERAR_BAD_DATA;
    }
    dataFailed_ = false;
    const int r = archive_read_next_header(reader_.get(), &entry_);
    if (volumes_.abandoned())
        return stickyError_ = ERAR_EOPEN;
    if (r == ARCHIVE_EOF)
        return endOfEntries();
    if (r < ARCHIVE_WARN)
        return stickyError_ = failureCode();
    return ERAR_SUCCESS;
}

// A new reader from the first volume, passed over the entries read so far.
// False when it cannot get back there: the archive's structure is damaged.
bool ArchiveHandle::restartAfterFailedEntry()
{
    if (!volumes_.rewind() || !openReader())
        return false;
    for (std::size_t i = 0; i < entriesRead_; ++i) {
        if (archive_read_next_header(reader_.get(), &entry_) < ARCHIVE_WARN || volumes_.abandoned())
            return false;
    }
    return true;
}

// libarchive's end counts only where the archive's own headers end too.
int ArchiveHandle::endOfEntries()
{
    if (stored_.goesOnAfter(entriesRead_))
        return stickyError_ = ERAR_BAD_DATA;
    return ERAR_END_ARCHIVE;
}

int ArchiveHandle::skipEntry()
{
    if (archive_read_data_skip(reader_.get()) >= ARCHIVE_WARN && !volumes_.abandoned())
        return ERAR_SUCCESS;
    dataFailed_ = true;
    return failureCode();
}

// Encrypted data cannot be decoded here. Without a password the handle gives
// up as it would on a wrong one (the next header read answers 12); with one,
// the entry is passed over and the ones after it stay readable.
int ArchiveHandle::refuseEncrypted()
{
    if (!passwordSet_) {
        stickyError_ = ERAR_BAD_DATA;
        return ERAR_MISSING_PASSWORD;
    }
    skipEntry();
    return ERAR_UNKNOWN_FORMAT;
}

int ArchiveHandle::processFile(int operation, const char* destPath, const char* destName)
{
    if (!entryPending_)
        return ERAR_UNKNOWN;
    entryPending_ = false;
    if (operation == RAR_SKIP)
        return skipEntry();
    if (operation != RAR_TEST && operation != RAR_EXTRACT)
        return ERAR_UNKNOWN;

    if (archive_entry_is_data_encrypted(entry_) > 0 ||
        (storedIndex_ && (stored_.at(*storedIndex_).flags & RHDF_ENCRYPTED)))
        return refuseEncrypted();
    const mode_t type = archive_entry_filetype(entry_);
    const bool hardLink = hardlinkOf(entry_) != nullptr;
    // A file that libarchive took for a folder: its data cannot be had.
    if (type == AE_IFDIR && storedIndex_ && !stored_.at(*storedIndex_).folder) {
        skipEntry();
        return ERAR_UNKNOWN_FORMAT;
    }
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
        const fs::path linkRoot =
            destPath != nullptr && *destPath != '\0' ? fs::path(destPath) : root;
        return extractLink(dest, linkRoot.empty() ? nullptr : &linkRoot);
    }
    if (hardLink)
        return extractHardLink(dest);
    if (type == AE_IFREG)
        return testOrWrite(&dest);
    skipEntry();
    return ERAR_ECREATE; // devices and pipes are not written
}

int ArchiveHandle::destinationOf(const char* destPath, const char* destName, fs::path& dest,
                                 fs::path& root) const
{
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

// Decodes the current file, writing it to `dest` when given, and answers 12
// (leaving nothing behind) unless its data matches the stored checksum.
int ArchiveHandle::testOrWrite(const fs::path* dest)
{
    if (!storedIndex_) {
        skipEntry();
        return ERAR_BAD_DATA; // without its own header the data cannot be checked
    }
    // Read before the data: parts read on the way may move the stored headers.
    const StoredFileHeader& first = stored_.at(*storedIndex_);
    DataChecksum checksum(first.blake2sp.has_value() || !first.complete);
    bool more = first.unpSize > 0 || !first.complete;
    EntryOutput output;
    if (dest != nullptr && !output.create(*dest))
        return ERAR_ECREATE;
    // An empty file needs no decoding; libarchive fails some in solid archives.
    while (more) {
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int r = archive_read_data_block(reader_.get(), &block, &size, &offset);
        if (volumes_.abandoned() || (r != ARCHIVE_OK && r != ARCHIVE_EOF)) {
            dataFailed_ = true;
            return failureCode();
        }
        if (r == ARCHIVE_EOF)
            break;
        checksum.add(block, size, static_cast<std::uint64_t>(offset));
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
    // Parts of a split file read on the way have joined its stored header.
    const StoredFileHeader& whole = stored_.at(*storedIndex_);
    if (!whole.complete || !checksum.matches(whole))
        return ERAR_BAD_DATA;
    if (dest == nullptr)
        return ERAR_SUCCESS;
    if (!output.finish(archive_entry_mode(entry_), archive_entry_mtime(entry_),
                       archive_entry_mtime_nsec(entry_)))
        return ERAR_EWRITE;
    extractedFiles_[pathnameOf(entry_)] = *dest;
    return ERAR_SUCCESS;
}

int ArchiveHandle::extractFolder(const fs::path& dest, const fs::path& root)
{
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
int ArchiveHandle::extractLink(const fs::path& dest, const fs::path* root)
{
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
int ArchiveHandle::extractHardLink(const fs::path& dest)
{
    const auto source = extractedFiles_.find(hardlinkOf(entry_));
    if (source == extractedFiles_.end())
        return ERAR_ECREATE;
    FileDescriptor in(::open(source->second.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid())
        return ERAR_ECREATE;
    EntryOutput output;
    if (!output.create(dest))
        return ERAR_ECREATE;
    char buffer[64 * 1024];
    off_t offset = 0;
    ssize_t got = 0;
    while ((got = ::read(in.get(), buffer, sizeof buffer)) > 0) {
        if (!output.write(buffer, static_cast<std::size_t>(got), offset))
            break;
        offset += got;
    }
    in.close();
    if (got != 0 || !output.finish(archive_entry_mode(entry_), archive_entry_mtime(entry_),
                                   archive_entry_mtime_nsec(entry_)))
        return ERAR_EWRITE;
    extractedFiles_[pathnameOf(entry_)] = dest;
    return ERAR_SUCCESS;
}

} // namespace zk::unrar
