#pragma once

#include "widgets/hover_twins.h"

#include <QDialog>

class TAutoLabel;
class TPicture;

// A modal window whose background reports pointer movement. Moves over a child
// control reach the background only when the control ignores them (labels,
// static texts); those are filtered out, so only the bare background counts.
class HoverWindow : public QDialog {
    Q_OBJECT
public:
    explicit HoverWindow(QWidget* parent = nullptr);

    void done(int result) override;
    // Centred on the screen of the window it belongs to at the first
    // showing; later showings keep the place the window had when it was
    // last hidden.
    void setVisible(bool visible) override;

signals:
    void backgroundMouseMoved();

protected:
    // Tool-window frame with a close box, black client area of the given size,
    // the installer's layout font.
    void setUpToolWindow(const QString& caption, const QSize& clientSize, bool sizable);
    // An auto-sized label in white; its caption, a name or a path, shows as it stands.
    TAutoLabel* addLabel(const QPoint& position, const QString& caption);
    // The lit twins of the window's picture buttons; the pointer handlers
    // show the one of the button under the pointer, or none over the
    // background (nullptr).
    void setLitTwins(std::initializer_list<TPicture*> litTwins) { twins_.setTwins(litTwins); }
    void showOnlyTwin(TPicture* lit) { twins_.showOnly(lit); }
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Enter and Esc run enterPressed() and escapePressed(), which do nothing
    // unless a window gives them a button to stand for; neither closes the
    // window by itself.
    void keyPressEvent(QKeyEvent* event) override;
    virtual void enterPressed() {}
    virtual void escapePressed() {}
    // The close box ends the window with 2 unless a subclass says otherwise.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

    virtual void closeBoxClicked();

private:
    HoverTwins twins_{*this};
    bool closingWithResult_ = false;
    bool placed_ = false;
    QPoint lastPlace_;
};
