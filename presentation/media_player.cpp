#include "presentation/media_player.h"

#include "base/exception.h"

TMediaPlayer::TMediaPlayer(QWidget* parent) : QWidget(parent), backend_(createMediaBackend())
{
    setEnabled(false);
}

TMediaPlayer::~TMediaPlayer()
{
    Close();
}

void TMediaPlayer::Open()
{
    // A new open replaces the device; if it fails, none is open.
    Close();
    backend_->open(FileName);
    open_ = true;
}

void TMediaPlayer::Rewind()
{
    requireOpen();
    backend_->seekToStart();
}

void TMediaPlayer::Play()
{
    requireOpen();
    if (backend_->atEnd())
        backend_->seekToStart();
    playStarted_ = backend_->play([this](MediaBackend::Notice notice) {
        notifyValue_ = notice;
        if (OnNotify)
            OnNotify();
    });
}

void TMediaPlayer::Close()
{
    if (!open_)
        return;
    open_ = false;
    backend_->close();
}

void TMediaPlayer::requireOpen() const
{
    if (!open_)
        throw Exception("No MCI device open");
}
