#pragma once

#include "unrar/rar_interface.h"

#include <cstdint>
#include <string>

// The entry's name as stored: the name field up to its first zero byte, every
// blank kept. Only names from DOS, OS/2 and Windows hosts use "\" between
// folders; it becomes "/" there. On a Unix host "\" is a character of the name.
std::string StoredEntryName(const RARHeaderDataEx& header);
// The same into `name`, whose buffer is kept from entry to entry.
void AssignStoredEntryName(const RARHeaderDataEx& header, std::string& name);

// Folder entries by the header's directory flag alone: an attribute word that
// looks like a folder's (DOS 0x10, a Unix mode 040000) does not make a file
// entry a folder.
bool IsFolderEntry(const RARHeaderDataEx& header);

// The permission bits an entry is given: the stored Unix mode, or for the
// other hosts 0666 (0777 for a folder) without write bits when the read-only
// attribute is set; never set-user-ID, set-group-ID or sticky, and always
// with the user's umask applied.
unsigned int EntryPermissions(const RARHeaderDataEx& header, unsigned int umask);

// Symbolic links and junctions, by the redirection kind or by a Unix mode.
bool IsLinkEntry(const RARHeaderDataEx& header);

// True when the name, read with "\" as "/", has a ".." component.
bool HasParentComponent(const std::string& name);

// The message number that reports a library result code; 0 when none does.
int32_t MessageForRarCode(int code);
