#pragma once

#include <cstdint>
#include <optional>
#include <string>

// How far "$" hexadecimal reaches. Callers differ: the archive detector wants
// a signed value, the configuration and the dialogs take raw 32-bit patterns,
// and the dialogs allow no sign before "$".
struct IntegerSyntax {
    bool signedHex = true;   // a sign may stand before "$"
    bool hexAllBits = false; // "$" fills 32 bits; 80000000 and above are negative
};

// A whole text as a signed 32-bit integer: optional leading spaces, an
// optional sign, then decimal digits or "$" and hexadecimal digits. Nothing
// for anything else, an empty text or a value out of range.
std::optional<int32_t> StringToInt(const std::string& text, IntegerSyntax syntax = {});
