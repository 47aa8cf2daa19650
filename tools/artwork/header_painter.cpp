#include "header_painter.h"

#include "palette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

using namespace artwork_palette;

namespace {

QPainterPath textPath(const QString& text, const QFont& font, const QRectF& box)
{
    const QFontMetricsF metrics(font);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    return path.translated(box.center() - bounds.center());
}

void paintPlate(QPainter& p, const QRectF& plate)
{
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, kPlateTop);
    fill.setColorAt(0.5, kPlateBottom.lighter(130));
    fill.setColorAt(1.0, kPlateBottom);
    p.setPen(QPen(kRim, 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(plate, 22, 22);

    // Fine horizontal grooves, as on brushed metal.
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(plate.adjusted(2, 2, -2, -2), 20, 20);
    p.setClipPath(clip);
    for (qreal y = plate.top() + 3; y < plate.bottom(); y += 3)
        p.fillRect(QRectF(plate.left(), y, plate.width(), 1), QColor(0, 0, 0, 40));
    QLinearGradient gloss(plate.topLeft(),
                          QPointF(plate.left(), plate.top() + plate.height() * 0.45));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 46));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(plate.left(), plate.top(), plate.width(), plate.height() * 0.45), gloss);
    p.restore();
}

void paintTitle(QPainter& p, const QRectF& box)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(box.height() * 0.9));
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    const QPainterPath glyphs = textPath(QStringLiteral("ZENKOR"), font, box);

    // Red glow behind the lettering.
    for (int width = 14; width >= 4; width -= 2)
        p.strokePath(glyphs, QPen(QColor(230, 20, 20, 16), width, Qt::SolidLine, Qt::RoundCap,
                                  Qt::RoundJoin));
    p.strokePath(glyphs.translated(2, 3), QPen(QColor(0, 0, 0, 220), 3));
    p.fillPath(glyphs.translated(2, 3), QColor(0, 0, 0, 220));

    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, kRedHot);
    fill.setColorAt(0.48, kRed);
    fill.setColorAt(0.52, kRedDim);
    fill.setColorAt(1.0, kRed.darker(115));
    p.fillPath(glyphs, fill);
    p.strokePath(glyphs, QPen(QColor(40, 0, 0), 1.2));
}

void paintSubtitle(QPainter& p, const QRectF& box)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(box.height() * 0.8));
    font.setLetterSpacing(QFont::AbsoluteSpacing, box.height() * 0.55);
    const QPainterPath glyphs = textPath(QStringLiteral("INSTALLER"), font, box);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, QColor(225, 225, 232));
    fill.setColorAt(1.0, QColor(130, 130, 140));
    p.fillPath(glyphs.translated(1, 1), QColor(0, 0, 0, 200));
    p.fillPath(glyphs, fill);
}

// A thin red rule with a bright spot, between the title and the subtitle.
void paintRule(QPainter& p, qreal left, qreal right, qreal y)
{
    QLinearGradient line(QPointF(left, y), QPointF(right, y));
    line.setColorAt(0.0, QColor(214, 28, 32, 0));
    line.setColorAt(0.5, kRed);
    line.setColorAt(1.0, QColor(214, 28, 32, 0));
    p.fillRect(QRectF(left, y, right - left, 2), line);
    const QPointF spot((left + right) / 2, y + 1);
    QRadialGradient flare(spot, 18);
    flare.setColorAt(0.0, QColor(255, 200, 180, 200));
    flare.setColorAt(1.0, QColor(255, 60, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(flare);
    p.drawEllipse(spot, 30, 6);
}

} // namespace

QImage paintHeader(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF plate(6.5, 10.5, 496, 128);
    paintPlate(p, plate);
    paintTitle(p, QRectF(plate.left() + 24, plate.top() + 10, plate.width() - 48, 74));
    paintRule(p, plate.left() + 40, plate.right() - 40, plate.top() + 92);
    paintSubtitle(p, QRectF(plate.left() + 24, plate.top() + 100, plate.width() - 48, 18));
    p.end();

    // The window keys transparency on this corner's colour.
    image.setPixel(0, height - 1, qRgb(0, 0, 0));
    return image;
}
