#pragma once

#include "presentation/media_backend.h"

// Where timgm6mb-soundfont installs its General MIDI sound font.
inline constexpr const char* kGeneralMidiSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The program's own media back end: SDL2_mixer on the default audio device,
// MIDI through the General MIDI sound font.
std::unique_ptr<MediaBackend> createSdlMediaBackend();
