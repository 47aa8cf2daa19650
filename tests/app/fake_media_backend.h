#pragma once

#include "base/exception.h"
#include "presentation/media_backend.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A media back end that records the player's commands instead of playing.
struct MediaLog {
    std::vector<std::string> calls;
    std::string openedFile;
    std::string openError; // thrown by open when not empty
    std::function<void(MediaBackend::Notice)> done;
};

class FakeMediaBackend final : public MediaBackend {
public:
    explicit FakeMediaBackend(MediaLog& log) : log_(log) {}
    void open(const std::string& fileName) override
    {
        log_.calls.push_back("open");
        if (!log_.openError.empty())
            throw Exception(log_.openError);
        log_.openedFile = fileName;
    }
    void seekToStart() override { log_.calls.push_back("rewind"); }
    bool atEnd() const override { return false; }
    bool play(std::function<void(Notice)> done) override
    {
        log_.calls.push_back("play");
        log_.done = std::move(done);
        return true;
    }
    void close() override { log_.calls.push_back("close"); }

private:
    MediaLog& log_;
};

// Installs fake back ends writing to `log` for as long as it lives.
class FakeMediaScope {
public:
    explicit FakeMediaScope(MediaLog& log)
    {
        setMediaBackendFactory([&log] { return std::make_unique<FakeMediaBackend>(log); });
    }
    ~FakeMediaScope() { setMediaBackendFactory({}); }
    FakeMediaScope(const FakeMediaScope&) = delete;
    FakeMediaScope& operator=(const FakeMediaScope&) = delete;
};
