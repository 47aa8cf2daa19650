#pragma once

#include "archive/detection/archive_source.h"
#include "archive/detection/detection.h"
#include "base/path_style.h"

#include <cstdint>
#include <string>

// Identifies the format of the file at path (the leading bytes, an archive
// inside an executable, the extension for UUE and TAR). Reads only a bounded
// amount; throws EInOutError when a read fails with an input/output error,
// after the file has been closed.
void DetectArchive(const std::string& path, int32_t commentAllowance, Detection& result,
                   PathStyle style = kNativePathStyle);

// The same on an open source; name gives the extension for the fallback.
void DetectArchiveIn(ArchiveSource& source, const std::string& name, int32_t commentAllowance,
                     Detection& result, PathStyle style = kNativePathStyle);

// Starting from 0, each "0".."7" multiplies by 8 and adds the digit; every
// other character is skipped.
int32_t OctalToInt(const std::string& text);

// All extensions that the fallback by name knows, one constant string.
inline constexpr const char* kArchiveExtensions =
    ".UUE.XXE.ENC.TAR.ZIP.ZOO.Z.GZ.LHA.LZH.ARC.ARJ.BH.PAK.CAB.RAR";

// The three characters following the first occurrence of ext (upper case,
// with its "."), or "" when ext is empty or not in the list.
std::string ExtensionKey(const std::string& ext);
