#include "presentation/raster_text_edit.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

void RasterTextEdit::paintEvent(QPaintEvent* event)
{
    if (viewport()->devicePixelRatioF() == 1.0) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(viewport()->rect(), visibleTextAtOneToOne());
}

// The visible blocks drawn as the editor's own painting places them, on the
// editor's base colour, into an image of one pixel per logical pixel.
QImage RasterTextEdit::visibleTextAtOneToOne() const
{
    QImage picture(viewport()->size(), QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Base));
    QPainter painter(&picture);
    painter.setPen(palette().color(QPalette::Text));
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF bounds = blockBoundingRect(block).translated(offset);
        if (bounds.top() > picture.height())
            break;
        if (block.isVisible() && block.layout())
            block.layout()->draw(&painter, offset);
        offset.ry() += bounds.height();
    }
    return picture;
}
