#pragma once

#include <QImage>
#include <QString>

// What an installer folder may carry beside `setup` for its windows to draw
// with: fonts, and PNG files that replace the built-in artwork.

// The fonts in fonts/ beside `setup`, so text looks the same on a desktop
// that has none of them installed. Registers every font file found there
// with the application.
void registerBundledFonts(const QString& executableFolder);

// A packager brands an installer folder without a rebuild by putting PNG files
// beside `setup` under the built-in artwork's file names (header.png,
// install.png, install_lit.png, ...). For a built-in artwork resource this
// returns the picture beside the executable when it reads as a PNG, otherwise
// the built-in one. Any other path is loaded as it is.
QImage artworkImage(const QString& path);
