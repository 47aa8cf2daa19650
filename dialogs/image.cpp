#include "dialogs/image.h"

#include <QMouseEvent>
#include <QPixmap>

TImage::TImage(QWidget* parent, const QRect& geometry, const QString& picture,
               const QString& hint)
    : QLabel(parent)
{
    setGeometry(geometry);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setPixmap(QPixmap(picture));
    setToolTip(hint);
    setMouseTracking(true);
}

void TImage::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseMoved();
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
