#pragma once

#include <QString>

#include <cstdint>

// Converts a whole number: leading blanks, then an optional sign and decimal
// digits, or "$" and up to 32 bits of hexadecimal digits; nothing after the
// digits. Throws Exception "'TEXT' is not a valid integer value" otherwise.
int32_t WholeNumber(const QString& text);
