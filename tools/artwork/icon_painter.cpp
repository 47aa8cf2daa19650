#include "icon_painter.h"

#include "palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

using namespace artwork_palette;

QImage paintIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    const QRectF plate(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, kPlateTop);
    fill.setColorAt(1.0, kPlateBottom);
    p.setPen(QPen(kRim, s / 32));
    p.setBrush(fill);
    p.drawRoundedRect(plate, s * 0.18, s * 0.18);

    // The arrow: a shaft and a head, pointing into the tray below.
    QPainterPath arrow;
    arrow.moveTo(s * 0.42, s * 0.16);
    arrow.lineTo(s * 0.58, s * 0.16);
    arrow.lineTo(s * 0.58, s * 0.44);
    arrow.lineTo(s * 0.72, s * 0.44);
    arrow.lineTo(s * 0.50, s * 0.68);
    arrow.lineTo(s * 0.28, s * 0.44);
    arrow.lineTo(s * 0.42, s * 0.44);
    arrow.closeSubpath();
    QLinearGradient red(QPointF(0, s * 0.16), QPointF(0, s * 0.68));
    red.setColorAt(0.0, kRedHot);
    red.setColorAt(1.0, kRed);
    p.setPen(QPen(kRedDim, s / 48));
    p.setBrush(red);
    p.drawPath(arrow);

    QPainterPath tray;
    tray.moveTo(s * 0.20, s * 0.62);
    tray.lineTo(s * 0.20, s * 0.80);
    tray.lineTo(s * 0.80, s * 0.80);
    tray.lineTo(s * 0.80, s * 0.62);
    p.setPen(QPen(kRed, s / 14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tray);
    return image;
}
