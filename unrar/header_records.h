#pragma once

#include "unrar/rar_interface.h"

// The fields the plain and the extended header record share besides the
// names, copied either way: the engine fills an extended record from a
// library that has only the plain read, and the project's library answers
// the plain read from its extended record.
template <class To, class From>
void CopySharedHeaderFields(const From& from, To& to)
{
    to.Flags = from.Flags;
    to.PackSize = from.PackSize;
    to.UnpSize = from.UnpSize;
    to.HostOS = from.HostOS;
    to.FileCRC = from.FileCRC;
    to.FileTime = from.FileTime;
    to.UnpVer = from.UnpVer;
    to.Method = from.Method;
    to.FileAttr = from.FileAttr;
}
