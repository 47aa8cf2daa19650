#pragma once

#include <QPlainTextEdit>

// A plain text box for a raster font. A raster font has glyphs of one pixel
// size only, so on a screen with more device pixels per logical pixel its
// glyphs would stay small inside cells laid out at the logical size, and
// line characters would no longer meet. This box draws its text at one
// device pixel per logical pixel and enlarges the picture without smoothing:
// each glyph pixel covers 2 x 2 device pixels at twice the density, and at
// ratios between whole numbers 1 or 2 device pixels in turn, so every cell
// is filled and line art joins as at 1x.
class TRasterMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TRasterMemo(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The visible text, its selection and the caret, in logical pixels.
    void drawText(QPainter& painter);
};
