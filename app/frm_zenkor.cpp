#include "app/frm_zenkor.h"

#include "presentation/media_player.h"

Tfrm_zenkor* frm_zenkor = nullptr;

Tfrm_zenkor::Tfrm_zenkor(QWidget* parent) : QWidget(parent), Music(new TMediaPlayer(this)) {}

void Tfrm_zenkor::FormCreate() {}
