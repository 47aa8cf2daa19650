#pragma once

#include "tools/package_check/package_problem.h"

#include "config/ini_file.h"

#include <QStringList>

// Every key setup reads from install.ini. A new key is one more line in
// known_keys.cpp; check-package then takes it as known.
const QStringList& knownKeys();

// The section setup reads must be there, and each key in it should be one
// setup reads: a misspelled key is named with the key it was probably meant
// to be. An error when that key is not set otherwise (its value is lost), a
// warning for a key setup simply ignores. False when the section has no key
// at all: setup then reads nothing, and nothing more is worth checking.
bool checkKeyNames(const IniFile& ini, PackageProblems& problems);
