// The exported C entry points. No C++ exception may leave them.

#define RAR_INTERFACE_DECLARE_FUNCTIONS
#include "base/utf8_character_type.h"
#include "unrar/archive_handle.h"
#include "unrar/header_fields.h"
#include "unrar/rar_interface.h"

#include <new>

#define ZK_EXPORT __attribute__((visibility("default")))

namespace {

using zk::unrar::ArchiveHandle;

ArchiveHandle* handleOf(RAR_HANDLE h)
{
    return static_cast<ArchiveHandle*>(h);
}

template <typename Work>
int guarded(Work work)
{
    const ScopedUtf8CharacterType utf8;
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return ERAR_NO_MEMORY;
    } catch (...) {
        return ERAR_UNKNOWN;
    }
}

} // namespace

extern "C" {

ZK_EXPORT RAR_HANDLE RAROpenArchive(struct RAROpenArchiveData* data)
{
    if (data == nullptr)
        return nullptr;
    data->CmtSize = 0;
    data->CmtState = 0;
    RAR_HANDLE handle = nullptr;
    const int result = guarded([&] {
        unsigned code = ERAR_SUCCESS;
        handle = ArchiveHandle::open(data->ArcName, code).release();
        return static_cast<int>(code);
    });
    data->OpenResult = static_cast<unsigned>(result);
    return result == ERAR_SUCCESS ? handle : nullptr;
}

ZK_EXPORT int RARCloseArchive(RAR_HANDLE h)
{
    if (h == nullptr)
        return ERAR_ECLOSE;
    delete handleOf(h);
    return ERAR_SUCCESS;
}

ZK_EXPORT int RARReadHeaderEx(RAR_HANDLE h, struct RARHeaderDataEx* header)
{
    if (h == nullptr || header == nullptr)
        return ERAR_UNKNOWN;
    return guarded([&] { return handleOf(h)->readHeader(*header); });
}

ZK_EXPORT int RARReadHeader(RAR_HANDLE h, struct RARHeaderData* header)
{
    if (h == nullptr || header == nullptr)
        return ERAR_UNKNOWN;
    return guarded([&] {
        RARHeaderDataEx full{};
        const int result = handleOf(h)->readHeader(full);
        if (result == ERAR_SUCCESS)
            zk::unrar::copyToPlainHeader(full, *header);
        return result;
    });
}

ZK_EXPORT int RARProcessFile(RAR_HANDLE h, int operation, char* destPath, char* destName)
{
    if (h == nullptr)
        return ERAR_UNKNOWN;
    return guarded([&] { return handleOf(h)->processFile(operation, destPath, destName); });
}

ZK_EXPORT void RARSetChangeVolProc(RAR_HANDLE h, CHANGEVOLPROC callback)
{
    if (h != nullptr)
        handleOf(h)->setChangeVolumeCallback(callback);
}

ZK_EXPORT void RARSetProcessDataProc(RAR_HANDLE h, PROCESSDATAPROC callback)
{
    if (h != nullptr)
        handleOf(h)->setProcessDataCallback(callback);
}

ZK_EXPORT void RARSetPassword(RAR_HANDLE h, char* password)
{
    if (h != nullptr)
        handleOf(h)->setPassword(password);
}

ZK_EXPORT int RARGetDllVersion(void)
{
    return 10;
}

} // extern "C"
