#pragma once

#include "unrar/rar_interface.h"

#include <cstdint>
#include <string>

// The entry's stored name: the name field up to its first zero byte, without
// leading and trailing blanks and control characters.
std::string CleanEntryName(const RARHeaderDataEx& header);

// Folder entries by the header flag, or by the attribute word read the way
// the entry's host system writes it (DOS attributes or a Unix mode).
bool IsFolderEntry(const RARHeaderDataEx& header);

// Symbolic links and junctions, by the redirection kind or by a Unix mode.
bool IsLinkEntry(const RARHeaderDataEx& header);

// True when the name, read with "\" as "/", has a ".." component.
bool HasParentComponent(const std::string& name);

// The message number that reports a library result code; 0 when none does.
int32_t MessageForRarCode(int code);
