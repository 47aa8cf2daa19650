#pragma once

#include "base/string_to_int.h"

#include <QString>

#include <cstdint>

// Both fill 32 bits with "$" hexadecimal; they differ only in whether a sign
// may stand before "$". A sign may: the configuration's integers.
inline constexpr IntegerSyntax kSignBeforeDollar{.signedHex = true, .hexAllBits = true};
// No sign before "$": the space an install needs.
inline constexpr IntegerSyntax kNoSignBeforeDollar{.signedHex = false, .hexAllBits = true};

// Throws Exception "'<text>' is not a valid integer value" when the text
// does not convert.
std::int32_t StrToInt(const QString& text, IntegerSyntax syntax);

std::int32_t StrToIntDef(const QString& text, std::int32_t fallback, IntegerSyntax syntax);
