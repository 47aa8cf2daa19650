#include "widgets/picture.h"

#include "widgets/branded_artwork.h"

#include <QMouseEvent>
#include <QPainter>

TPicture::TPicture(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

TPicture::TPicture(QWidget* parent, const QRect& geometry, const QString& path, const QString& hint)
    : TPicture(parent)
{
    setGeometry(geometry);
    setPicture(artworkImage(path));
    setToolTip(hint);
}

void TPicture::setPicture(const QImage& picture)
{
    picture_ = picture;
    rebuildShown();
}

void TPicture::setTransparent(bool transparent)
{
    transparent_ = transparent;
    rebuildShown();
}

void TPicture::rebuildShown()
{
    shown_ = transparent_ ? withCornerColourTransparent(picture_) : picture_;
    update();
}

void TPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), shown_);
}

void TPicture::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseMoved();
}

void TPicture::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a left press and release both on the control.
void TPicture::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

QImage withCornerColourTransparent(const QImage& picture)
{
    if (picture.isNull())
        return picture;
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return result;
}
