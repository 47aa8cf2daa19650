#include "unrar/header_fields.h"

#include "unrar/dos_time.h"

#include <archive_entry.h>
#include <sys/stat.h>

#include <cstring>

namespace zk::unrar {
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

}  // namespace

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

void fillHeader(RARHeaderData& header, const std::string& volume, struct archive_entry* entry,
                const StoredFileHeader* stored) {
    copyName(header.ArcName, volume.c_str());
    copyName(header.FileName, pathnameOf(entry));
    const mode_t mode = archive_entry_mode(entry);
    header.Flags = 0;
    if (S_ISDIR(mode))
        header.Flags |= RHDF_DIRECTORY;
    if (archive_entry_is_data_encrypted(entry) > 0)
        header.Flags |= RHDF_ENCRYPTED;
    const auto size = static_cast<std::uint64_t>(archive_entry_size(entry));
    header.UnpSize = static_cast<unsigned>(size & 0xFFFFFFFFu);
    header.HostOS = RAR_HOST_UNIX;
    header.FileAttr = mode;
    header.FileTime = dosTimeFromUnix(archive_entry_mtime(entry));
    header.PackSize = 0;  // unknown to libarchive
    header.FileCRC = 0;
    header.UnpVer = 0;
    header.Method = 0;
    if (stored != nullptr) {
        header.Flags |= stored->flags & (RHDF_SPLITAFTER | RHDF_ENCRYPTED | RHDF_SOLID);
        header.HostOS = stored->host;
        header.FileAttr = stored->attr;
        header.FileTime = stored->dosTime.value_or(header.FileTime);
        header.PackSize = static_cast<unsigned>(stored->packSize & 0xFFFFFFFFu);
        header.FileCRC = stored->crc.value_or(0);
        header.UnpVer = stored->unpVer;
        header.Method = stored->method;
    }
    header.CmtSize = 0;
    header.CmtState = 0;
}

}  // namespace zk::unrar
