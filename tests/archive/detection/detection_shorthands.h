#pragma once

// Shorthands of the detection tests: leading bytes of two archive types, and
// detection of bytes on disk or in memory.
#include "archive/detection/detect_arc_type.h"
#include "archive/zip_common.h"
#include "tests/archive/archive_files.h"
#include "tests/support/current_directory_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/archive/detection/memory_source.h"

#include <string>

namespace archive_files {

inline const Bytes kRar = FromText(std::string("Rar!\x1a\x07\x00", 7));
inline const Bytes kArj = {0x60, 0xEA, 0x10, 0x00};

inline TArcType detectFile(const std::string& name, const Bytes& bytes)
{
    TempFolder folder;
    CurrentDirectoryGuard keepDirectory;
    TZipCommon component(nullptr);
    component.SetArchiveFile(WriteBytes(folder / name, bytes));
    return component.ArcType();
}

inline Detection detectInMemory(const Bytes& bytes, const std::string& name = "x.bin",
                                int shrinkAfter = -1)
{
    MemorySource source(bytes, shrinkAfter);
    Detection result;
    DetectArchiveIn(source, name, 0, result);
    return result;
}

inline Bytes padded(Bytes bytes, size_t size, uint8_t fill = 'x')
{
    bytes.resize(size, fill);
    return bytes;
}

} // namespace archive_files
