#include "model/uBogenlayout.h"

#include "model/uKartenlayout.h"

#include <gtest/gtest.h>

namespace {

TEST(Bogenlayout, StartsAsTheStandardSheet)
{
    const TBogenlayout sheet;
    EXPECT_EQ(sheet.SheetWidth, 210);
    EXPECT_EQ(sheet.SheetHeight, 297);
    EXPECT_EQ(sheet.CardWidth, 85);
    EXPECT_EQ(sheet.CardHeight, 55);
    EXPECT_EQ(sheet.MarginLeft, 15);
    EXPECT_EQ(sheet.MarginTop, 10);
    EXPECT_EQ(sheet.GapX, 10);
    EXPECT_EQ(sheet.GapY, 0);
    EXPECT_EQ(sheet.Columns, 2);
    EXPECT_EQ(sheet.Rows, 5);
    // The slots fill the sheet's width exactly.
    EXPECT_EQ(sheet.MarginLeft * 2 + sheet.Columns * sheet.CardWidth + (sheet.Columns - 1) * sheet.GapX,
              sheet.SheetWidth);
}

TEST(Bogenlayout, FoldingPresetAndBack)
{
    TBogenlayout sheet;
    sheet.SetFolding();
    EXPECT_EQ(sheet.CardWidth, 170);
    EXPECT_EQ(sheet.MarginLeft, 20);
    EXPECT_EQ(sheet.GapX, 0);
    EXPECT_EQ(sheet.Columns, 1);
    EXPECT_EQ(sheet.Rows, 5);
    EXPECT_EQ(sheet.MarginLeft * 2 + sheet.CardWidth, sheet.SheetWidth);
    sheet.SetStandard();
    EXPECT_EQ(sheet, TBogenlayout());
}

TEST(Bogenlayout, SlotOrigins)
{
    TBogenlayout sheet;
    EXPECT_EQ(sheet.SlotOrigin(0, 0).X, 15);
    EXPECT_EQ(sheet.SlotOrigin(0, 0).Y, 10);
    EXPECT_EQ(sheet.SlotOrigin(1, 4).X, 110);
    EXPECT_EQ(sheet.SlotOrigin(1, 4).Y, 230);
    sheet.SetFolding();
    EXPECT_EQ(sheet.SlotOrigin(0, 4).X, 20);
    EXPECT_EQ(sheet.SlotOrigin(0, 4).Y, 230);
}

TEST(Bogenlayout, OnlyPortraitLayoutsTurnOntoTheSlots)
{
    const auto layoutOf = [](float width, float height) {
        auto layout = std::make_unique<TKartenlayout>();
        layout->DesignWidth = width;
        layout->DesignHeight = height;
        return layout;
    };
    TBogenlayout standard;
    TBogenlayout folding;
    folding.SetFolding();
    for (const TBogenlayout *sheet : {&standard, &folding}) {
        EXPECT_TRUE(IsLayoutRotated(*layoutOf(55, 85), *sheet));
        EXPECT_FALSE(IsLayoutRotated(*layoutOf(85, 55), *sheet));
        EXPECT_FALSE(IsLayoutRotated(*layoutOf(60, 60), *sheet));
    }
    // A portrait slot turns a landscape layout; a square slot turns nothing.
    TBogenlayout portrait;
    portrait.CardWidth = 55;
    portrait.CardHeight = 85;
    EXPECT_TRUE(IsLayoutRotated(*layoutOf(85, 55), portrait));
    EXPECT_FALSE(IsLayoutRotated(*layoutOf(55, 85), portrait));
    TBogenlayout square;
    square.CardWidth = square.CardHeight = 60;
    EXPECT_FALSE(IsLayoutRotated(*layoutOf(55, 85), square));
    EXPECT_FALSE(IsLayoutRotated(*layoutOf(85, 55), square));
}

} // namespace
