#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A label control. An auto-sizing label fits itself to one line of its text
// in its font whenever the text or the font changes; the width may then be
// set explicitly. "&" underlines the next character and is not shown, "&&"
// shows one "&", unless the label shows its text as it stands. A label with
// the parent's colour paints no background of its own, so the window's
// colour shows through. Pointer moves over a label run no handler of the
// window.
class TAutoLabel : public QWidget {
    Q_OBJECT
public:
    explicit TAutoLabel(QWidget* parent = nullptr);
    // Auto-sized at `position`, showing `text` in `textColour`.
    TAutoLabel(QWidget* parent, const QPoint& position, const QString& text,
               const QColor& textColour);

    void setText(const QString& text);
    const QString& text() const { return text_; }

    void setAutoSize(bool autoSize);
    // Off: "&" is an ordinary character, as in file names and paths.
    void setShowAccelChar(bool showAccelChar);
    bool showsAccelChar() const { return showAccelChar_; }
    void setAlignment(Qt::Alignment alignment);

    // A colour of its own; clears the parent-colour flag.
    void setBackground(const QColor& colour);
    void setParentColor(bool parentColor);
    bool hasParentColor() const { return parentColor_; }
    // What shows behind the text: its own colour or the parent's.
    QColor backgroundShown() const;

    void setTextColour(const QColor& colour);
    const QColor& textColour() const { return textColour_; }

    // The label's size for its text in its font.
    QSize textExtent() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void adjustToText();
    int textFlags() const;

    QString text_;
    bool autoSize_ = true;
    bool showAccelChar_ = true;
    bool parentColor_ = true;
    QColor background_;
    QColor textColour_ = Qt::black;
    Qt::Alignment alignment_ = Qt::AlignLeft;
};
