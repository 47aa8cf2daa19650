#pragma once

// One step of a progress control: a position that passes the end of the
// range starts again from the beginning, keeping what went past the end.
constexpr int SteppedPosition(int position, int step, int minimum, int maximum)
{
    const int next = position + step;
    if (next <= maximum || maximum <= minimum)
        return next > maximum ? maximum : next;
    return minimum + (next - minimum) % (maximum - minimum);
}
