#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A whole text as a signed 32-bit integer: optional leading spaces, an
// optional sign, then decimal digits or "$" and hexadecimal digits. Nothing
// for anything else, an empty text or a value out of range.
std::optional<int32_t> StringToInt(const std::string& text);
