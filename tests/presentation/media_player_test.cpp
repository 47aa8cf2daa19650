#include "base/exception.h"
#include "music_files.h"
#include "presentation/media_player.h"
#include "qt_application.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// The real SDL2_mixer back end on SDL's dummy audio driver.
class MediaPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qtApplication();
        ASSERT_TRUE(folder_.isValid());
    }

    QString path(const QString& name) const { return folder_.filePath(name); }

    std::string openError(const std::string& fileName)
    {
        TMediaPlayer player;
        player.FileName = fileName;
        try {
            player.Open();
        } catch (const Exception& error) {
            EXPECT_FALSE(player.IsOpen());
            return error.Message();
        }
        return "opened";
    }

    // Plays the piece the way the main window does and counts the notices;
    // each notice rewinds, as MusicNotify does.
    struct Run {
        int notices = 0;
        bool onGuiThread = true;
    };
    void startLikeTheMainWindow(TMediaPlayer& player, Run& run)
    {
        player.OnNotify = [&] {
            ++run.notices;
            run.onGuiThread = run.onGuiThread && QThread::currentThread() == qApp->thread();
            player.Rewind();
        };
        player.Open();
        player.Rewind();
        player.Play();
        EXPECT_TRUE(player.PlayStarted());
    }

    // A notice that must not come is awaited this long: a wrong one ends the
    // wait at once, the right silence lasts the whole bound.
    static constexpr int kUnwantedNoticeWait = 300;

    QTemporaryDir folder_;
};

TEST_F(MediaPlayerTest, ShortMidiPlaysOnceAndTheNoticeRewindsOnTheGuiThread)
{
    ASSERT_TRUE(writeBytes(path("short.mid"), shortMidi(1)));
    TMediaPlayer player;
    player.FileName = path("short.mid").toStdString();
    Run run;
    startLikeTheMainWindow(player, run);
    EXPECT_TRUE(Mix_PlayingMusic());

    EXPECT_TRUE(QTest::qWaitFor([&] { return run.notices > 0; }, 20000));
    EXPECT_EQ(player.NotifyValue(), MediaBackend::Notice::Successful);
    EXPECT_TRUE(run.onGuiThread);

    // Stopped at the start for good: no replay and no second notice, for
    // long enough that the one-second piece could have started over.
    EXPECT_FALSE(QTest::qWaitFor([&] { return run.notices > 1 || Mix_PlayingMusic(); }, 1500));
    EXPECT_EQ(run.notices, 1);
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_TRUE(player.IsOpen());
}

TEST_F(MediaPlayerTest, OpenErrorsNameTheProblem)
{
    ASSERT_TRUE(writeBytes(path("text.mid"), "this is not music at all, just some words\n"));
    ASSERT_TRUE(writeBytes(path("empty.mid"), ""));
    ASSERT_TRUE(QDir(folder_.path()).mkdir("folder.mid"));
    const std::string missing = path("missing.mid").toStdString();

    EXPECT_EQ(openError(""), "No music file was given");
    EXPECT_EQ(openError(missing), "The music file " + missing + " does not exist");
    EXPECT_EQ(openError(path("folder.mid").toStdString()),
              "The music file " + path("folder.mid").toStdString() + " does not exist");
    for (const char* name : {"text.mid", "empty.mid"}) {
        const std::string file = path(name).toStdString();
        EXPECT_EQ(openError(file),
                  "The music file " + file +
                      " cannot be played: its format is unknown or the file is damaged");
    }
}

