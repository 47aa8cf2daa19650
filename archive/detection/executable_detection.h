#pragma once

#include "archive/detection/archive_source.h"
#include "archive/detection/detection.h"

#include <cstdint>

// Finds the archive inside an executable of size bytes whose first bytes are
// header: at a position its string table names, behind its old-style image,
// through a ZIP end record, or behind its PE sections, in that order.
// result.type stays atUnknown when none of them holds an archive.
void DetectExecutable(ArchiveSource& source, int64_t size, int32_t commentAllowance,
                      const uint8_t* header, Detection& result);
