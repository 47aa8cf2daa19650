#include "dialogs/label.h"

TCaptionLabel::TCaptionLabel(QWidget* parent, const QPoint& position, const QString& caption,
               const QColor& text)
    : QLabel(parent)
{
    move(position);
    setTextFormat(Qt::PlainText);
    SetTextColor(text);
    SetCaption(caption);
}

void TCaptionLabel::SetCaption(const QString& caption)
{
    setText(caption);
    adjustSize();
}

void TCaptionLabel::SetTextColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
}

QColor TCaptionLabel::TextColor() const
{
    return palette().color(QPalette::WindowText);
}
