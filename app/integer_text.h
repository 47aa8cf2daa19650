#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Integers written as text, in the syntax the configuration uses: optional
// leading blanks, an optional "+" or "-", then decimal digits or "$" and
// hexadecimal digits. Hexadecimal takes up to 32 bits (80000000 and above
// become negative); decimal must fit a signed 32-bit integer.
std::optional<std::int32_t> TryStrToInt(const QString& text);

// Throws Exception "'<text>' is not a valid integer value" when the text
// does not convert.
std::int32_t StrToInt(const QString& text);

std::int32_t StrToIntDef(const QString& text, std::int32_t fallback);
