#pragma once

#include "unrar/rar_interface.h"
#include "unrar/stored_header.h"

#include <string>

struct archive_entry;

namespace zk::unrar {

// An entry's names as libarchive reads them, UTF-8 where it can.
const char* pathnameOf(struct archive_entry* entry);
const char* symlinkOf(struct archive_entry* entry);
const char* hardlinkOf(struct archive_entry* entry);

// Fills the caller's extended header from libarchive's entry and, where it
// was matched, the archive's own header for the fields libarchive lacks. The
// fields the caller hands in (CmtBuf, RedirName and their sizes) stay its own.
void fillHeader(RARHeaderDataEx& header, const std::string& volume, struct archive_entry* entry,
                const StoredFileHeader* stored);

// The plain record's view of an extended header: names cut at a character
// boundary to fit its shorter fields, sizes to their low 32 bits.
void copyToPlainHeader(const RARHeaderDataEx& full, RARHeaderData& plain);

} // namespace zk::unrar
