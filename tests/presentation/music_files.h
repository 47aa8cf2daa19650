#pragma once

#include "tools/midi_writer/midi_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes bytes to a file for a test; false when that failed.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// A real MIDI file of about `seconds` seconds: one piano note a beat.
inline QByteArray shortMidi(int seconds)
{
    MidiSong song;
    song.microsecondsPerQuarter = 500000;
    MidiTrack piano{"Piano", 0, 0, {}};
    for (int beat = 0; beat < 2 * seconds; ++beat)
        piano.notes.push_back({static_cast<std::uint32_t>(beat) * 480, 400,
                               static_cast<std::uint8_t>(60 + beat % 12), 100});
    song.tracks.push_back(piano);
    const std::vector<std::uint8_t> bytes = writeMidiFile(song);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}
