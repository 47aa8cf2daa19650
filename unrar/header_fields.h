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

// Fills the caller's header from libarchive's entry and, where it was
// matched, the archive's own header for the fields libarchive lacks.
void fillHeader(RARHeaderData& header, const std::string& volume, struct archive_entry* entry,
                const StoredFileHeader* stored);

}  // namespace zk::unrar
