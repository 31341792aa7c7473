#include "model/uBogenlayout.h"

#include "model/uKartenlayout.h"

void TBogenlayout::SetStandard()
{
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
