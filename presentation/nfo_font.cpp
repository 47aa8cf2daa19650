#include "presentation/nfo_font.h"

#include <QFontDatabase>
#include <QString>

namespace {

const QString kFamily = QStringLiteral("DejaVu Sans Mono");
// Where fonts-dejavu-core puts the face, for systems whose font configuration
// does not list it.
const QString kBoldFile = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf");

void ensureFamilyKnown()
{
    static const bool checked = [] {
        if (!QFontDatabase::hasFamily(kFamily))
            QFontDatabase::addApplicationFont(kBoldFile);
        return true;
    }();
    Q_UNUSED(checked);
}

} // namespace

QFont nfoFont()
{
    ensureFamilyKnown();
    QFont font(kFamily);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(8);
    font.setBold(true);
    return font;
}
