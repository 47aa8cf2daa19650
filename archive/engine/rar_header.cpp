#include "archive/engine/rar_header.h"

#include "unrar/header_records.h"

#include <cstddef>
#include <cstring>

namespace {

void copyPlainHeader(const RARHeaderData& plain, RARHeaderDataEx& ex)
{
    std::memcpy(ex.ArcName, plain.ArcName, sizeof plain.ArcName);
    std::memcpy(ex.FileName, plain.FileName, sizeof plain.FileName);
    CopySharedHeaderFields(plain, ex);
}

// The extended record is 14 KB, nearly all of it name fields and reserved
// space: zeroing it whole wrote 14 KB per entry for a few dozen bytes read.
// The fields between the names and the reserved space start zeroed and each
// name empty, all that can be read of a field a library leaves unset.
void clearHeader(RARHeaderDataEx& data)
{
    data.ArcName[0] = '\0';
    data.ArcNameW[0] = L'\0';
    data.FileName[0] = '\0';
    data.FileNameW[0] = L'\0';
    constexpr std::size_t from = offsetof(RARHeaderDataEx, Flags);
    std::memset(reinterpret_cast<char*>(&data) + from, 0,
                offsetof(RARHeaderDataEx, Reserved) - from);
}

} // namespace

int ReadRarHeader(const RarEntryPoints& library, void* archive, RarHeader& header)
{
    clearHeader(header.data);
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

bool NameMayBeCut(const RarHeader& header, std::size_t nameLength)
{
    // The field is never longer than the record's, so the name's length is
    // compared with the field's end as it stands; it is not measured again.
    constexpr std::size_t kLongestUtf8Character = 4;
    return nameLength >= header.nameFieldSize - kLongestUtf8Character;
}
