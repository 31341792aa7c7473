#pragma once

#include "model/uGeometry.h"

#include <QString>

class TKartenlayout;

// A pre-perforated card sheet: its paper and the grid of card slots on it.
// The two presets are the sheets of the two card types; any other sheet
// comes from the sheet catalogue, a custom sheet or a card file.
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
    // From one card to the next: card and gap.
    float PitchX() const { return CardWidth + GapX; }
    float PitchY() const { return CardHeight + GapY; }
    int Cards() const { return Columns * Rows; }

    bool operator==(const TBogenlayout &) const = default;

    // The sheet's identity in card files and settings: a catalogue sheet's
    // name spells out its geometry, a custom sheet carries the user's name.
    QString Name;
    float SheetWidth = 0; // mm, the paper
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

// The card a layout is drawn as: a slot of the sheet, unfolded when Folding.
struct TCardFormat
{
    TBogenlayout Sheet;
    bool Folding = false;
};

// True when the layout has to be turned a quarter turn onto the sheet's
// slots: one is portrait and the other landscape. A square one never turns.
bool IsLayoutRotated(const TKartenlayout &layout, const TBogenlayout &sheet);

// The card face the layout's figures are drawn on, in the layout's own
// orientation: a slot, or half of it for a folding card.
TSinglePoint CardFace(const TKartenlayout &layout, const TBogenlayout &sheet, bool folding);
// How far the layout's figures stretch to fill that face: x by the width
// ratio, y by the height ratio; exactly 1 on the size it was drawn for.
TSinglePoint LayoutScale(const TKartenlayout &layout, const TBogenlayout &sheet, bool folding);

// Why a sheet cannot be printed on.
enum class TSheetProblem {
    None,
    NoCards,     // no column or no row
    PaperSize,   // paper outside MinPaper .. MaxPaper
    CardSize,    // a card smaller than MinCard
    Margin,      // a negative margin
    Overlap,     // the pitch is smaller than the card
    BeyondPaper, // the last column or row ends beyond the paper
};

inline constexpr float MinPaper = 50;  // mm
inline constexpr float MaxPaper = 600; // mm
inline constexpr float MinCard = 10;   // mm

TSheetProblem CheckSheet(const TBogenlayout &sheet);
// The corner of the paper the cards reach: the last slot's bottom right.
TSinglePoint CardsExtent(const TBogenlayout &sheet);
