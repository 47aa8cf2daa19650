// check-package PACKAGE_DIR RAR_LIBRARY
// Reads a package's install.ini with setup's own reader and conversions and
// checks the package as setup will use it, with RAR_LIBRARY as the library
// beside setup, which decodes the whole archive. Prints one line per problem:
// "error: KEY: ..." for what breaks the window or the installation,
// "warning: KEY: ..." for the rest, and "note: KEY: ..." for what was tested
// and how long it took. Exit status 0 without errors, 1 with errors, 2 for a
// usage error.
#include "tools/package_check/archive_check.h"
#include "tools/package_check/entry_checks.h"
#include "tools/package_check/file_checks.h"
#include "tools/package_check/known_keys.h"
#include "tools/package_check/settings_check.h"
#include "tools/package_check/text_encoding.h"
#include "tools/package_check/title_check.h"

#include "base/path_style.h"
#include "archive/engine/rar_library.h"
#include "config/config_paths.h"
#include "config/ini_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

// Setup reads install.ini as UTF-8 or a Windows code page; in a wide
// encoding it finds no key at all, so nothing else is worth checking.
bool checkIniEncoding(const QString& iniPath, PackageProblems& problems)
{
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QString encoding = wideEncodingName(file.read(64 * 1024));
    if (encoding.isEmpty())
        return true;
    refuse(problems, QStringLiteral("install.ini"),
           QStringLiteral("its encoding is %1, and setup reads it as UTF-8 or Windows-1252, "
                          "finding no key: save it as UTF-8 (iconv -f UTF-16 -t UTF-8)")
               .arg(encoding));
    return false;
}

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
    if (!checkIniEncoding(iniPath, problems))
        return problems;
    const IniFile ini(iniPath);
    const auto text = [&](const char* key) {
        return ini.ReadString(installerSection(), QString::fromLatin1(key));
    };
    if (!checkKeyNames(ini, problems))
        return problems;
    checkSettings(ini, problems);
    checkTitle(ini, problems);

    const QString rarFile = text("RARFile");
    std::optional<ArchiveContents> contents;
    if (rarFile.isEmpty())
        refuse(problems, QStringLiteral("RARFile"), QStringLiteral("names no archive"));
    else
        contents =
            checkArchive(QStringLiteral("RARFile"),
                         PathInExeFolder(rarFile, QDir(package).filePath(QStringLiteral("setup")),
                                         kNativePathStyle),
                         problems);
    if (contents) {
        checkEntryNames(QStringLiteral("RARFile"), *contents, problems);
        checkRunProgram(QStringLiteral("RunProgram"), text("RunProgram"), *contents, problems);
        if (contents->result == ERAR_SUCCESS)
            checkSpaceRequired(QStringLiteral("SpaceRequired"), text("SpaceRequired"), *contents,
                               problems);
    }
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
        const char* kind = "note";
        if (problem.effect == PackageProblem::Effect::Refuses) {
            kind = "error";
            refused = true;
        } else if (problem.effect == PackageProblem::Effect::Warns) {
            kind = "warning";
        }
        std::printf("%s: %s: %s\n", kind, qUtf8Printable(problem.key),
                    qUtf8Printable(problem.text));
    }
    return refused ? 1 : 0;
}
