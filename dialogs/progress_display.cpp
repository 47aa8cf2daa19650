#include "dialogs/progress_display.h"

#include "widgets/label.h"

#include <QProgressBar>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kDefaultFrameMs = 16;
// A screen claiming an odd rate neither floods the window nor freezes it.
constexpr int kShortestFrameMs = 8;
constexpr int kLongestFrameMs = 50;
} // namespace

ProgressDisplay::ProgressDisplay(TAutoLabel& name, QProgressBar& bar)
    : QObject(&bar), nameLabel_(name), barWidget_(bar), name_(name.text()), bar_(bar.value())
{
    frame_.setSingleShot(true);
    frame_.setInterval(kDefaultFrameMs);
    connect(&frame_, &QTimer::timeout, this, &ProgressDisplay::frameEnded);
}

void ProgressDisplay::setFrameFromRefreshRate(qreal hertz)
{
    const int ms = hertz > 0 ? static_cast<int>(std::lround(1000.0 / hertz)) : kDefaultFrameMs;
    frame_.setInterval(std::clamp(ms, kShortestFrameMs, kLongestFrameMs));
}

void ProgressDisplay::setName(const QString& name)
{
    if (name == name_)
        return;
    name_ = name;
    changed();
}

void ProgressDisplay::setBar(int position)
{
    if (position == bar_)
        return;
    bar_ = position;
    changed();
}

void ProgressDisplay::changed()
{
    if (frame_.isActive()) {
        pending_ = true;
        return;
    }
    flush();
    frame_.start();
}

void ProgressDisplay::frameEnded()
{
    if (!pending_)
        return;
    flush();
    frame_.start();
}

void ProgressDisplay::flush()
{
    pending_ = false;
    if (nameLabel_.text() != name_)
        nameLabel_.setText(name_);
    barWidget_.setValue(bar_);
}
