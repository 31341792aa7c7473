#pragma once

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
