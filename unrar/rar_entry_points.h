#pragma once

// The RAR library's entry points as a loader binds them by name from a shared
// library it opened with dlopen. Header-only: whoever binds a library at run
// time (the installer, the tests, the benches) resolves the same names the
// same way without linking to any library of its own.

#include "unrar/rar_interface.h"

#include <dlfcn.h>

#include <memory>
#include <optional>

// The seven entry points of the RAR library, in the order they are bound, and
// the extended header read where the library exports it (null otherwise).
struct RarEntryPoints {
    RAROpenArchiveFn RAROpenArchive = nullptr;
    RARCloseArchiveFn RARCloseArchive = nullptr;
    RARReadHeaderFn RARReadHeader = nullptr;
    RARProcessFileFn RARProcessFile = nullptr;
    RARSetChangeVolProcFn RARSetChangeVolProc = nullptr;
    RARSetProcessDataProcFn RARSetProcessDataProc = nullptr;
    RARSetPasswordFn RARSetPassword = nullptr;
    RARReadHeaderExFn RARReadHeaderEx = nullptr;
};

namespace rar_entry_points_detail {

template <typename Fn>
bool resolve(void* dlHandle, const char* name, Fn& target)
{
    target = reinterpret_cast<Fn>(dlsym(dlHandle, name));
    return target != nullptr;
}

} // namespace rar_entry_points_detail

// Resolves the seven names in their fixed order: all of them or nothing. The
// extended header read is looked up last and may be missing.
inline std::optional<RarEntryPoints> ResolveRarEntryPoints(void* dlHandle)
{
    using rar_entry_points_detail::resolve;
    RarEntryPoints points;
    if (!resolve(dlHandle, "RAROpenArchive", points.RAROpenArchive) ||
        !resolve(dlHandle, "RARCloseArchive", points.RARCloseArchive) ||
        !resolve(dlHandle, "RARReadHeader", points.RARReadHeader) ||
        !resolve(dlHandle, "RARProcessFile", points.RARProcessFile) ||
        !resolve(dlHandle, "RARSetChangeVolProc", points.RARSetChangeVolProc) ||
        !resolve(dlHandle, "RARSetProcessDataProc", points.RARSetProcessDataProc) ||
        !resolve(dlHandle, "RARSetPassword", points.RARSetPassword))
        return std::nullopt;
    resolve(dlHandle, "RARReadHeaderEx", points.RARReadHeaderEx);
    return points;
}

// Owns a handle from dlopen and closes it once.
struct DlCloser {
    void operator()(void* dlHandle) const noexcept { dlclose(dlHandle); }
};
using DlLibrary = std::unique_ptr<void, DlCloser>;
