// Writes the installer's header and button pictures and its icon as PNG
// files into the folder given on the command line.
#include "button_painter.h"
#include "header_painter.h"
#include "icon_painter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {

struct Button {
    const char* file;
    const char* lettering;
    QSize picture;
    QSize plate; // the part the smallest control showing it keeps
};

// Sizes as the windows expect them; each button also gets a "_lit" twin.
const Button kButtons[] = {
    {"install", "install", {99, 28}, {97, 25}},
    {"nfo", "nfo", {79, 29}, {73, 25}},
    {"exit", "exit", {77, 30}, {77, 25}},
    {"cancel", "cancel", {118, 28}, {118, 28}},
    {"extract", "extract", {133, 28}, {133, 28}},
    {"make_dir", "make dir", {141, 28}, {140, 28}},
    {"ok", "ok", {75, 28}, {75, 28}},
};

// Stored in full colour: a 256-colour palette bands the plates' gradients.
bool save(const QImage& image, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "artwork: cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = save(paintHeader(594, 171), folder, QStringLiteral("header"));
    ok &= save(paintIcon(64), folder, QStringLiteral("setup"));
    for (const Button& b : kButtons) {
        const QString lettering = QString::fromLatin1(b.lettering);
        const QString name = QString::fromLatin1(b.file);
        ok &= save(paintButton(lettering, b.picture, b.plate, false), folder, name);
        ok &= save(paintButton(lettering, b.picture, b.plate, true), folder,
                   name + QStringLiteral("_lit"));
    }
    return ok ? 0 : 1;
}
