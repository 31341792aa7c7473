#include "model/uBogenlayout.h"

#include "common/OtherInstance.h"
#include "common/TestSheets.h"
#include "locale/uHMRegistry.h"
#include "model/uBogenkatalog.h"
#include "model/uDocument.h"
#include "model/uKartenlayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

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

namespace {

TEST(Bogenlayout, SheetsThatCannotBePrintedOnSayWhy)
{
    RegisterSheetTexts();
    EXPECT_EQ(CheckSheet(TBogenlayout()), TSheetProblem::None);
    EXPECT_EQ(CheckSheet(Letter3x4()), TSheetProblem::None);
    const std::pair<std::function<void(TBogenlayout &)>, TSheetProblem> cases[] = {
        {[](TBogenlayout &s) { s.Columns = 0; }, TSheetProblem::NoCards},
        {[](TBogenlayout &s) { s.Rows = -1; }, TSheetProblem::NoCards},
        {[](TBogenlayout &s) { s.SheetWidth = 0; }, TSheetProblem::PaperSize},
        {[](TBogenlayout &s) { s.SheetHeight = std::nanf(""); }, TSheetProblem::PaperSize},
        {[](TBogenlayout &s) { s.CardHeight = 5; }, TSheetProblem::CardSize},
        {[](TBogenlayout &s) { s.MarginTop = -1; }, TSheetProblem::Margin},
        {[](TBogenlayout &s) { s.GapX = -1; }, TSheetProblem::Overlap},
        {[](TBogenlayout &s) { s.GapY = -0.5f; }, TSheetProblem::Overlap},
        {[](TBogenlayout &s) { s.Columns = 1; s.GapX = -50; }, TSheetProblem::None}, // no neighbour to overlap
        {[](TBogenlayout &s) { s.MarginLeft = 31; }, TSheetProblem::BeyondPaper},
        {[](TBogenlayout &s) { s.Rows = 6; }, TSheetProblem::BeyondPaper},
        {[](TBogenlayout &s) { s.Columns = std::numeric_limits<int>::max(); }, TSheetProblem::BeyondPaper},
    };
    for (const auto &[change, problem] : cases) {
        TBogenlayout sheet;
        change(sheet);
        EXPECT_EQ(CheckSheet(sheet), problem) << SheetProblemText(sheet).toStdString();
        EXPECT_EQ(SheetProblemText(sheet).isEmpty(), problem == TSheetProblem::None);
    }

    TBogenlayout wide;
    wide.MarginLeft = 31;
    EXPECT_EQ(SheetProblemText(wide), QString::fromUtf8("Die Karten reichen über das Papier hinaus: sie brauchen "
                                                        "211 × 285 mm, das Papier ist 210 × 297 mm groß."));
    TBogenlayout overlapping;
    overlapping.GapX = -5;
    EXPECT_EQ(SheetProblemText(overlapping), QString::fromUtf8("Die Karten überlappen sich: von Karte zu Karte sind "
                                                               "es 80 × 55 mm, eine Karte ist aber 85 × 55 mm groß."));
}

TEST(Bogenlayout, LayoutsStretchToTheCardOfTheSheet)
{
    auto layout = std::make_unique<TKartenlayout>();
    layout->DesignWidth = 85;
    layout->DesignHeight = 55;
    auto portrait = std::make_unique<TKartenlayout>();
    portrait->DesignWidth = 55;
    portrait->DesignHeight = 85;
    TBogenlayout standard;
    TBogenlayout folding;
    folding.SetFolding();
    // Exactly 1 on the sheets the layouts were drawn for, turned or not.
    for (const TKartenlayout *l : {layout.get(), portrait.get()}) {
        EXPECT_EQ(LayoutScale(*l, standard, false).X, 1.0f);
        EXPECT_EQ(LayoutScale(*l, standard, false).Y, 1.0f);
        EXPECT_EQ(LayoutScale(*l, folding, true).X, 1.0f);
        EXPECT_EQ(LayoutScale(*l, folding, true).Y, 1.0f);
    }
    TBogenlayout letter;
    letter.CardWidth = 88.9f;
    letter.CardHeight = 50.8f;
    EXPECT_FLOAT_EQ(LayoutScale(*layout, letter, false).X, 88.9f / 85);
    EXPECT_FLOAT_EQ(LayoutScale(*layout, letter, false).Y, 50.8f / 55);
    // A portrait layout on that landscape slot fills it turned.
    EXPECT_FLOAT_EQ(LayoutScale(*portrait, letter, false).X, 50.8f / 55);
    EXPECT_FLOAT_EQ(LayoutScale(*portrait, letter, false).Y, 88.9f / 85);
}

TEST(Bogenkatalog, OffersThePresetsThenTheBuiltInSheets)
{
    Settings().EraseSection(QStringLiteral("Kartenboegen"));
    const TBogenkatalog katalog;
    // card W x H, columns x rows, left, top, pitch X, Y on paper W x H, card type
    struct TRow
    {
        float Paper[2], Card[2];
        int Grid[2];
        float Margin[2], Pitch[2];
        int Kartentyp;
    };
    const TRow rows[] = {
        {{210, 297}, {85, 55}, {2, 5}, {15, 10}, {95, 55}, 0},
        {{210, 297}, {170, 55}, {1, 5}, {20, 10}, {170, 55}, 1},
        {{210, 297}, {85, 54}, {2, 5}, {15, 13.5f}, {95, 54}, 0},
        {{210, 297}, {85, 54}, {2, 4}, {15, 13}, {95, 72}, 0},
        {{210, 297}, {90, 50}, {2, 5}, {15, 24}, {90, 50}, 0},
        {{210, 297}, {86, 54}, {2, 5}, {16, 11}, {91, 55.625f}, 0},
        {{LetterWidth, LetterHeight}, {88.9f, 50.8f}, {2, 5}, {19.05f, 12.7f}, {88.9f, 50.8f}, 0},
        {{LetterWidth, LetterHeight}, {88.9f, 50.8f}, {2, 4}, {12.7f, 19.05f}, {101.6f, 63.5f}, 0},
        {{210, 297}, {170, 54}, {1, 5}, {20, 13.5f}, {170, 54}, 1},
    };
    ASSERT_EQ(katalog.Sheets().size(), qsizetype(std::size(rows)));
    for (qsizetype i = 0; i < katalog.Sheets().size(); ++i) {
        SCOPED_TRACE(i);
        const TBogenEintrag &entry = katalog.Sheets().at(i);
        const TRow &row = rows[i];
        EXPECT_FALSE(entry.Eigener);
        EXPECT_EQ(entry.Kartentyp, row.Kartentyp);
        EXPECT_EQ(CheckSheet(entry.Bogen), TSheetProblem::None);
        const TBogenlayout &s = entry.Bogen;
        EXPECT_EQ((std::vector<float>{s.SheetWidth, s.SheetHeight, s.CardWidth, s.CardHeight, s.MarginLeft,
                                      s.MarginTop}),
                  (std::vector<float>{row.Paper[0], row.Paper[1], row.Card[0], row.Card[1], row.Margin[0],
                                      row.Margin[1]}));
        EXPECT_EQ(s.Columns, row.Grid[0]);
        EXPECT_EQ(s.Rows, row.Grid[1]);
        EXPECT_NEAR(s.PitchX(), row.Pitch[0], 1e-4);
        EXPECT_NEAR(s.PitchY(), row.Pitch[1], 1e-4);
    }
    EXPECT_EQ(katalog.Sheets().at(0).Bogen, TBogenlayout());
}

TEST(Bogenkatalog, OwnSheetsAreKeptByNameInTheSettings)
{
    Settings().EraseSection(QStringLiteral("Kartenboegen"));
    const qsizetype builtIn = TBogenkatalog().Sheets().size();
    {
        TBogenkatalog katalog;
        TBogenEintrag own{Letter3x4(), TDocument::Standardkarte, true};
        katalog.SaveCustom(own);
        own.Bogen.MarginTop = 20;
        katalog.SaveCustom(own); // the same name: replaced
        TBogenEintrag other{TBogenlayout(), TDocument::Klappkarte, true};
        other.Bogen.SetFolding();
        other.Bogen.Name = QStringLiteral("Falz");
        katalog.SaveCustom(other);
    }
    TBogenkatalog katalog;
    ASSERT_EQ(katalog.Sheets().size(), builtIn + 2);
    const int own = katalog.IndexOfCustom(QStringLiteral("Letter 3x4"));
    ASSERT_GE(own, 0);
    EXPECT_EQ(katalog.Sheets().at(own).Bogen.MarginTop, 20);
    EXPECT_EQ(katalog.Sheets().at(own).Kartentyp, TDocument::Standardkarte);
    EXPECT_EQ(katalog.Sheets().at(katalog.IndexOfCustom(QStringLiteral("Falz"))).Kartentyp, TDocument::Klappkarte);

    katalog.RemoveCustom(QStringLiteral("Letter 3x4"));
    EXPECT_EQ(TBogenkatalog().IndexOfCustom(QStringLiteral("Letter 3x4")), -1);
    EXPECT_GE(TBogenkatalog().IndexOfCustom(QStringLiteral("Falz")), 0);
    Settings().EraseSection(QStringLiteral("Kartenboegen"));
}

// Two instances of the program, each with the catalogue it read at its
// start: a sheet one saves or removes leaves the other's sheets alone.
TEST(Bogenkatalog, OwnSheetsOfTwoInstancesAreAllKept)
{
    Settings().EraseSection(QStringLiteral("Kartenboegen"));
    Settings().Flush();
    TOtherInstance other;
    TBogenkatalog mine;
    TBogenkatalog theirs(other.Settings());
    const auto own = [](const char *name) {
        TBogenEintrag entry{Letter3x4(), TDocument::Standardkarte, true};
        entry.Bogen.Name = QString::fromUtf8(name);
        return entry;
    };
    mine.SaveCustom(own("Eins"));
    theirs.SaveCustom(own("Zwei"));
    mine.SaveCustom(own("Drei"));
    theirs.RemoveCustom(QStringLiteral("Eins"));
    EXPECT_GE(mine.IndexOfCustom(QStringLiteral("Zwei")), 0) << "the other's sheet is not offered";

    TOtherInstance next;
    const TBogenkatalog stored(next.Settings());
    EXPECT_EQ(stored.IndexOfCustom(QStringLiteral("Eins")), -1);
    EXPECT_GE(stored.IndexOfCustom(QStringLiteral("Zwei")), 0);
    EXPECT_GE(stored.IndexOfCustom(QStringLiteral("Drei")), 0);
    Settings().Update([] { Settings().EraseSection(QStringLiteral("Kartenboegen")); });
}

} // namespace
