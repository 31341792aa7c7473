#pragma once

#include "model/uGeometry.h"

class TKartenlayout;

// A pre-perforated card sheet: its size and the grid of card slots on it.
// It only ever holds one of two presets and follows the card type.
class TBogenlayout
{
public:
    TBogenlayout() { SetStandard(); }

    // Ten 85 x 55 mm cards on A4.
    void SetStandard();
    // Five unfolded 170 x 55 mm folding cards on A4.
    void SetFolding();

    // Top-left corner of the slot in that column and row, counted from 0.
    TSinglePoint SlotOrigin(int column, int row) const;

    bool operator==(const TBogenlayout &) const = default;

    float SheetWidth = 0; // mm
    float SheetHeight = 0;
    float CardWidth = 0;
    float CardHeight = 0;
    float MarginLeft = 0;
    float MarginTop = 0;
    float GapX = 0;
    float GapY = 0;
    int Columns = 0;
    int Rows = 0;
};

// True when the layout has to be turned a quarter turn onto the sheet's
// slots: one is portrait and the other landscape. A square one never turns.
bool IsLayoutRotated(const TKartenlayout &layout, const TBogenlayout &sheet);
