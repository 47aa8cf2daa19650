#include "archive/engine/rar_entry.h"

#include "archive/engine/rar_messages.h"

#include <algorithm>
#include <cstring>

namespace {

bool fromDosLikeHost(const RARHeaderDataEx& header)
{
    return header.HostOS == RAR_HOST_MSDOS || header.HostOS == RAR_HOST_OS2 ||
           header.HostOS == RAR_HOST_WIN32;
}

} // namespace

std::string StoredEntryName(const RARHeaderDataEx& header)
{
    std::string name;
    AssignStoredEntryName(header, name);
    return name;
}

void AssignStoredEntryName(const RARHeaderDataEx& header, std::string& name)
{
    name.assign(header.FileName, strnlen(header.FileName, sizeof header.FileName));
    if (fromDosLikeHost(header))
        std::replace(name.begin(), name.end(), '\\', '/');
}

bool IsFolderEntry(const RARHeaderDataEx& header)
{
    return (header.Flags & RHDF_DIRECTORY) != 0;
}

unsigned int EntryPermissions(const RARHeaderDataEx& header, unsigned int umask)
{
    constexpr unsigned int kReadOnlyAttribute = 0x01;
    unsigned int permissions = 0;
    if (header.HostOS == RAR_HOST_UNIX)
        permissions = header.FileAttr & 0777;
    else if (fromDosLikeHost(header) && (header.FileAttr & kReadOnlyAttribute))
        permissions = IsFolderEntry(header) ? 0555 : 0444;
    else
        permissions = IsFolderEntry(header) ? 0777 : 0666;
    return permissions & ~umask;
}

bool IsLinkEntry(const RARHeaderDataEx& header)
{
    switch (header.RedirType) {
    case RAR_REDIR_UNIXSYMLINK:
    case RAR_REDIR_WINSYMLINK:
    case RAR_REDIR_JUNCTION:
        return true;
    default:
        return header.HostOS == RAR_HOST_UNIX && (header.FileAttr & 0xF000) == 0xA000;
    }
}

bool HasParentComponent(const std::string& name)
{
    // Asked of every entry: most names hold no "..", which the C library
    // finds fastest; the others are scanned once in place.
    if (name.find("..") == std::string::npos)
        return false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != '/' && name[i] != '\\')
            continue;
        if (i - start == 2 && name[start] == '.' && name[start + 1] == '.')
            return true;
        start = i + 1;
    }
    return false;
}

int32_t MessageForRarCode(int code)
{
    switch (code) {
    case ERAR_NO_MEMORY:
        return kMsgOutOfMemory;
    case ERAR_BAD_DATA:
        return kMsgBadFileHeader;
    case ERAR_BAD_ARCHIVE:
    case ERAR_UNKNOWN_FORMAT:
        return kMsgInvalidArchiveType;
    case ERAR_EOPEN:
        return kMsgErrorOpeningFile;
    case ERAR_ECREATE:
    case ERAR_EWRITE:
        return kMsgErrorWritingFile;
    case ERAR_ECLOSE:
        return kMsgErrorClosingFile;
    case ERAR_EREAD:
        return kMsgErrorReadingFile;
    case ERAR_MISSING_PASSWORD:
    case ERAR_BAD_PASSWORD:
        return kMsgPasswordProtected;
    default:
        return 0;
    }
}
