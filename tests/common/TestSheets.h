#pragma once

#include "model/uBogenkatalog.h"

// A sheet of the user's own, as many tests need one: twelve 63.5 x 50.8 mm
// cards, three across and four down, on US Letter.
inline TBogenlayout Letter3x4()
{
    TBogenlayout sheet;
    sheet.Name = QStringLiteral("Letter 3x4");
    sheet.SheetWidth = LetterWidth;
    sheet.SheetHeight = LetterHeight;
    sheet.CardWidth = 63.5f;
    sheet.CardHeight = 50.8f;
    sheet.Columns = 3;
    sheet.Rows = 4;
    sheet.MarginLeft = 9.525f;
    sheet.MarginTop = 19.05f;
    sheet.GapX = 66.675f - sheet.CardWidth;
    sheet.GapY = 63.5f - sheet.CardHeight;
    return sheet;
}
