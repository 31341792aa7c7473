#include "common/OtherInstance.h"
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
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("Laser")).Front, (TPrintOffsets{1.5f, -2.0f}));
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("buero-server\\Tinte")).Front, (TPrintOffsets{-0.5f, 3.0f}));
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("Nie benutzt")), TPrintCorrection{});
    // A network printer's key lies one level below its server's name.
    EXPECT_EQ(Settings().ReadFloat(QStringLiteral("Druckposition\\buero-server\\Tinte"), QStringLiteral("FOffsetY"), 0),
              3.0);

    // Values edited by hand beyond the range are held at the limit.
    Settings().WriteString(QStringLiteral("Druckposition\\Alt"), QStringLiteral("FOffsetX"), QStringLiteral("35"));
    Settings().WriteString(QStringLiteral("Druckposition\\Alt"), QStringLiteral("FOffsetY"), QStringLiteral("-99"));
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("Alt")).Front, (TPrintOffsets{20, -20}));
}

TEST(PrintOffsets, BacksFollowTheFrontsUntilTheirOwnCorrectionIsSet)
{
    const QString printer = QStringLiteral("Duplex");
    const QString section = PrintOffsetSection(printer);
    SavePrintOffsets(printer, {1.5f, -1.0f});
    EXPECT_EQ(LoadPrintCorrection(printer), (TPrintCorrection{{1.5f, -1.0f}, {1.5f, -1.0f}}));
    EXPECT_EQ(Settings().ReadString(section, QStringLiteral("FOffsetXRueckseite"), QStringLiteral("nie gesetzt")),
              QStringLiteral("nie gesetzt"));

    SavePrintOffsets(printer, {-2.0f, 0.5f}, TPrintSide::Back);
    SavePrintOffsets(printer, {3.0f, 3.0f});
    EXPECT_EQ(LoadPrintCorrection(printer), (TPrintCorrection{{3.0f, 3.0f}, {-2.0f, 0.5f}}));
    // Beside the values older versions read, which keep correcting the fronts.
    EXPECT_EQ(Settings().ReadFloat(section, QStringLiteral("FOffsetX"), 0), 3.0);
    EXPECT_EQ(Settings().ReadFloat(section, QStringLiteral("FOffsetYRueckseite"), 0), 0.5);

    Settings().WriteString(section, QStringLiteral("FOffsetXRueckseite"), QStringLiteral("-35"));
    EXPECT_EQ(LoadPrintCorrection(printer).Back.X, -20.0f);
}

// Two instances calibrating one printer, each from the values it showed:
// a step of one is not taken back by the other's next step.
TEST(PrintOffsets, StepsOfTwoInstancesAddUp)
{
    const QString printer = QStringLiteral("Geteilt");
    SavePrintOffsets(printer, {});
    TOtherInstance other;
    EXPECT_EQ(LoadPrintCorrection(printer).Front, TPrintOffsets{});
    MoveStoredPrintOffsets(printer, TOffsetMove::Right, TPrintSide::Front, other.Settings());
    MoveStoredPrintOffsets(printer, TOffsetMove::Down, TPrintSide::Front);
    MoveStoredPrintOffsets(printer, TOffsetMove::Down, TPrintSide::Front, other.Settings());
    EXPECT_EQ(LoadPrintCorrection(printer, TOtherInstance().Settings()).Front, (TPrintOffsets{0.5f, 1.0f}));
}

TEST(PrintOffsets, TypedValuesTakeWholeStepsWithinTheLimits)
{
    EXPECT_EQ(TypedPrintOffsets(1.3, -0.7), (TPrintOffsets{1.5f, -0.5f}));
    EXPECT_EQ(TypedPrintOffsets(-1.2, 0.2), (TPrintOffsets{-1.0f, 0.0f}));
    EXPECT_EQ(TypedPrintOffsets(25, -20.4), (TPrintOffsets{20, -20}));
}
