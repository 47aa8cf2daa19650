#include "tools/midi_writer/demo_tune.h"
#include "tools/midi_writer/midi_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A reader of just enough of the file format to check what the writer wrote.
struct ReadEvent {
    std::uint32_t tick;
    std::uint8_t status;
    std::uint8_t key;
    std::uint8_t velocity;
};
struct ReadFile {
    int format = -1;
    int tracksDeclared = 0;
    int division = 0;
    std::uint32_t tempo = 0;
    std::vector<std::vector<ReadEvent>> tracks; // channel events only
    std::vector<bool> endsWithEndOfTrack;
};

std::uint32_t bigEndian(const Bytes& b, size_t at, int n)
{
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | b.at(at + i);
    return v;
}

std::uint32_t readVariable(const Bytes& b, size_t& at)
{
    std::uint32_t v = 0;
    for (;;) {
        const std::uint8_t byte = b.at(at++);
        v = v << 7 | (byte & 0x7F);
        if (!(byte & 0x80))
            return v;
    }
}

ReadFile readMidi(const Bytes& b)
{
    ReadFile file;
    if (std::string(b.begin(), b.begin() + 4) != "MThd" || bigEndian(b, 4, 4) != 6)
        throw std::runtime_error("no header");
    file.format = int(bigEndian(b, 8, 2));
    file.tracksDeclared = int(bigEndian(b, 10, 2));
    file.division = int(bigEndian(b, 12, 2));
    size_t at = 14;
    while (at < b.size()) {
        if (std::string(b.begin() + long(at), b.begin() + long(at) + 4) != "MTrk")
            throw std::runtime_error("no track chunk");
        const size_t end = at + 8 + bigEndian(b, at + 4, 4);
        if (end > b.size())
            throw std::runtime_error("track beyond the file");
        at += 8;
        std::vector<ReadEvent> events;
        std::uint32_t tick = 0;
        bool ended = false;
        while (at < end) {
            tick += readVariable(b, at);
            const std::uint8_t status = b.at(at++);
            if (status == 0xFF) {
                const std::uint8_t type = b.at(at++);
                const std::uint32_t length = readVariable(b, at);
                if (type == 0x51)
                    file.tempo = bigEndian(b, at, 3);
                ended = type == 0x2F && at + length == end;
                at += length;
            } else if ((status & 0xF0) == 0xC0) {
                events.push_back({tick, status, b.at(at), 0});
                at += 1;
            } else {
                events.push_back({tick, status, b.at(at), b.at(at + 1)});
                at += 2;
            }
        }
        file.tracks.push_back(events);
        file.endsWithEndOfTrack.push_back(ended);
        at = end;
    }
    return file;
}

TEST(MidiWriter, VariableLengthNumbers)
{
    const struct {
        std::uint32_t value;
        Bytes bytes;
    } cases[] = {
        {0, {0x00}},
        {0x40, {0x40}},
        {0x7F, {0x7F}},
        {0x80, {0x81, 0x00}},
        {0x2000, {0xC0, 0x00}},
        {0x3FFF, {0xFF, 0x7F}},
        {0x4000, {0x81, 0x80, 0x00}},
        {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
        {0x200000, {0x81, 0x80, 0x80, 0x00}},
        {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(encodeVariableLength(c.value), c.bytes) << std::hex << c.value;
    EXPECT_THROW(encodeVariableLength(0x10000000), std::invalid_argument);
}

TEST(MidiWriter, FileStructureAndEvents)
{
    MidiSong song;
    song.ticksPerQuarter = 96;
    song.microsecondsPerQuarter = 750000;
    // Two notes of one key back to back: the first must end before the second starts.
    song.tracks.push_back(
        {"Lead", 3, 81, {{96, 96, 64, 90}, {0, 96, 64, 100}, {200, 300, 70, 80}}});
    song.tracks.push_back({"Drums", 9, 0, {{0, 10, 36, 120}}});

    const ReadFile file = readMidi(writeMidiFile(song));
    EXPECT_EQ(file.format, 1);
    EXPECT_EQ(file.tracksDeclared, 3);
    EXPECT_EQ(file.division, 96);
    EXPECT_EQ(file.tempo, 750000u);
    ASSERT_EQ(file.tracks.size(), 3u);
    for (bool ended : file.endsWithEndOfTrack)
        EXPECT_TRUE(ended);

    const std::vector<ReadEvent> lead = file.tracks[1];
    const std::vector<std::tuple<std::uint32_t, int, int, int>> expected = {
        {0, 0xC3, 81, 0},    {0, 0x93, 64, 100},  {96, 0x83, 64, 64},  {96, 0x93, 64, 90},
        {192, 0x83, 64, 64}, {200, 0x93, 70, 80}, {500, 0x83, 70, 64},
    };
    ASSERT_EQ(lead.size(), expected.size());
    for (size_t i = 0; i < lead.size(); ++i)
        EXPECT_EQ(std::make_tuple(lead[i].tick, int(lead[i].status), int(lead[i].key),
                                  int(lead[i].velocity)),
                  expected[i])
            << "event " << i;

    // The drum track selects no instrument.
    ASSERT_EQ(file.tracks[2].size(), 2u);
    EXPECT_EQ(file.tracks[2][0].status, 0x99);
}

TEST(MidiWriter, RefusesValuesOutsideMidi)
{
    const MidiNote fine{0, 10, 60, 100};
    const std::vector<MidiTrack> bad = {
        {"channel", 16, 0, {fine}},
        {"program", 0, 128, {fine}},
        {"key", 0, 0, {{0, 10, 128, 100}}},
        {"silent", 0, 0, {{0, 10, 60, 0}}},
        {"velocity", 0, 0, {{0, 10, 60, 128}}},
        {"length", 0, 0, {{0, 0, 60, 100}}},
        {"too late", 0, 0, {{0x0FFFFFF0, 0x20, 60, 100}}},
    };
    for (const MidiTrack& track : bad) {
        MidiSong song;
        song.tracks = {track};
        EXPECT_THROW(writeMidiFile(song), std::invalid_argument) << track.name;
    }
}

TEST(DemoTune, LastsFifteenToThirtySecondsWithBalancedNotes)
{
    const ReadFile file = readMidi(writeMidiFile(demoTune()));
    ASSERT_GT(file.tempo, 0u);
    std::uint32_t lastTick = 0;
    for (const auto& track : file.tracks) {
        std::map<std::pair<int, int>, int> sounding; // (channel, key) -> notes on
        for (const ReadEvent& event : track) {
            const int kind = event.status & 0xF0;
            const auto note = std::make_pair(event.status & 0x0F, int(event.key));
            if (kind == 0x90) {
                ++sounding[note];
            } else if (kind == 0x80) {
                EXPECT_GE(--sounding[note], 0);
            }
            lastTick = std::max(lastTick, event.tick);
        }
        for (const auto& [note, count] : sounding)
            EXPECT_EQ(count, 0) << "key " << note.second << " left sounding";
    }
    const double seconds = double(lastTick) / file.division * file.tempo / 1e6;
    EXPECT_GE(seconds, 15.0);
    EXPECT_LE(seconds, 30.0);
    EXPECT_GE(file.tracks.size(), 3u);
}

} // namespace
