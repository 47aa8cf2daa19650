#include "archive/rar_entry.h"

#include "archive/rar_messages.h"

#include <cstring>
#include <vector>

namespace {

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::vector<std::string> components(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + "/") {
        if (c == '/' || c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

} // namespace

std::string CleanEntryName(const RARHeaderDataEx& header)
{
    const char* field = header.FileName;
    const size_t length = strnlen(field, sizeof header.FileName);
    size_t begin = 0;
    size_t end = length;
    while (begin < end && isBlankOrControl(field[begin]))
        ++begin;
    while (end > begin && isBlankOrControl(field[end - 1]))
        --end;
    return std::string(field + begin, end - begin);
}

bool IsFolderEntry(const RARHeaderDataEx& header)
{
    if (header.Flags & RHDF_DIRECTORY)
        return true;
    switch (header.HostOS) {
    case RAR_HOST_MSDOS:
    case RAR_HOST_OS2:
    case RAR_HOST_WIN32:
        return (header.FileAttr & 0x10) != 0;
    case RAR_HOST_UNIX:
        return (header.FileAttr & 0xF000) == 0x4000;
    default:
        return false;
    }
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
    for (const std::string& part : components(name)) {
        if (part == "..")
            return true;
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
