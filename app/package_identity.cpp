#include "app/package_identity.h"

#include "widgets/folder_assets.h"
#include "resources/artwork.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

void showPackageIcon()
{
    const QImage icon = artworkImage(artwork::kIcon);
    if (!icon.isNull())
        QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
}

void nameApplicationAfter(const QString& gameTitle)
{
    if (gameTitle.trimmed().isEmpty())
        return;
    // The name is the window class on X and the application's id on
    // Wayland, which is what window lists group and label windows by.
    QGuiApplication::setApplicationName(gameTitle);
    QGuiApplication::setDesktopFileName(gameTitle);
}
