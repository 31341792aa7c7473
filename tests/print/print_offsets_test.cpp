#include "locale/uHMRegistry.h"
#include "print/uPrintOffsets.h"
#include "print/uPrintTexts.h"

#include <gtest/gtest.h>

namespace {

TPrintOffsets Press(TPrintOffsets offsets, TOffsetMove move, int times)
{
    for (int i = 0; i < times; ++i)
        offsets = MovePrintOffsets(offsets, move);
    return offsets;
}

QString Formatted(const char *key, double value)
{
    return FormatPrintText(QString::fromLatin1(key), {value});
}

} // namespace

TEST(PrintOffsets, StepsHoldAtTwentyMillimetres)
{
    RegisterPrintTexts();
    TPrintOffsets offsets = Press({}, TOffsetMove::Left, 40);
    EXPECT_EQ(offsets.X, -20.0f);
    EXPECT_EQ(ShowPrintOffsets(offsets).X, Formatted("ID_DRUCKPOS2", 20.0));
    EXPECT_TRUE(ShowPrintOffsets(offsets).X.startsWith(QStringLiteral("Ausdruck um 20")));
    EXPECT_EQ(Press(offsets, TOffsetMove::Left, 3).X, -20.0f);

    offsets = Press({}, TOffsetMove::Down, 45);
    EXPECT_EQ(offsets, (TPrintOffsets{0, 20}));
    EXPECT_EQ(ShowPrintOffsets(offsets).Y, Formatted("ID_DRUCKPOS6", 20.0));
    EXPECT_EQ(ShowPrintOffsets(offsets).X, PrintText(QStringLiteral("ID_DRUCKPOS1")));
}

TEST(PrintOffsets, OppositePressesCancelOutAndCentreResets)
{
    RegisterPrintTexts();
    TPrintOffsets offsets = MovePrintOffsets({}, TOffsetMove::Left);
    EXPECT_EQ(ShowPrintOffsets(offsets).X, Formatted("ID_DRUCKPOS2", 0.5));
    offsets = MovePrintOffsets(offsets, TOffsetMove::Right);
    EXPECT_EQ(ShowPrintOffsets(offsets).X, QStringLiteral("keine waagrechte Verschiebung"));

    offsets = Press(offsets, TOffsetMove::Up, 3);
    EXPECT_EQ(ShowPrintOffsets(offsets).Y, Formatted("ID_DRUCKPOS5", 1.5));
    offsets = Press(offsets, TOffsetMove::Right, 5);
    EXPECT_EQ(ShowPrintOffsets(offsets).X, Formatted("ID_DRUCKPOS3", 2.5));
    EXPECT_EQ(MovePrintOffsets(offsets, TOffsetMove::Center), TPrintOffsets{});
    EXPECT_EQ(ShowPrintOffsets({}).Y, QStringLiteral("keine senkrechte Verschiebung"));
}

TEST(PrintOffsets, EachPrinterKeepsItsOwnCorrection)
{
    SavePrintOffsets(QStringLiteral("Laser"), {1.5f, -2.0f});
    SavePrintOffsets(QStringLiteral("buero-server\\Tinte"), {-0.5f, 3.0f});
    EXPECT_EQ(LoadPrintOffsets(QStringLiteral("Laser")), (TPrintOffsets{1.5f, -2.0f}));
    EXPECT_EQ(LoadPrintOffsets(QStringLiteral("buero-server\\Tinte")), (TPrintOffsets{-0.5f, 3.0f}));
    EXPECT_EQ(LoadPrintOffsets(QStringLiteral("Nie benutzt")), TPrintOffsets{});
    // A network printer's key lies one level below its server's name.
    EXPECT_EQ(Settings().ReadFloat(QStringLiteral("Druckposition\\buero-server\\Tinte"), QStringLiteral("FOffsetY"), 0),
              3.0);

    // Values edited by hand beyond the range are held at the limit.
    Settings().WriteString(QStringLiteral("Druckposition\\Alt"), QStringLiteral("FOffsetX"), QStringLiteral("35"));
    Settings().WriteString(QStringLiteral("Druckposition\\Alt"), QStringLiteral("FOffsetY"), QStringLiteral("-99"));
    EXPECT_EQ(LoadPrintOffsets(QStringLiteral("Alt")), (TPrintOffsets{20, -20}));
}
