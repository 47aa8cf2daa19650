#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

// A picture control: draws its picture unscaled from the top-left corner, shows
// a hint, and reports clicks and pointer movement. It takes every pointer move
// over it, so a move over a picture never reaches the window background.
class TImage : public QLabel {
    Q_OBJECT
public:
    TImage(QWidget* parent, const QRect& geometry, const QString& picture, const QString& hint);

signals:
    void clicked();
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
