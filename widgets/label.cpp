#include "widgets/label.h"

#include "widgets/layout_font.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

TAutoLabel::TAutoLabel(QWidget* parent) : QWidget(parent)
{
    // The window's move handler must not run over a label.
    setAttribute(Qt::WA_NoMousePropagation);
    adjustToText();
}

TAutoLabel::TAutoLabel(QWidget* parent, const QPoint& position, const QString& text,
                       const QColor& textColour)
    : TAutoLabel(parent)
{
    move(position);
    setTextColour(textColour);
    setText(text);
}

void TAutoLabel::setText(const QString& text)
{
    text_ = text;
    adjustToText();
    update();
}

void TAutoLabel::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    adjustToText();
}

void TAutoLabel::setShowAccelChar(bool showAccelChar)
{
    showAccelChar_ = showAccelChar;
    adjustToText();
    update();
}

int TAutoLabel::textFlags() const
{
    return Qt::TextSingleLine | (showAccelChar_ ? Qt::TextShowMnemonic : 0);
}

void TAutoLabel::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

void TAutoLabel::setBackground(const QColor& colour)
{
    background_ = colour;
    parentColor_ = false;
    update();
}

void TAutoLabel::setParentColor(bool parentColor)
{
    parentColor_ = parentColor;
    update();
}

QColor TAutoLabel::backgroundShown() const
{
    if (!parentColor_ || !parentWidget())
        return background_;
    return parentWidget()->palette().color(parentWidget()->backgroundRole());
}

void TAutoLabel::setTextColour(const QColor& colour)
{
    textColour_ = colour;
    update();
}

QSize TAutoLabel::textExtent() const
{
    const QFontMetrics metrics(font());
    // An empty text still takes one line's height.
    return {metrics.size(textFlags(), text_).width(), layoutLineHeight(font())};
}

void TAutoLabel::adjustToText()
{
    if (autoSize_)
        resize(textExtent());
}

void TAutoLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!parentColor_)
        painter.fillRect(rect(), background_);
    painter.setPen(textColour_);
    // The line's extra leading lies above the letters, as in the design font.
    const int leading = layoutLineHeight(font()) - fontMetrics().height();
    painter.drawText(rect().adjusted(0, leading, 0, 0),
                     int(alignment_ | Qt::AlignTop) | textFlags(), text_);
}

void TAutoLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        adjustToText();
    QWidget::changeEvent(event);
}

void TAutoLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}
