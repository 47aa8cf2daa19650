#pragma once

#include <QString>

// An installer folder carries the fonts its windows draw with in fonts/ beside
// `setup`, so text looks the same on a desktop that has none of them
// installed. Registers every font file found there with the application.
void registerBundledFonts(const QString& executableFolder);
