#pragma once

#include "archive/engine/rar_library.h"

#include <cstddef>
#include <cstdint>

// One entry's header as the engine sees it: read through the extended record
// where the bound library exports it (1024-byte names, 64-bit sizes, the kind
// of link), otherwise through the plain record and copied into the same form.
struct RarHeader {
    RARHeaderDataEx data{};
    // Size of the name field the library filled, terminating zero included.
    std::size_t nameFieldSize = RAR_NAME_SIZE_EX;
};

// Reads the next header into the same record, entry after entry; answers the
// library's result code. Only the names and the fixed fields are cleared
// first, not the whole 14 KB, which cost more than the rest of the read.
int ReadRarHeader(const RarEntryPoints& library, void* archive, RarHeader& header);

// The entry's unpacked size; only the low 32 bits through the plain record.
uint64_t UnpackedSize(const RarHeader& header);

// True when the stored name (nearly) fills its field: the library cuts what
// does not fit, at a character boundary, so a name that comes within one
// UTF-8 character of the field's end cannot be trusted to be whole.
// `nameLength` is the name's length as read from the record (up to its first
// zero, at most the whole record's field).
bool NameMayBeCut(const RarHeader& header, std::size_t nameLength);
