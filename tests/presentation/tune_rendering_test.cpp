#include "music_files.h"
#include "presentation/media_player.h"
#include "qt_application.h"
#include "tools/midi_writer/demo_tune.h"

#include <QTemporaryDir>
#include <QTest>

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <vector>

namespace {

// Renders the demo tune through the mixer on SDL's disk driver, which writes
// the samples to a file as fast as it can, and looks at the sound.
TEST(DemoTune, RendersAsSoundThroughout)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString samplesFile = folder.filePath("samples.raw");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", samplesFile.toLocal8Bit());
    qputenv("SDL_DISKAUDIODELAY", "0");
    qtApplication();

    const std::vector<std::uint8_t> tune = writeMidiFile(demoTune());
    ASSERT_TRUE(
        writeBytes(folder.filePath("music.mid"),
                   QByteArray(reinterpret_cast<const char*>(tune.data()), qsizetype(tune.size()))));

    int notices = 0;
    {
        TMediaPlayer player;
        player.FileName = folder.filePath("music.mid").toStdString();
        player.OnNotify = [&] { ++notices; };
        player.Open();
        player.Play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return notices > 0; }, 120000));
    }
    EXPECT_EQ(notices, 1);

    // Stereo 16-bit samples at the mixer's default rate.
    QFile file(samplesFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto* samples = reinterpret_cast<const std::int16_t*>(bytes.constData());
    const qsizetype frames = bytes.size() / 4;
    const qsizetype framesPerSecond = MIX_DEFAULT_FREQUENCY;

    // The driver writes silence from the open on, so the piece lasts from the
    // first audible sample to the last; every whole second of it carries
    // sound well above silence, and hardly a sample is clipped.
    const auto audible = [&](qsizetype frame) {
        return std::abs(samples[2 * frame]) >= 64 || std::abs(samples[2 * frame + 1]) >= 64;
    };
    qsizetype first = 0;
    while (first < frames && !audible(first))
        ++first;
    qsizetype last = frames - 1;
    while (last > first && !audible(last))
        --last;
    const double seconds = double(last - first) / framesPerSecond;
    EXPECT_GE(seconds, 15.0);
    EXPECT_LE(seconds, 32.0); // thirty seconds of notes and the last one's release

    qsizetype clipped = 0;
    for (qsizetype i = 2 * first; i <= 2 * last + 1; ++i)
        clipped += std::abs(int(samples[i])) >= 32767;
    EXPECT_LT(double(clipped) / double(2 * (last - first + 1)), 0.001);

    for (int second = 0; second + 1 < int(seconds); ++second) {
        double energy = 0;
        const qsizetype from = first + second * framesPerSecond;
        for (qsizetype i = 2 * from; i < 2 * (from + framesPerSecond); ++i)
            energy += double(samples[i]) * samples[i];
        const double rms = std::sqrt(energy / (2.0 * framesPerSecond));
        EXPECT_GT(rms, 300.0) << "second " << second;
    }
}

} // namespace
