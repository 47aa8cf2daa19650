#pragma once

#include <QFont>

// The windows' layout font, "MS Sans Serif" 8 points at 96 pixels per inch:
// 11 pixels high, a 13-pixel line. Liberation Sans has the closest metrics
// among Debian's fonts.
QFont layoutFont();

// The layout font at a size in points, converted at 96 pixels per inch.
// Size 0 means the font's default size; a negative size counts like its
// amount; very large sizes are capped so that no text grows beyond reason.
QFont layoutFontAtPoints(int points);
