#include "unrar/stored_headers.h"

#include "unrar/header_fields.h"
#include "unrar/rar4_headers.h"
#include "unrar/rar5_headers.h"
#include "unrar/rar_interface.h"

#include <archive_entry.h>
#include <sys/stat.h>

#include <algorithm>

namespace zk::unrar {

void StoredHeaders::readVolume(std::size_t index, const std::string& path)
{
    if (index < volumesRead_)
        return;
    volumesRead_ = index + 1;
    StoredVolume volume = readRar5Headers(path);
    if (!volume.found)
        volume = readRar4Headers(path);
    headersEncrypted_ = headersEncrypted_ || volume.headersEncrypted;
    lastVolumeEnds_ = volume.endsCleanly;
    for (StoredFileHeader& header : volume.files)
        add(std::move(header));
}

void StoredHeaders::add(StoredFileHeader&& header)
{
    header.complete = (header.flags & RHDF_SPLITAFTER) == 0;
    if (!header.continuation) {
        files_.push_back(std::move(header));
        return;
    }
    // A part without its beginning (a set opened at a later volume) is no file.
    if (files_.empty() || files_.back().complete)
        return;
    StoredFileHeader& file = files_.back();
    file.packSize += header.packSize;
    file.crc = header.crc;
    file.blake2sp = header.blake2sp;
    file.complete = header.complete;
}

std::optional<std::size_t> StoredHeaders::match(std::size_t ordinal, struct archive_entry* entry)
{
    if (!agree_ || ordinal >= files_.size())
        return std::nullopt;
    const StoredFileHeader& header = files_[ordinal];
    const mode_t mode = archive_entry_mode(entry);
    // Either side may show a Windows separator as "/".
    std::string name = header.name;
    const char* path = pathnameOf(entry);
    std::string read = path != nullptr ? path : "";
    std::replace(name.begin(), name.end(), '\\', '/');
    std::replace(read.begin(), read.end(), '\\', '/');
    // libarchive reads a link's target as its data, so its size says nothing.
    // It also takes a file whose attribute word looks like a folder's for a
    // folder; only the header's own flag says what the entry is.
    const bool attributesReadAsFolder = !header.folder && S_ISDIR(mode);
    if ((header.folder != S_ISDIR(mode) && !attributesReadAsFolder) ||
        (S_ISREG(mode) &&
         header.unpSize != static_cast<std::uint64_t>(archive_entry_size(entry))) ||
        (!name.empty() && name != read)) {
        agree_ = false;
        return std::nullopt;
    }
    return ordinal;
}

bool StoredHeaders::goesOnAfter(std::size_t entriesSeen) const
{
    return !lastVolumeEnds_ || entriesSeen < files_.size();
}

} // namespace zk::unrar
