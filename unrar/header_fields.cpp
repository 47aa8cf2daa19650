#include "unrar/header_fields.h"

#include "unrar/dos_time.h"
#include "unrar/header_records.h"

#include <archive_entry.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

namespace zk::unrar {
namespace {

// Copies text into a fixed name field, cut at a character boundary to fit.
template <std::size_t N>
void copyName(char (&field)[N], const char* text)
{
    std::size_t size = text == nullptr ? 0 : std::strlen(text);
    if (size >= N) {
        size = N - 1;
        while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
            --size;
    }
    if (size > 0)
        std::memcpy(field, text, size);
    field[size] = '\0';
}

// The wide form of a UTF-8 name (the exported calls run in a UTF-8 locale),
// cut to fit; empty when the text does not convert.
void copyWideName(wchar_t* field, std::size_t capacity, const char* text)
{
    const std::size_t length =
        text == nullptr ? static_cast<std::size_t>(-1) : std::mbstowcs(field, text, capacity - 1);
    field[length == static_cast<std::size_t>(-1) ? 0 : length] = L'\0';
}

unsigned low32(std::uint64_t value)
{
    return static_cast<unsigned>(value & 0xFFFFFFFFu);
}
unsigned high32(std::uint64_t value)
{
    return static_cast<unsigned>(value >> 32);
}

} // namespace

const char* pathnameOf(struct archive_entry* entry)
{
    const char* name = archive_entry_pathname_utf8(entry);
    return name != nullptr ? name : archive_entry_pathname(entry);
}

const char* symlinkOf(struct archive_entry* entry)
{
    const char* target = archive_entry_symlink_utf8(entry);
    return target != nullptr ? target : archive_entry_symlink(entry);
}

const char* hardlinkOf(struct archive_entry* entry)
{
    const char* target = archive_entry_hardlink_utf8(entry);
    return target != nullptr ? target : archive_entry_hardlink(entry);
}

void fillHeader(RARHeaderDataEx& header, const std::string& volume, struct archive_entry* entry,
                const StoredFileHeader* stored)
{
    copyName(header.ArcName, volume.c_str());
    copyWideName(header.ArcNameW, RAR_NAME_SIZE_EX, volume.c_str());
    copyName(header.FileName, pathnameOf(entry));
    copyWideName(header.FileNameW, RAR_NAME_SIZE_EX, pathnameOf(entry));
    const mode_t mode = archive_entry_mode(entry);
    header.Flags = 0;
    if (S_ISDIR(mode))
        header.Flags |= RHDF_DIRECTORY;
    if (archive_entry_is_data_encrypted(entry) > 0)
        header.Flags |= RHDF_ENCRYPTED;
    const auto size = static_cast<std::uint64_t>(archive_entry_size(entry));
    header.UnpSize = low32(size);
    header.UnpSizeHigh = high32(size);
    header.HostOS = RAR_HOST_UNIX;
    header.FileAttr = mode;
    header.FileTime = dosTimeFromUnix(archive_entry_mtime(entry));
    header.PackSize = 0; // unknown to libarchive
    header.PackSizeHigh = 0;
    header.FileCRC = 0;
    header.UnpVer = 0;
    header.Method = 0;
    if (stored != nullptr) {
        // The header's own flag, not libarchive's reading of the attributes.
        header.Flags &= ~unsigned{RHDF_DIRECTORY};
        header.Flags |= stored->folder ? RHDF_DIRECTORY : 0;
        header.Flags |= stored->flags & (RHDF_SPLITAFTER | RHDF_ENCRYPTED | RHDF_SOLID);
        header.HostOS = stored->host;
        header.FileAttr = stored->attr;
        header.FileTime = stored->dosTime.value_or(header.FileTime);
        header.PackSize = low32(stored->packSize);
        header.PackSizeHigh = high32(stored->packSize);
        header.FileCRC = stored->crc.value_or(0);
        header.UnpVer = stored->unpVer;
        header.Method = stored->method;
    }
    header.CmtSize = 0;
    header.CmtState = 0;
    const char* linkTarget = symlinkOf(entry);
    header.RedirType = S_ISLNK(mode)                  ? RAR_REDIR_UNIXSYMLINK
                       : hardlinkOf(entry) != nullptr ? RAR_REDIR_HARDLINK
                                                      : RAR_REDIR_NONE;
    if (header.RedirName != nullptr && header.RedirNameSize > 0)
        copyWideName(header.RedirName, header.RedirNameSize,
                     S_ISLNK(mode) ? linkTarget : hardlinkOf(entry));
}

void copyToPlainHeader(const RARHeaderDataEx& full, RARHeaderData& plain)
{
    copyName(plain.ArcName, full.ArcName);
    copyName(plain.FileName, full.FileName);
    CopySharedHeaderFields(full, plain);
    plain.CmtSize = 0;
    plain.CmtState = 0;
}

} // namespace zk::unrar
