#pragma once

#include <vector>

class TBogenlayout;
class TScaleCanvas;

// A millimetre scale across one outline edge of a slot on the test page. Held
// against the light over a card sheet, the perforation shows how far the
// print lies off it: the value read there is what the print has to move by,
// positive to the right and downwards, as the print-position correction counts.
struct TEdgeScale
{
    enum class TAxis { X, Y };

    // X: a scale along x, across a vertical edge; Y: along y, across a horizontal one.
    TAxis Axis;
    float Edge;   // mm from the paper's corner: the outline the zero tick lies on
    float Across; // mm from the paper's corner: where along that edge the scale lies

    // Ticks every Step from -Reach to +Reach; every whole millimetre is labelled.
    static constexpr float Reach = 5;
    static constexpr float Step = 0.5f;
};

// Two scales on the first slot, across its left and top edges, and two on the
// last, across its right and bottom edges; each at the middle of its edge,
// so that the outer perforations of the sheet are read and a print that is
// stretched or skewed shows as different readings at either end.
std::vector<TEdgeScale> EdgeScales(const TBogenlayout &sheet);

// Draws the scale on a white band, in paper millimetres: the canvas's card
// offsets must be 0, its print offsets move the scale with the print.
void DrawEdgeScale(TScaleCanvas &canvas, const TEdgeScale &scale);
