#pragma once

#include <QString>

#include <cstdint>

// Colour values as the configuration writes them: hexadecimal digits of
// 0x00BBGGRR, red in the lowest byte. A value with the top bit set names the
// system colour numbered by its lowest byte.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clHighlightText = TColor(0x8000000E);

// The colour a configuration value names; throws Exception with
// "'$<value>' is not a valid integer value" when it is not 1 to 8
// significant hexadecimal digits.
TColor ColourFromText(const QString& value);
