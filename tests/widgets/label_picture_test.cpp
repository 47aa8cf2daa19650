#include "widgets/label.h"
#include "widgets/layout_font.h"
#include "widgets/picture.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A label's rendering of `text`, white on black.
QImage rendered(const QString& text, bool showAccelChar = true)
{
    QWidget parent;
    TAutoLabel label(&parent);
    label.setShowAccelChar(showAccelChar);
    label.setFont(layoutFont());
    label.setTextColour(Qt::white);
    label.setBackground(Qt::black);
    label.setText(text);
    return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The text drawn plainly as a label places it: the layout font's 13-pixel
// line keeps one pixel of leading above the letters.
constexpr int kLeading = 1;

QImage drawnPlain(const QString& text, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(layoutFont());
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, kLeading), size),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    return image;
}

TEST(LabelTest, DoubleAmpersandShowsOneAmpersand)
{
    const QImage label = rendered(QStringLiteral("R&&D"));
    EXPECT_EQ(label, drawnPlain(QStringLiteral("R&D"), label.size()));
}

TEST(LabelTest, AmpersandUnderlinesTheNextCharacterAndIsNotShown)
{
    const QImage label = rendered(QStringLiteral("&Go"));
    const QImage plain = drawnPlain(QStringLiteral("Go"), label.size());
    EXPECT_EQ(label.width(), rendered(QStringLiteral("Go")).width());
    const int baseline = kLeading + QFontMetrics(layoutFont()).ascent();
    // Identical above the baseline; the underline differs below it.
    EXPECT_EQ(label.copy(0, 0, label.width(), baseline), plain.copy(0, 0, plain.width(), baseline));
    EXPECT_NE(label, plain);
}

TEST(LabelTest, WithoutAccelCharsTheTextShowsAsItStands)
{
    for (const char* text : {"R&&D", "&Go", "Tom & Jerry", "end&"}) {
        const QString caption = QString::fromLatin1(text);
        const QImage label = rendered(caption, false);
        // As wide as the same text with every "&" doubled where "&" is special.
        QString escaped = caption;
        escaped.replace(u'&', QStringLiteral("&&"));
        EXPECT_EQ(label.size(), rendered(escaped).size()) << text;
        EXPECT_EQ(label, drawnPlain(caption, label.size())) << text;
    }
}

TEST(LabelTest, TurningAccelCharsOffResizesToTheWholeText)
{
    QWidget parent;
    TAutoLabel label(&parent, QPoint(3, 4), QStringLiteral("a&&b"), Qt::white);
    label.setFont(layoutFont());
    const int withAccelChars = label.width();
    label.setShowAccelChar(false);
    EXPECT_GT(label.width(), withAccelChars);
    EXPECT_EQ(label.pos(), QPoint(3, 4));
    EXPECT_EQ(label.textColour(), QColor(Qt::white));
}

TEST(LabelTest, AutoSizeFollowsTextAndFontUntilTheWidthIsSet)
{
    QWidget parent;
    TAutoLabel label(&parent);
    label.setFont(layoutFont());
    label.setText(QStringLiteral("wide text"));
    const QSize small = label.size();
    QFont big = layoutFont();
    big.setPixelSize(40);
    label.setFont(big);
    EXPECT_GT(label.height(), small.height());
    EXPECT_GT(label.width(), small.width());
    label.setAutoSize(false);
    label.resize(520, label.height());
    label.setText(QStringLiteral("x"));
    EXPECT_EQ(label.width(), 520);
}

TEST(PictureTest, CornerColourBecomesTransparentEverywhere)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(1, 0, qRgb(200, 0, 0));
    const QImage shown = withCornerColourTransparent(picture);
    EXPECT_EQ(qAlpha(shown.pixel(0, 1)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(2, 0)), 0);
    EXPECT_EQ(shown.pixel(1, 0), qRgba(200, 0, 0, 255));
}

} // namespace
