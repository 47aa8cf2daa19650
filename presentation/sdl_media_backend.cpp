#include "presentation/sdl_media_backend.h"

#include "base/exception.h"
#include "base/executable_path.h"

#include <QMetaObject>
#include <QObject>
#include <QtGlobal>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <filesystem>
#include <mutex>

std::string generalMidiSoundFont(const std::string& executableFolder)
{
    const std::filesystem::path bundled = std::filesystem::path(executableFolder) /
                                          std::filesystem::path(kGeneralMidiSoundFont).filename();
    std::error_code error;
    return std::filesystem::is_regular_file(bundled, error) ? bundled.string()
                                                            : kGeneralMidiSoundFont;
}

namespace {

const char* const kNoAudioDevice = "No audio device is available";

// The user reads plain words; what the mixer said goes to the error output
// for whoever looks into a failure.
void logDetail(const char* detail)
{
    qWarning("Music: %s", detail);
}

class SdlMediaBackend final : public MediaBackend {
public:
    ~SdlMediaBackend() override { close(); }

    void open(const std::string& fileName) override
    {
        close();
        checkFile(fileName);
        openDevice();
        // From an open stream the mixer chooses the type from the content, not
        // from the name, so a text file called .mid is refused.
        SDL_RWops* source = SDL_RWFromFile(fileName.c_str(), "rb");
        if (!source) {
            close();
            throw Exception("The music file " + fileName + " cannot be read");
        }
        music_ = Mix_LoadMUS_RW(source, SDL_TRUE);
        if (!music_) {
            logDetail(Mix_GetError());
            close();
            throw Exception("The music file " + fileName +
                            " cannot be played: its format is unknown or the file is damaged");
        }
        atEnd_ = Mix_MusicDuration(music_) == 0.0;
    }

    void seekToStart() override
    {
        if (!music_)
            return;
        // A stopped piece starts from its beginning at the next play anyway.
        if (Mix_PlayingMusic())
            Mix_RewindMusic();
        atEnd_ = Mix_MusicDuration(music_) == 0.0;
    }

    bool atEnd() const override { return atEnd_; }

    bool play(std::function<void(Notice)> done) override
    {
        if (!music_)
            return false;
        if (isActive() && Mix_PlayingMusic()) {
            // Like a second play command: the earlier request is superseded
            // and the piece goes on from where it is.
            deliver(Notice::Superseded);
            done_ = std::move(done);
            return true;
        }
        done_ = std::move(done);
        setActive(this);
        if (Mix_PlayMusic(music_, 1) != 0) {
            setActive(nullptr);
            done_ = nullptr;
            return false;
        }
        return true;
    }

    void close() override
    {
        if (!deviceOpen_)
            return;
        if (isActive()) {
            // Unhooked first, so halting raises no notice.
            setActive(nullptr);
            Mix_HaltMusic();
        }
        if (music_)
            Mix_FreeMusic(music_);
        music_ = nullptr;
        done_ = nullptr;
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        deviceOpen_ = false;
    }

private:
    static void checkFile(const std::string& fileName)
    {
        if (fileName.empty())
            throw Exception("No music file was given");
        std::error_code error;
        if (!std::filesystem::is_regular_file(fileName, error))
            throw Exception("The music file " + fileName + " does not exist");
    }

    void openDevice()
    {
        // SDL would otherwise turn SIGINT and SIGTERM into events nobody
        // reads, and the installer could no longer be stopped by them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            logDetail(SDL_GetError());
            throw Exception(kNoAudioDevice);
        }
        // The decoders stay loaded for the rest of the run.
        static const int decoders =
            Mix_Init(MIX_INIT_MID | MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_OPUS);
        Q_UNUSED(decoders);
        if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
            logDetail(Mix_GetError());
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            throw Exception(kNoAudioDevice);
        }
        Mix_SetSoundFonts(generalMidiSoundFont(ExecutableFolder()).c_str());
        deviceOpen_ = true;
    }

    // The mixer's finished hook is one global without user data; the back end
    // that is playing registers itself here, with the number of its play
    // request.
    static SdlMediaBackend*& active()
    {
        static SdlMediaBackend* backend = nullptr;
        return backend;
    }

    bool isActive() const
    {
        const std::lock_guard lock(activeMutex());
        return active() == this;
    }

    static std::mutex& activeMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    void setActive(SdlMediaBackend* backend)
    {
        Mix_HookMusicFinished(backend ? &musicFinished : nullptr);
        const std::lock_guard lock(activeMutex());
        active() = backend;
        ++playId_;
    }

    // Runs on the mixer's audio thread: hands the notice to the GUI thread.
    // The queued call dies with `notices_` if the back end is gone by then,
    // and a notice that belongs to an earlier play request is dropped.
    static void SDLCALL musicFinished()
    {
        const std::lock_guard lock(activeMutex());
        SdlMediaBackend* backend = active();
        if (!backend)
            return;
        QMetaObject::invokeMethod(
            &backend->notices_,
            [backend, id = backend->playId_] {
                if (id != backend->playId_)
                    return;
                backend->atEnd_ = true;
                backend->deliver(Notice::Successful);
            },
            Qt::QueuedConnection);
    }

    void deliver(Notice notice)
    {
        if (auto done = std::exchange(done_, nullptr))
            done(notice);
    }

    QObject notices_;
    Mix_Music* music_ = nullptr;
    std::function<void(Notice)> done_;
    bool deviceOpen_ = false;
    bool atEnd_ = false;
    std::uint64_t playId_ = 0;
};

} // namespace

std::unique_ptr<MediaBackend> createSdlMediaBackend()
{
    return std::make_unique<SdlMediaBackend>();
}
