#pragma once

#include <QFont>
#include <QStringList>

// The NFO text's font file: the fixed 5 x 8 raster font of xfonts-base, 8
// pixels of character height with a glyph of its own for every code page 437
// character, drawn pixel for pixel. Its narrow cells keep an 80-column NFO
// within the viewer's width.
inline constexpr const char* kNfoFontFileName = "5x8.pcf.gz";
inline constexpr const char* kNfoFontPackageFolder = "/usr/share/fonts/X11/misc";

// Where the font file is looked for, in order: in fonts/ beside the executable
// (an installer folder carries its own copy), then where its package installs it.
QStringList nfoFontFiles();

// The NFO text's font, from the first of nfoFontFiles() that loads. Without
// any, the platform's fixed-pitch font at the same height keeps the text
// readable.
QFont nfoFont();
