#pragma once

#include "unrar/rar_entry_points.h"

#include <string>
#include <vector>

// Where the library is looked for, first to last: a name with a "/" is loaded
// from exactly that file, a bare name through the system's library search.
using RarLibraryLocation = std::vector<std::string>;

// libunrar.so in the given folder, then the system's public library by its
// versioned name (libunrar.so.5), then libunrar.so, both through the system's
// library search.
RarLibraryLocation DefaultRarLibraryLocation(const std::string& exeFolder);

// Binds the process-wide library from the first candidate that loads. A
// library lacking any of the seven names is released again and counts as not
// loaded. Nothing is reported; a run started later reports the missing library.
// Binding again releases the previous library first.
bool BindRarLibrary(const RarLibraryLocation& location);

// Releases the library, if one is bound; nothing that goes wrong is reported.
void ReleaseRarLibrary() noexcept;

bool RarLibraryLoaded();

// Valid only while RarLibraryLoaded().
const RarEntryPoints& RarLibrary();

// Binds at construction and releases at destruction: program start and end.
class RarLibraryBinding {
public:
    explicit RarLibraryBinding(const RarLibraryLocation& location) { BindRarLibrary(location); }
    ~RarLibraryBinding() { ReleaseRarLibrary(); }
    RarLibraryBinding(const RarLibraryBinding&) = delete;
    RarLibraryBinding& operator=(const RarLibraryBinding&) = delete;
};
