#include "archive/rar_header.h"

#include <cstring>

namespace {

void copyPlainHeader(const RARHeaderData& plain, RARHeaderDataEx& ex)
{
    std::memcpy(ex.ArcName, plain.ArcName, sizeof plain.ArcName);
    std::memcpy(ex.FileName, plain.FileName, sizeof plain.FileName);
    ex.Flags = plain.Flags;
    ex.PackSize = plain.PackSize;
    ex.UnpSize = plain.UnpSize;
    ex.HostOS = plain.HostOS;
    ex.FileCRC = plain.FileCRC;
    ex.FileTime = plain.FileTime;
    ex.UnpVer = plain.UnpVer;
    ex.Method = plain.Method;
    ex.FileAttr = plain.FileAttr;
}

} // namespace

int ReadRarHeader(const RarEntryPoints& library, void* archive, RarHeader& header)
{
    if (library.RARReadHeaderEx) {
        header.nameFieldSize = RAR_NAME_SIZE_EX;
        return library.RARReadHeaderEx(archive, &header.data);
    }
    RARHeaderData plain{};
    header.nameFieldSize = RAR_NAME_SIZE;
    const int result = library.RARReadHeader(archive, &plain);
    copyPlainHeader(plain, header.data);
    return result;
}

uint64_t UnpackedSize(const RarHeader& header)
{
    return (static_cast<uint64_t>(header.data.UnpSizeHigh) << 32) | header.data.UnpSize;
}

bool NameMayBeCut(const RarHeader& header)
{
    constexpr std::size_t kLongestUtf8Character = 4;
    return strnlen(header.data.FileName, header.nameFieldSize) >=
           header.nameFieldSize - kLongestUtf8Character;
}
