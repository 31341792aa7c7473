#include "model/uBogenlayout.h"

#include "model/uKartenlayout.h"

#include <cmath>

namespace {

// A sheet read from a file is measured in hundredths; what rounding leaves
// behind is no overlap and does not run off the paper.
constexpr float Tolerance = 0.005f;

bool Within(float value, float low, float high)
{
    return std::isfinite(value) && value >= low && value <= high;
}

} // namespace

void TBogenlayout::SetStandard()
{
    Name = QStringLiteral("A4 85x55 2x5");
    SheetWidth = 210;
    SheetHeight = 297;
    CardWidth = 85;
    CardHeight = 55;
    MarginLeft = 15;
    MarginTop = 10;
    GapX = 10;
    GapY = 0;
    Columns = 2;
    Rows = 5;
}

void TBogenlayout::SetFolding()
{
    Name = QStringLiteral("A4 170x55 1x5");
    SheetWidth = 210;
    SheetHeight = 297;
    CardWidth = 170;
    CardHeight = 55;
    MarginLeft = 20;
    MarginTop = 10;
    GapX = 0;
    GapY = 0;
    Columns = 1;
    Rows = 5;
}

TSinglePoint TBogenlayout::SlotOrigin(int column, int row) const
{
    return {MarginLeft + float(column) * (CardWidth + GapX), MarginTop + float(row) * (CardHeight + GapY)};
}

bool IsLayoutRotated(const TKartenlayout &layout, const TBogenlayout &sheet)
{
    const bool layoutPortrait = layout.DesignWidth < layout.DesignHeight;
    const bool layoutLandscape = layout.DesignWidth > layout.DesignHeight;
    const bool slotPortrait = sheet.CardWidth < sheet.CardHeight;
    const bool slotLandscape = sheet.CardWidth > sheet.CardHeight;
    return (layoutPortrait && slotLandscape) || (layoutLandscape && slotPortrait);
}

TSinglePoint CardFace(const TKartenlayout &layout, const TBogenlayout &sheet, bool folding)
{
    const float along = folding ? sheet.CardWidth / 2 : sheet.CardWidth;
    if (IsLayoutRotated(layout, sheet))
        return {sheet.CardHeight, along};
    return {along, sheet.CardHeight};
}

TSinglePoint LayoutScale(const TKartenlayout &layout, const TBogenlayout &sheet, bool folding)
{
    if (layout.DesignWidth <= 0 || layout.DesignHeight <= 0)
        return {1, 1};
    const TSinglePoint face = CardFace(layout, sheet, folding);
    return {face.X / layout.DesignWidth, face.Y / layout.DesignHeight};
}

TSinglePoint CardsExtent(const TBogenlayout &sheet)
{
    const TSinglePoint last = sheet.SlotOrigin(sheet.Columns - 1, sheet.Rows - 1);
    return {last.X + sheet.CardWidth, last.Y + sheet.CardHeight};
}

TSheetProblem CheckSheet(const TBogenlayout &sheet)
{
    if (sheet.Columns < 1 || sheet.Rows < 1)
        return TSheetProblem::NoCards;
    if (!Within(sheet.SheetWidth, MinPaper, MaxPaper) || !Within(sheet.SheetHeight, MinPaper, MaxPaper))
        return TSheetProblem::PaperSize;
    if (!Within(sheet.CardWidth, MinCard, MaxPaper) || !Within(sheet.CardHeight, MinCard, MaxPaper))
        return TSheetProblem::CardSize;
    if (!Within(sheet.MarginLeft, 0, MaxPaper) || !Within(sheet.MarginTop, 0, MaxPaper))
        return TSheetProblem::Margin;
    // A pitch only matters where there is a next card.
    if ((sheet.Columns > 1 && !(sheet.GapX >= -Tolerance)) || (sheet.Rows > 1 && !(sheet.GapY >= -Tolerance)))
        return TSheetProblem::Overlap;
    const TSinglePoint extent = CardsExtent(sheet);
    if (!(extent.X <= sheet.SheetWidth + Tolerance) || !(extent.Y <= sheet.SheetHeight + Tolerance))
        return TSheetProblem::BeyondPaper;
    return TSheetProblem::None;
}
