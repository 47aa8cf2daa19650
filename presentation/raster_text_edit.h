#pragma once

#include <QPlainTextEdit>

// A plain text editor for a raster font. On a screen of more than one device
// pixel per logical pixel, a raster font keeps its native glyphs inside cells
// that grow with the screen, so the text shrinks and line art falls apart.
// This editor then lays its visible text out at one device pixel per logical
// pixel and enlarges that picture without smoothing: at 2x each glyph pixel
// becomes 2 x 2 device pixels and line characters still join. At 1x it
// paints as a plain text editor does.
class RasterTextEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage visibleTextAtOneToOne() const;
};
