#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QProgressBar;
class TAutoLabel;

// What the extraction window shows of a run: the name of the entry being
// extracted and the bar. An archive of small files reports thousands of
// entries a second, and painting each report cost twenty times the
// extraction itself, so the latest values reach the widgets at most once a
// screen frame: a change after a quiet frame is shown at once, changes within
// a frame are shown together when it ends. The window's messages are still
// processed at every report; only the painting is coalesced.
class ProgressDisplay : public QObject {
public:
    // Owned by the bar.
    ProgressDisplay(TAutoLabel& name, QProgressBar& bar);

    void setName(const QString& name);
    void setBar(int position);
    // The bar's latest position, shown or not.
    int bar() const { return bar_; }
    // The frame length, from the refresh rate of the window's screen.
    void setFrameFromRefreshRate(qreal hertz);
    // Shows the latest values now: before a box, and when a run ends.
    void flush();

private:
    void changed();
    void frameEnded();

    TAutoLabel& nameLabel_;
    QProgressBar& barWidget_;
    QString name_;
    int bar_;
    bool pending_ = false;
    QTimer frame_;
};
