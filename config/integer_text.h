#pragma once

#include "archive/string_to_int.h"

#include <QString>

#include <cstdint>

// "$" after an optional sign, filling 32 bits: the configuration's integers.
inline constexpr IntegerSyntax kSignedHexBits{.signedHex = true, .hexAllBits = true};
// "$" only without a sign, filling 32 bits: the space an install needs.
inline constexpr IntegerSyntax kUnsignedHexBits{.signedHex = false, .hexAllBits = true};

// Throws Exception "'<text>' is not a valid integer value" when the text
// does not convert.
std::int32_t StrToInt(const QString& text, IntegerSyntax syntax);

std::int32_t StrToIntDef(const QString& text, std::int32_t fallback, IntegerSyntax syntax);
