#pragma once

#include <QImage>
#include <QWidget>

// A picture control: draws its picture unscaled from the top-left corner,
// clipped to the control. A transparent picture leaves out every pixel of
// the colour of its bottom-left pixel. Reports pointer moves and clicks; it
// takes every pointer move over it, so none reaches the window behind.
class TPicture : public QWidget {
    Q_OBJECT
public:
    explicit TPicture(QWidget* parent = nullptr);
    // Placed at `geometry`, showing the image file at `path` (a built-in
    // artwork picture may be replaced beside the executable), with a hint.
    TPicture(QWidget* parent, const QRect& geometry, const QString& path, const QString& hint = {});

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setTransparent(bool transparent);
    bool isTransparent() const { return transparent_; }

signals:
    void mouseMoved();
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void rebuildShown();

    QImage picture_;
    QImage shown_;
    bool transparent_ = false;
    bool pressed_ = false;
};

// The picture with the colour of its bottom-left pixel made fully transparent.
QImage withCornerColourTransparent(const QImage& picture);
