#include "presentation/raster_memo.h"

#include <QImage>
#include <QAbstractTextDocumentLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

TRasterMemo::TRasterMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void TRasterMemo::paintEvent(QPaintEvent* event)
{
    QWidget* area = viewport();
    if (area->devicePixelRatioF() == 1.0) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    // The whole text area at logical size, so that partial repaints at
    // fractional ratios sample the picture with the same phase as whole ones.
    QImage logical(area->size(), QImage::Format_RGB32);
    logical.fill(area->palette().color(area->backgroundRole()));
    {
        QPainter painter(&logical);
        drawText(painter);
    }
    QPainter painter(area);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRegion(event->region());
    painter.drawImage(area->rect(), logical);
}

void TRasterMemo::drawText(QPainter& painter)
{
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());
    const bool caretShown =
        textInteractionFlags() & (Qt::TextEditable | Qt::TextSelectableByKeyboard);
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock();
         block.isValid() && offset.y() <= viewport()->height(); block = block.next()) {
        if (!block.isVisible())
            continue;
        const int start = block.position();
        const int length = block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const QAbstractTextDocumentLayout::Selection& selection : context.selections) {
            const int from = selection.cursor.selectionStart() - start;
            const int to = selection.cursor.selectionEnd() - start;
            if (from < length && to > 0 && to > from)
                selections.append({from, to - from, selection.format});
        }
        QTextLayout* layout = block.layout();
        layout->draw(&painter, offset, selections, viewport()->rect());
        if (caretShown && context.cursorPosition >= start &&
            context.cursorPosition < start + length)
            layout->drawCursor(&painter, offset, context.cursorPosition - start, cursorWidth());
        offset.ry() += blockBoundingRect(block).height();
    }
}
