#pragma once

#include <QImage>
#include <QString>

// A packager brands an installer folder without a rebuild by putting PNG files
// beside `setup` under the built-in artwork's file names (header.png,
// install.png, install_lit.png, ...). For a built-in artwork resource this
// returns the picture beside the executable when it reads as a PNG, otherwise
// the built-in one. Any other path is loaded as it is.
QImage artworkImage(const QString& path);
