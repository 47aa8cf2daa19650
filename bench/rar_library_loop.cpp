// The bare peer of the engine benchmark: the RAR library driven directly by
// the shortest loop its interface allows (open, read a header, extract it
// into the target folder, until the end), with no engine, events or checks
// around it. Headers are read through the extended record, cleared once:
// the public library's plain read zero-fills a whole extended record of
// about 14 KB for every entry, the largest share of its cost per entry.
// Each entry's destination name is handed as the engine hands it: given only
// the folder, the project's library checks every path it builds itself
// against the folder's real path, which doubles its cost per entry.
//
// usage: rar_library_loop LIBRARY ARCHIVE DESTDIR
// Exit status 0 when every entry was extracted, 1 otherwise, 2 for bad use.
#include "base/local_time_zone.h"
#include "unrar/rar_entry_points.h"

#include <dlfcn.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

int main(int argc, char** argv)
{
    // Names reach the library as UTF-8 and times are converted in a named
    // zone, as in the programs that run the engine.
    std::setlocale(LC_CTYPE, "C.UTF-8");
    PinLocalTimeZone();
    if (argc != 4) {
        std::fprintf(stderr, "usage: rar_library_loop LIBRARY ARCHIVE DESTDIR\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "rar_library_loop: %s\n", dlerror());
        return 2;
    }
    const std::optional<RarEntryPoints> rar = ResolveRarEntryPoints(library);
    if (!rar) {
        std::fprintf(stderr, "rar_library_loop: %s lacks an entry point\n", argv[1]);
        return 2;
    }
    std::string archiveName = argv[2];
    std::string destDir = std::string(argv[3]) + "/";
    RAROpenArchiveData open{};
    open.ArcName = archiveName.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* archive = rar->RAROpenArchive(&open);
    if (open.OpenResult != ERAR_SUCCESS) {
        std::fprintf(stderr, "rar_library_loop: open answers %u\n", open.OpenResult);
        return 1;
    }
    RARHeaderDataEx header{};
    RARHeaderData plain{};
    auto readHeader = [&] {
        if (rar->RARReadHeaderEx)
            return rar->RARReadHeaderEx(archive, &header);
        const int code = rar->RARReadHeader(archive, &plain);
        std::memcpy(header.FileName, plain.FileName, sizeof plain.FileName);
        return code;
    };
    std::string destName;
    int failures = 0;
    int result;
    while ((result = readHeader()) == ERAR_SUCCESS) {
        destName.assign(destDir).append(header.FileName);
        if (const int code =
                rar->RARProcessFile(archive, RAR_EXTRACT, destDir.data(), destName.data());
            code != ERAR_SUCCESS) {
            std::fprintf(stderr, "rar_library_loop: %s answers %d\n", header.FileName, code);
            ++failures;
        }
    }
    rar->RARCloseArchive(archive);
    if (result != ERAR_END_ARCHIVE) {
        std::fprintf(stderr, "rar_library_loop: header read answers %d\n", result);
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
