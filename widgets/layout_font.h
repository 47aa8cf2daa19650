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

// The height of one line of text in `font` as the windows lay it out. The
// design font counts 2 pixels of leading above its letters, a 13-pixel line
// at 11 pixels; Liberation Sans gives 12, so the missing leading is added,
// in the same share at every size.
int layoutLineHeight(const QFont& font);
