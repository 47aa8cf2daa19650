// midiwrite OUT.mid: writes the demo package's tune as a standard MIDI file.
#include "tools/midi_writer/demo_tune.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: midiwrite OUT.mid\n");
        return 2;
    }
    const std::vector<std::uint8_t> file = writeMidiFile(demoTune());
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "midiwrite: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
