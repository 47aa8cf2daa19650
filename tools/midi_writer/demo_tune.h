#pragma once

#include "tools/midi_writer/midi_file.h"

// The demo package's music: a short original piece of about twenty seconds
// for lead, strings, bass and drums.
MidiSong demoTune();
