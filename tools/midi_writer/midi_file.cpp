#include "tools/midi_writer/midi_file.h"

#include <algorithm>
#include <stdexcept>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Event {
    std::uint32_t tick;
    Bytes data;
};

void appendBigEndian(Bytes& out, std::uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(Bytes& out, const char* type, const Bytes& body)
{
    out.insert(out.end(), type, type + 4);
    appendBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
}

Bytes metaEvent(std::uint8_t type, const Bytes& payload)
{
    Bytes data{0xFF, type};
    const Bytes length = encodeVariableLength(static_cast<std::uint32_t>(payload.size()));
    data.insert(data.end(), length.begin(), length.end());
    data.insert(data.end(), payload.begin(), payload.end());
    return data;
}

// Events in time order, each with its delta time, and the end-of-track mark.
Bytes trackBody(std::vector<Event> events)
{
    // Stable, so at one tick a note's end (queued first) comes before the
    // next note's start and repeated keys are not cut short.
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });
    Bytes body;
    std::uint32_t now = 0;
    for (const Event& event : events) {
        const Bytes delta = encodeVariableLength(event.tick - now);
        body.insert(body.end(), delta.begin(), delta.end());
        body.insert(body.end(), event.data.begin(), event.data.end());
        now = event.tick;
    }
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    return body;
}

void checkRange(bool ok, const char* what)
{
    if (!ok)
        throw std::invalid_argument(what);
}

Bytes partTrack(const MidiTrack& track)
{
    checkRange(track.channel < 16, "MIDI channel out of range");
    checkRange(track.program < 128, "MIDI program out of range");
    const auto channel = track.channel;

    std::vector<Event> events;
    events.push_back({0, metaEvent(0x03, Bytes(track.name.begin(), track.name.end()))});
    if (channel != 9)
        events.push_back({0, {static_cast<std::uint8_t>(0xC0 | channel), track.program}});

    // Ends first, so that at a shared tick they sort ahead of the starts.
    for (const MidiNote& note : track.notes) {
        checkRange(note.key < 128, "MIDI key out of range");
        checkRange(note.velocity >= 1 && note.velocity < 128, "MIDI velocity out of range");
        checkRange(note.length > 0, "MIDI note without length");
        checkRange(note.start <= 0x0FFFFFFF - note.length, "MIDI note beyond the longest song");
        events.push_back({note.start + note.length,
                          {static_cast<std::uint8_t>(0x80 | channel), note.key, 0x40}});
    }
    for (const MidiNote& note : track.notes)
        events.push_back(
            {note.start, {static_cast<std::uint8_t>(0x90 | channel), note.key, note.velocity}});
    return trackBody(std::move(events));
}

} // namespace

std::vector<std::uint8_t> encodeVariableLength(std::uint32_t value)
{
    checkRange(value <= 0x0FFFFFFF, "MIDI number too large");
    Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
    while (value >>= 7)
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

std::vector<std::uint8_t> writeMidiFile(const MidiSong& song)
{
    checkRange(song.ticksPerQuarter > 0 && song.ticksPerQuarter < 0x8000,
               "MIDI division out of range");
    checkRange(song.microsecondsPerQuarter > 0 && song.microsecondsPerQuarter < 0x1000000,
               "MIDI tempo out of range");
    checkRange(song.tracks.size() < 0xFFFF, "too many MIDI tracks");

    Bytes header;
    appendBigEndian(header, 1, 2);
    appendBigEndian(header, static_cast<std::uint32_t>(song.tracks.size() + 1), 2);
    appendBigEndian(header, song.ticksPerQuarter, 2);

    Bytes tempo;
    appendBigEndian(tempo, song.microsecondsPerQuarter, 3);
    const Bytes tempoTrack = trackBody({{0, metaEvent(0x51, tempo)}});

    Bytes file;
    appendChunk(file, "MThd", header);
    appendChunk(file, "MTrk", tempoTrack);
    for (const MidiTrack& track : song.tracks)
        appendChunk(file, "MTrk", partTrack(track));
    return file;
}
