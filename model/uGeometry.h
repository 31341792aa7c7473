#pragma once

#include <algorithm>

// Millimetre geometry shared by the card model and the drawing code: origin at
// the top-left corner, y growing downward.
struct TSinglePoint
{
    float X, Y;
};

struct TSingleRect
{
    float Left, Top, Right, Bottom;
};

// Whether the two rectangles share more than Margin millimetres both ways.
inline bool Overlap(const TSingleRect &a, const TSingleRect &b, float margin = 0)
{
    return std::min(a.Right, b.Right) - std::max(a.Left, b.Left) > margin &&
           std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top) > margin;
}
