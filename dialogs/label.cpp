#include "dialogs/label.h"

TLabel::TLabel(QWidget* parent, const QPoint& position, const QString& caption,
               const QColor& text)
    : QLabel(parent)
{
    move(position);
    setTextFormat(Qt::PlainText);
    SetTextColor(text);
    SetCaption(caption);
}

void TLabel::SetCaption(const QString& caption)
{
    setText(caption);
    adjustSize();
}

void TLabel::SetTextColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
}

QColor TLabel::TextColor() const
{
    return palette().color(QPalette::WindowText);
}
