// check-package PACKAGE_DIR RAR_LIBRARY
// Reads a package's install.ini with setup's own reader and conversions and
// checks the package as setup will use it, with RAR_LIBRARY as the library
// beside setup. Prints one line per problem: "error: KEY: ..." for what breaks
// the window or the installation, "warning: KEY: ..." for the rest. Exit
// status 0 without errors, 1 with errors, 2 for a usage error.
#include "tools/package_check/archive_check.h"
#include "tools/package_check/file_checks.h"
#include "tools/package_check/settings_check.h"

#include "base/path_style.h"
#include "archive/rar_library.h"
#include "config/config_paths.h"
#include "config/ini_file.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

PackageProblems checkPackage(const QString& package)
{
    PackageProblems problems;
    // setup reads zenkor.nfo and a relative MidiFile from the folder it is
    // started in, its own.
    QDir::setCurrent(package);
    const QString iniPath = QDir(package).filePath(QStringLiteral("install.ini"));
    if (!QFileInfo(iniPath).isFile()) {
        refuse(problems, QStringLiteral("install.ini"),
               QStringLiteral("the package has none; setup shows \"error\" and sets up no window"));
        return problems;
    }
    const IniFile ini(iniPath);
    const auto text = [&](const char* key) {
        return ini.ReadString(installerSection(), QString::fromLatin1(key));
    };
    checkSettings(ini, problems);

    const QString rarFile = text("RARFile");
    if (rarFile.isEmpty())
        refuse(problems, QStringLiteral("RARFile"), QStringLiteral("names no archive"));
    else
        checkArchive(QStringLiteral("RARFile"),
                     PathInExeFolder(rarFile, QDir(package).filePath(QStringLiteral("setup")),
                                     kNativePathStyle),
                     problems);
    checkMusic(QStringLiteral("MidiFile"), text("MidiFile"), problems);
    checkNfo(problems);
    checkPictures(package, problems);
    return problems;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: check-package PACKAGE_DIR RAR_LIBRARY\n", stderr);
        return 2;
    }
    // A build machine's tool: text is measured without a screen, music opened
    // without a sound card.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    const QString package = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    RarLibraryBinding rarLibrary(
        {QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath().toStdString()});

    bool refused = false;
    for (const PackageProblem& problem : checkPackage(package)) {
        const bool refuses = problem.effect == PackageProblem::Effect::Refuses;
        refused = refused || refuses;
        std::printf("%s: %s: %s\n", refuses ? "error" : "warning", qUtf8Printable(problem.key),
                    qUtf8Printable(problem.text));
    }
    return refused ? 1 : 0;
}
