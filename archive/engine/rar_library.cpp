#include "archive/engine/rar_library.h"

#include <dlfcn.h>

#include <optional>
#include <utility>

namespace {

DlLibrary boundLibrary;
bool libraryLoaded = false;
RarEntryPoints entryPoints;

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
        DlLibrary library(dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL));
        if (!library)
            continue;
        const std::optional<RarEntryPoints> points = ResolveRarEntryPoints(library.get());
        if (!points)
            return false; // the library is released again on the way out
        boundLibrary = std::move(library);
        entryPoints = *points;
        libraryLoaded = true;
        return true;
    }
    return false;
}

void ReleaseRarLibrary() noexcept
{
    boundLibrary.reset(); // a failing unload changes nothing for us
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
