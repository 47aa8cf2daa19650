#include "presentation/sdl_media_backend.h"

#include "archive/exception.h"

namespace {
// Until the SDL2_mixer back end lands: every open fails with a clear text.
class NoMediaBackend final : public MediaBackend {
public:
    void open(const std::string&) override { throw Exception("No music back end is available"); }
    void seekToStart() override {}
    bool atEnd() const override { return true; }
    bool play(std::function<void(Notice)>) override { return false; }
    void close() override {}
};
} // namespace

std::unique_ptr<MediaBackend> createSdlMediaBackend()
{
    return std::make_unique<NoMediaBackend>();
}
