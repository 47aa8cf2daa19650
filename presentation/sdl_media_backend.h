#pragma once

#include "presentation/media_backend.h"

#include <string>

// Where timgm6mb-soundfont installs its General MIDI sound font.
inline constexpr const char* kGeneralMidiSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The sound font MIDI plays through: the installer folder's own copy beside
// the executable when there is one, else the system's.
std::string generalMidiSoundFont(const std::string& executableFolder);

// The program's own media back end: SDL2_mixer on the default audio device,
// MIDI through the General MIDI sound font.
std::unique_ptr<MediaBackend> createSdlMediaBackend();
