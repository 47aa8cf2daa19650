#include "button_painter.h"

#include "palette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

using namespace artwork_palette;

namespace {

QFont letteringFont(int plateHeight)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(plateHeight * 11 / 20);
    font.setLetterSpacing(QFont::PercentageSpacing, 106);
    return font;
}

void paintPlate(QPainter& p, const QRectF& plate, bool lit)
{
    const qreal radius = plate.height() / 2.4;
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, lit ? kPlateTop.lighter(115) : kPlateTop);
    fill.setColorAt(0.55, kPlateBottom.lighter(lit ? 140 : 100));
    fill.setColorAt(1.0, kPlateBottom);
    p.setPen(QPen(lit ? kRed : kRim, 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(plate, radius, radius);

    // A thin highlight along the upper edge gives the plate its bevel.
    QPainterPath shine;
    shine.addRoundedRect(plate.adjusted(2, 1.5, -2, -plate.height() / 2), radius - 1, radius - 1);
    QLinearGradient gloss(plate.topLeft(), QPointF(plate.left(), plate.center().y()));
    gloss.setColorAt(0.0, QColor(255, 255, 255, lit ? 60 : 38));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(shine, gloss);
}

void paintLamp(QPainter& p, const QPointF& centre, qreal radius, bool lit)
{
    if (lit) {
        QRadialGradient glow(centre, radius * 2.4);
        glow.setColorAt(0.0, QColor(255, 60, 40, 150));
        glow.setColorAt(1.0, QColor(255, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(centre, radius * 2.4, radius * 2.4);
    }
    QRadialGradient bulb(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    bulb.setColorAt(0.0, lit ? QColor(255, 220, 200) : kLampOff.lighter(160));
    bulb.setColorAt(0.45, lit ? kRedHot : kLampOff);
    bulb.setColorAt(1.0, lit ? kRed.darker(130) : kLampOff.darker(160));
    p.setPen(QPen(QColor(0, 0, 0, 180), 1));
    p.setBrush(bulb);
    p.drawEllipse(centre, radius, radius);
}

void paintLettering(QPainter& p, const QString& text, const QRectF& box, bool lit)
{
    const QFont font = letteringFont(int(box.height()));
    const QFontMetricsF metrics(font);
    const qreal x = box.left() + (box.width() - metrics.horizontalAdvance(text)) / 2;
    const qreal y = box.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    QPainterPath glyphs;
    glyphs.addText(QPointF(x, y), font, text);

    if (lit) {
        // Soft glow: the outline stroked wide in translucent red.
        for (int width = 5; width >= 2; --width) {
            p.strokePath(glyphs, QPen(QColor(255, 40, 30, 34), width, Qt::SolidLine, Qt::RoundCap,
                                      Qt::RoundJoin));
        }
    }
    p.fillPath(glyphs.translated(0, 1), QColor(0, 0, 0, 200));
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, lit ? kRedHot.lighter(115) : kRed);
    fill.setColorAt(1.0, lit ? kRed : kRedDim);
    p.fillPath(glyphs, fill);
}

} // namespace

QImage paintButton(const QString& lettering, QSize size, QSize plateSize, bool lit)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const int height = plateSize.height();
    const QRectF plate(0.5, 0.5, plateSize.width() - 1.0, height - 1.0);
    paintPlate(p, plate, lit);

    const qreal lampRadius = height / 7.0;
    const QPointF lampCentre(plate.right() - height / 2.2, plate.center().y());
    paintLamp(p, lampCentre, lampRadius, lit);

    // The lettering is centred on the plate left of the lamp.
    const QRectF textBox(plate.left() + height / 3.0, plate.top(),
                         lampCentre.x() - lampRadius * 2 - plate.left() - height / 3.0,
                         plate.height());
    paintLettering(p, lettering, textBox, lit);
    return image;
}
