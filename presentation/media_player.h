#pragma once

#include "presentation/media_backend.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

// The main window's music control: a file name, Open, Rewind, Play and Close
// over the media back end, and one completion notice per play delivered to
// OnNotify on the GUI thread.
class TMediaPlayer : public QWidget {
    Q_OBJECT
public:
    explicit TMediaPlayer(QWidget* parent = nullptr);
    ~TMediaPlayer() override;

    std::string FileName;
    std::function<void()> OnNotify;

    void Open();
    void Rewind();
    void Play();
    void Close();

    bool IsOpen() const { return open_; }
    MediaBackend::Notice NotifyValue() const { return notifyValue_; }
    // Whether the last play request was accepted; a refused one is silent.
    bool PlayStarted() const { return playStarted_; }

private:
    void requireOpen() const;

    std::unique_ptr<MediaBackend> backend_;
    bool open_ = false;
    bool playStarted_ = false;
    MediaBackend::Notice notifyValue_ = MediaBackend::Notice::Successful;
};
