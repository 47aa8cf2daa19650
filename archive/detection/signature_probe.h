#pragma once

#include "archive/detection/archive_source.h"
#include "archive/detection/detection.h"
#include "archive/detection/signature.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The steps every detection path shares: reading a candidate archive start
// and recording what its bytes say.
using Four = std::array<uint8_t, 4>;

bool StartsWith(const uint8_t* p, size_t available, std::string_view signature);

// Four bytes at position, or nothing after a failed seek or a short read.
std::optional<Four> ReadFour(ArchiveSource& source, int64_t position);

// Sets result.type from bytes found at position and, for a known archive,
// result.archiveOffset to where its data starts.
void ClassifyAt(const Four& bytes, int64_t position, SignaturePosition kind, Detection& result);
