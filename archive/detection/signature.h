#pragma once

#include "archive/arc_type.h"

#include <array>
#include <cstdint>

enum class SignaturePosition { StartOfFile, InsideExecutable };

// Classifies the four bytes found at a candidate archive start. atNA inside
// an executable is a final answer: the search stops there.
TArcType ClassifySignature(const std::array<uint8_t, 4>& bytes, SignaturePosition position);

// Where row "B7 92 / B7 DF" puts the archive data.
inline constexpr int64_t kArcExeDataOffset = 7717;
