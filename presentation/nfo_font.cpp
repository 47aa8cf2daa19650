#include "presentation/nfo_font.h"

#include "base/executable_path.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QtGlobal>

namespace {

constexpr int kCharacterHeight = 8;

// Registers the first font file that loads and gives its family name, or an
// empty name when none does.
QString registerNfoFont()
{
    const QStringList files = nfoFontFiles();
    for (const QString& file : files) {
        if (!QFileInfo(file).isFile())
            continue;
        const QStringList families =
            QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file));
        if (!families.isEmpty())
            return families.first();
    }
    qWarning("NFO viewer: no usable font file among %s", qPrintable(files.join(u", ")));
    return {};
}

} // namespace

QStringList nfoFontFiles()
{
    return {
        QDir(QString::fromStdString(ExecutableFolder()))
            .filePath(QLatin1String("fonts/") + QLatin1String(kNfoFontFileName)),
        QDir(QLatin1String(kNfoFontPackageFolder)).filePath(QLatin1String(kNfoFontFileName)),
    };
}

QFont nfoFont()
{
    static const QString family = registerNfoFont();
    QFont font =
        family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    font.setPixelSize(kCharacterHeight);
    font.setFixedPitch(true);
    // A raster font is drawn as it is; no smoothing if the fallback is used.
    font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    return font;
}
