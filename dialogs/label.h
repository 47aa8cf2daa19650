#pragma once

#include <QColor>
#include <QLabel>
#include <QPoint>
#include <QString>

// A label that sizes itself to its caption, text in the given colour on black.
class TCaptionLabel : public QLabel {
    Q_OBJECT
public:
    TCaptionLabel(QWidget* parent, const QPoint& position, const QString& caption, const QColor& text);

    void SetCaption(const QString& caption);
    void SetTextColor(const QColor& color);
    QColor TextColor() const;
};
