#pragma once

#include "app/frm_zenkor.h"
#include "base/executable_path.h"
#include "widgets/guard.h"
#include "fake_media_backend.h"
#include "tests/support/message_box_recorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// The installer folder of one test: `setup` with an install.ini beside it,
// started there, message boxes recorded and the music played by a fake back
// end.
class InstallerFixture : public testing::Test {
protected:
    InstallerFixture()
    {
        SetExecutablePathOverride(dir.filePath(QStringLiteral("setup")).toStdString());
        QDir::setCurrent(dir.path());
    }
    ~InstallerFixture() override
    {
        frm_zenkor = nullptr;
        window.reset();
        SetExecutablePathOverride({});
        QDir::setCurrent(previousDir);
    }

    // A packager's install.ini: the worked example with a relative install path.
    static QByteArray workedExample()
    {
        return "[zenkor Installer]\n"
               "GameTitle=Some Game\n"
               "GameTitleColorBackground=000000\n"
               "GameTitleColorForeground=00FFFF\n"
               "GameTitleFontSize=20\n"
               "InfoLine1=Action game for one or two players\n"
               "InfoLine2=Requires a 3D accelerator\n"
               "InfoLine3=Press Install to begin\n"
               "InfoLine1ColorForeground=FFFFFF\n"
               "InfoLine2ColorForeground=C0C0C0\n"
               "InfoLine3ColorForeground=00FF00\n"
               "RunProgram=game.exe\n"
               "InstallPath=Games\\SomeGame\n"
               "SpaceRequired=650\n"
               "RARFile=data\\game.rar\n"
               "MidiFile=music.mid\n";
    }

    // The text with one key's value replaced.
    static QByteArray replacing(QByteArray ini, const QByteArray& key, const QByteArray& value)
    {
        const qsizetype start = ini.indexOf("\n" + key + "=") + 1;
        const qsizetype end = ini.indexOf('\n', start);
        return ini.replace(start, end - start, key + "=" + value);
    }

    void writeIni(const QByteArray& text)
    {
        QFile file(dir.filePath(QStringLiteral("install.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Creates the main window as the program does and runs its creation sequence.
    void createWindow()
    {
        window = std::make_unique<Tfrm_zenkor>();
        frm_zenkor = window.get();
        runGuarded([] { frm_zenkor->FormCreate(); });
    }

    const QString previousDir = QDir::currentPath();
    QTemporaryDir dir;
    MessageBoxRecorder boxes;
    MediaLog media;
    FakeMediaScope mediaScope{media};
    std::unique_ptr<Tfrm_zenkor> window;
};
