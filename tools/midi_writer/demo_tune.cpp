#include "tools/midi_writer/demo_tune.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace {

constexpr std::uint32_t kEighth = 240; // at 480 ticks a quarter
constexpr std::uint32_t kBar = 8 * kEighth;
constexpr int kBars = 8;
constexpr std::uint8_t kRest = 0;

// A line of notes, each (key, length in eighths), played one after another;
// key 0 is a rest.
std::vector<MidiNote> phrase(std::uint32_t start,
                             std::initializer_list<std::pair<std::uint8_t, int>> line,
                             std::uint8_t velocity)
{
    std::vector<MidiNote> notes;
    for (const auto& [key, eighths] : line) {
        const std::uint32_t length = static_cast<std::uint32_t>(eighths) * kEighth;
        if (key != kRest)
            notes.push_back({start, length - 20, key, velocity});
        start += length;
    }
    return notes;
}

void append(std::vector<MidiNote>& to, const std::vector<MidiNote>& notes)
{
    to.insert(to.end(), notes.begin(), notes.end());
}

// A minor, F, C, G, twice; the last bar rings out on A minor.
constexpr std::uint8_t kChordRoots[kBars] = {45, 41, 48, 43, 45, 41, 48, 43};
constexpr std::uint8_t kChordThirds[kBars] = {3, 4, 4, 4, 3, 4, 4, 4};

MidiTrack lead()
{
    MidiTrack track{"Lead", 0, 80, {}};
    append(track.notes, phrase(0 * kBar, {{69, 2}, {72, 1}, {76, 1}, {74, 2}, {72, 2}}, 70));
    append(track.notes, phrase(1 * kBar, {{69, 1}, {72, 1}, {77, 2}, {76, 3}, {kRest, 1}}, 67));
    append(track.notes, phrase(2 * kBar, {{67, 2}, {72, 1}, {76, 1}, {79, 2}, {76, 2}}, 70));
    append(track.notes, phrase(3 * kBar, {{74, 1}, {76, 1}, {74, 1}, {71, 1}, {67, 4}}, 64));
    append(track.notes, phrase(4 * kBar, {{81, 2}, {79, 1}, {76, 1}, {77, 2}, {76, 2}}, 72));
    append(track.notes,
           phrase(5 * kBar, {{72, 1}, {74, 1}, {76, 2}, {77, 1}, {76, 1}, {74, 2}}, 68));
    append(track.notes, phrase(6 * kBar, {{76, 2}, {72, 2}, {67, 1}, {72, 1}, {76, 2}}, 70));
    append(track.notes, phrase(7 * kBar, {{74, 3}, {71, 1}, {74, 2}, {79, 2}}, 67));
    append(track.notes, phrase(8 * kBar, {{81, 8}}, 63));
    return track;
}

MidiTrack strings()
{
    MidiTrack track{"Strings", 1, 48, {}};
    for (int bar = 0; bar <= kBars; ++bar) {
        const int chord = bar % kBars;
        const std::uint8_t root = static_cast<std::uint8_t>(kChordRoots[chord] + 12);
        for (std::uint8_t step : {std::uint8_t(0), kChordThirds[chord], std::uint8_t(7)})
            track.notes.push_back(
                {bar * kBar, kBar - 20, static_cast<std::uint8_t>(root + step), 40});
    }
    return track;
}

MidiTrack bass()
{
    MidiTrack track{"Bass", 2, 33, {}};
    for (int bar = 0; bar < kBars; ++bar) {
        const std::uint8_t root = kChordRoots[bar];
        append(track.notes, phrase(bar * kBar,
                                   {{root, 2},
                                    {root, 1},
                                    {static_cast<std::uint8_t>(root + 7), 1},
                                    {static_cast<std::uint8_t>(root + 12), 2},
                                    {static_cast<std::uint8_t>(root + 7), 2}},
                                   72));
    }
    track.notes.push_back({kBars * kBar, kBar - 20, kChordRoots[0], 72});
    return track;
}

MidiTrack drums()
{
    constexpr std::uint8_t kick = 36, snare = 38, hat = 42, crash = 49;
    MidiTrack track{"Drums", 9, 0, {}};
    for (int bar = 0; bar < kBars; ++bar) {
        const std::uint32_t start = bar * kBar;
        for (std::uint32_t eighth = 0; eighth < 8; ++eighth)
            track.notes.push_back({start + eighth * kEighth, 60, hat,
                                   eighth % 2 ? std::uint8_t(40) : std::uint8_t(56)});
        for (std::uint32_t beat : {0u, 4u, 5u})
            track.notes.push_back({start + beat * kEighth, 120, kick, 80});
        for (std::uint32_t beat : {2u, 6u})
            track.notes.push_back({start + beat * kEighth, 120, snare, 72});
    }
    track.notes.push_back({0, 240, crash, 70});
    track.notes.push_back({kBars * kBar, 240, crash, 76});
    track.notes.push_back({kBars * kBar, 120, kick, 80});
    return track;
}

} // namespace

MidiSong demoTune()
{
    MidiSong song;
    song.microsecondsPerQuarter = 600000; // 100 beats a minute: nine bars, 21.6 seconds
    song.tracks = {lead(), strings(), bass(), drums()};
    return song;
}
