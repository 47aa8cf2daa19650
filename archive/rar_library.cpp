#include "archive/rar_library.h"

#include <dlfcn.h>

namespace {

void* libraryHandle = nullptr;
bool libraryLoaded = false;
RarEntryPoints entryPoints;

template <typename Fn>
bool resolve(void* handle, const char* name, Fn& target)
{
    target = reinterpret_cast<Fn>(dlsym(handle, name));
    return target != nullptr;
}

// Resolves the seven names in their fixed order; all of them or nothing.
bool resolveAll(void* handle, RarEntryPoints& points)
{
    return resolve(handle, "RAROpenArchive", points.RAROpenArchive)
        && resolve(handle, "RARCloseArchive", points.RARCloseArchive)
        && resolve(handle, "RARReadHeader", points.RARReadHeader)
        && resolve(handle, "RARProcessFile", points.RARProcessFile)
        && resolve(handle, "RARSetChangeVolProc", points.RARSetChangeVolProc)
        && resolve(handle, "RARSetProcessDataProc", points.RARSetProcessDataProc)
        && resolve(handle, "RARSetPassword", points.RARSetPassword);
}

} // namespace

RarLibraryLocation DefaultRarLibraryLocation(const std::string& exeFolder)
{
    RarLibraryLocation location;
    if (!exeFolder.empty())
        location.push_back(exeFolder + "/libunrar.so");
    location.push_back("libunrar.so.5"); // the system's public library, as installed
    location.push_back("libunrar.so");
    return location;
}

bool BindRarLibrary(const RarLibraryLocation& location)
{
    ReleaseRarLibrary();
    for (const std::string& candidate : location) {
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            continue;
        RarEntryPoints points;
        if (!resolveAll(handle, points)) {
            dlclose(handle);
            return false;
        }
        resolve(handle, "RARReadHeaderEx", points.RARReadHeaderEx);
        libraryHandle = handle;
        entryPoints = points;
        libraryLoaded = true;
        return true;
    }
    return false;
}

void ReleaseRarLibrary() noexcept
{
    if (libraryHandle)
        dlclose(libraryHandle); // a failing unload changes nothing for us
    libraryHandle = nullptr;
    libraryLoaded = false;
    entryPoints = {};
}

bool RarLibraryLoaded()
{
    return libraryLoaded;
}

const RarEntryPoints& RarLibrary()
{
    return entryPoints;
}
