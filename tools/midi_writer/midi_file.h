#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A song as the writer takes it: notes on absolute ticks, one track per part.
struct MidiNote {
    std::uint32_t start;   // ticks from the start of the song
    std::uint32_t length;  // ticks
    std::uint8_t key;      // 60 is middle C
    std::uint8_t velocity; // 1..127
};

struct MidiTrack {
    std::string name;
    std::uint8_t channel; // 0..15; 9 is the General MIDI drum kit
    std::uint8_t program; // General MIDI instrument, ignored on channel 9
    std::vector<MidiNote> notes;
};

struct MidiSong {
    std::uint16_t ticksPerQuarter = 480;
    std::uint32_t microsecondsPerQuarter = 500000;
    std::vector<MidiTrack> tracks;
};

// A number as a standard MIDI file writes delta times and lengths: seven bits
// a byte, most significant first, the top bit set on all but the last.
// Values up to 0x0FFFFFFF.
std::vector<std::uint8_t> encodeVariableLength(std::uint32_t value);

// The song as a standard MIDI file of format 1: a tempo track, then one
// track per part. Throws std::invalid_argument for values outside MIDI's ranges.
std::vector<std::uint8_t> writeMidiFile(const MidiSong& song);
