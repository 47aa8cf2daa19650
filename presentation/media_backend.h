#pragma once

#include <functional>
#include <memory>
#include <string>

// The platform's media layer as the music player uses it. Errors are thrown
// as Exception with a text a user understands.
class MediaBackend {
public:
    // How a playback ended, as the completion notice reports it.
    enum class Notice { Successful, Superseded, Aborted, Failure };

    virtual ~MediaBackend() = default;

    // Opens the file by name, choosing the decoder from the file; an empty
    // name is an error of its own ("no file given").
    virtual void open(const std::string& fileName) = 0;
    // Winds back to the start; failures are silent.
    virtual void seekToStart() = 0;
    // True when the position equals the length (an empty or finished piece).
    virtual bool atEnd() const = 0;
    // Starts playing in the background and returns at once. `done` is called
    // exactly once, on the GUI thread, when playback ends; false when the
    // play request itself failed (then `done` is never called).
    virtual bool play(std::function<void(Notice)> done) = 0;
    // Stops and releases the device.
    virtual void close() = 0;
};

using MediaBackendFactory = std::function<std::unique_ptr<MediaBackend>()>;

// The back end the program's players are made with; tests install their own.
std::unique_ptr<MediaBackend> createMediaBackend();
// Replaces the factory; an empty one restores the program's own back end.
void setMediaBackendFactory(MediaBackendFactory factory);
