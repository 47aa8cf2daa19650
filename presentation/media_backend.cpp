#include "presentation/media_backend.h"

#include "presentation/sdl_media_backend.h"

namespace {
MediaBackendFactory& installedFactory()
{
    static MediaBackendFactory factory;
    return factory;
}
} // namespace

std::unique_ptr<MediaBackend> createMediaBackend()
{
    if (installedFactory())
        return installedFactory()();
    return createSdlMediaBackend();
}

void setMediaBackendFactory(MediaBackendFactory factory)
{
    installedFactory() = std::move(factory);
}