TEST_F(MediaPlayerTest, DamagedMidiFailsClearlyOrPlaysToItsEnd)
{
    const QByteArray whole = shortMidi(1);
    for (const qsizetype keep :
         {qsizetype(10), qsizetype(30), whole.size() / 2, whole.size() - 3}) {
        const QString file = path(QStringLiteral("cut%1.mid").arg(keep));
        ASSERT_TRUE(writeBytes(file, whole.left(keep)));
        TMediaPlayer player;
        player.FileName = file.toStdString();
        Run run;
        try {
            startLikeTheMainWindow(player, run);
        } catch (const Exception& error) {
            EXPECT_NE(error.Message().find(file.toStdString()), std::string::npos)
                << error.Message();
            continue;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return run.notices > 0; }, 20000)) << keep;
        EXPECT_FALSE(QTest::qWaitFor([&] { return run.notices > 1; }, kUnwantedNoticeWait)) << keep;
        EXPECT_EQ(run.notices, 1) << keep;
    }
}

TEST_F(MediaPlayerTest, AFailedReopenLeavesNoDeviceOpen)
{
    ASSERT_TRUE(writeBytes(path("short.mid"), shortMidi(1)));
    TMediaPlayer player;
    player.FileName = path("short.mid").toStdString();
    player.Open();
    ASSERT_TRUE(player.IsOpen());
    player.FileName = path("missing.mid").toStdString();
    EXPECT_THROW(player.Open(), Exception);
    EXPECT_FALSE(player.IsOpen());
    EXPECT_THROW(player.Play(), Exception);
}

TEST_F(MediaPlayerTest, CommandsNeedAnOpenDevice)
{
    TMediaPlayer player;
    player.FileName = path("missing.mid").toStdString();
    EXPECT_THROW(player.Open(), Exception);
    for (auto command : {&TMediaPlayer::Rewind, &TMediaPlayer::Play}) {
        try {
            (player.*command)();
            ADD_FAILURE() << "no error without an open device";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), "No MCI device open");
        }
    }
}

TEST_F(MediaPlayerTest, ExitWhilePlayingStopsTheMusicWithoutANotice)
{
    ASSERT_TRUE(writeBytes(path("long.mid"), shortMidi(10)));
    int notices = 0;
    {
        TMediaPlayer player;
        player.FileName = path("long.mid").toStdString();
        player.OnNotify = [&] { ++notices; };
        player.Open();
        player.Play();
        ASSERT_TRUE(QTest::qWaitFor([] { return Mix_PlayingMusic() != 0; }, 2000));
    }
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_FALSE(QTest::qWaitFor([&] { return notices > 0; }, kUnwantedNoticeWait));
    EXPECT_EQ(notices, 0);
}

TEST_F(MediaPlayerTest, ReopeningClosesTheFirstPieceAndPlaysTheSecond)
{
    ASSERT_TRUE(writeBytes(path("long.mid"), shortMidi(10)));
    ASSERT_TRUE(writeBytes(path("short.mid"), shortMidi(1)));
    TMediaPlayer player;
    Run run;
    player.FileName = path("long.mid").toStdString();
    startLikeTheMainWindow(player, run);
    player.FileName = path("short.mid").toStdString();
    player.Open();
    player.Play();
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return run.notices > 0; }, 20000));
    EXPECT_LT(clock.elapsed(), 8000) << "the long piece was still playing";
    EXPECT_FALSE(QTest::qWaitFor([&] { return run.notices > 1; }, kUnwantedNoticeWait));
    EXPECT_EQ(run.notices, 1);
}

TEST_F(MediaPlayerTest, AnOpenDeviceLeavesTheStopSignalsAlone)
{
    ASSERT_TRUE(writeBytes(path("short.mid"), shortMidi(1)));
    TMediaPlayer player;
    player.FileName = path("short.mid").toStdString();
    player.Open();
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

TEST_F(MediaPlayerTest, NoAudioDeviceGivesAClearMessage)
{
    ASSERT_TRUE(writeBytes(path("short.mid"), shortMidi(1)));
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    const std::string error = openError(path("short.mid").toStdString());
    qputenv("SDL_AUDIODRIVER", driver);
    EXPECT_EQ(error, "No audio device is available");
    EXPECT_EQ(openError(path("short.mid").toStdString()), "opened");
}

} // namespace
