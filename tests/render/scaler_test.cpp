#include "render/uScaler.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

TEST(Scaler, StartsAtOneUnitPerMillimetreAndRoundsHalfToEven)
{
    TScaler scaler;
    EXPECT_EQ(scaler.MMToX(10), 10);
    EXPECT_EQ(scaler.MMToY(10), 10);
    EXPECT_EQ(scaler.MMToLength(2.5f), 2);
    EXPECT_EQ(scaler.MMToLength(3.5f), 4);
    EXPECT_EQ(scaler.MMToX(-2.5f), -2);
}

TEST(Scaler, OffsetsMoveTheDrawingInTheirDirections)
{
    TScaler scaler;
    scaler.SetOffsetX(2);
    scaler.SetCardOffsetX(3);
    scaler.SetScrollX(4);
    scaler.SetDeviceOffsetX(1);
    EXPECT_FLOAT_EQ(scaler.TotalOffsetX(), 5);
    EXPECT_EQ(scaler.TotalPixelOffsetX(), 5);
    EXPECT_EQ(scaler.MMToX(10), 10);
    scaler.SetOffsetY(1.5f);
    scaler.SetScrollY(-3);
    EXPECT_EQ(scaler.MMToY(0), 2 + 3);
    EXPECT_EQ(scaler.MMRectToDevice({0, 0, 10, 20}), QRect(0, 5, 10, 20));
}

TEST(Scaler, ScreenAtNinetySixDotsPerInch)
{
    TScaler scaler;
    scaler.SetPixelsPerMMX(96 / 25.4f);
    scaler.SetPixelsPerMMY(96 / 25.4f);
    EXPECT_NEAR(scaler.ScaleX(), 3.7795f, 1e-4);
    EXPECT_NEAR(scaler.ScaleY(), 3.7795f, 1e-4);
    EXPECT_EQ(scaler.MMToX(85), 321);

    scaler.SetZoom(2);
    scaler.SetupForDevice(TScaleDevice::sdScreen);
    EXPECT_FLOAT_EQ(scaler.Zoom(), 1);
    EXPECT_FLOAT_EQ(scaler.PixelsPerMMY(), QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 25.4f);
}

TEST(Scaler, PrinterSetupMeasuresFromThePaperEdge)
{
    TScaler scaler;
    scaler.SetOffsetX(7);
    scaler.SetScrollY(9);
    scaler.SetCardOffsetY(2);
    scaler.SetZoom(3);
    scaler.SetupForDevice(TScaleDevice::sdPrinter, TPrinterMetrics{600, 300, QPoint(50, 40)});
    EXPECT_EQ(scaler.MMToX(0), -50);
    EXPECT_EQ(scaler.MMToY(0), -40);
    EXPECT_EQ(scaler.MMToX(25.4f), 550);
    // Lengths always take the vertical resolution.
    EXPECT_EQ(scaler.MMToLength(25.4f), 300);

    scaler.SetupForDevice(TScaleDevice::sdNone);
    EXPECT_EQ(scaler.MMToX(0), 0);
    EXPECT_EQ(scaler.MMToX(12), 12);
}

TEST(Scaler, ReverseConversionsReturnWithinHalfADeviceUnit)
{
    TScaler scaler;
    scaler.SetPixelsPerMMX(600 / 25.4f);
    scaler.SetPixelsPerMMY(96 / 25.4f);
    scaler.SetZoom(0.73f);
    scaler.SetOffsetX(1.25f);
    scaler.SetCardOffsetY(-3.5f);
    scaler.SetScrollX(17);
    scaler.SetDeviceOffsetY(-4);
    for (float mm = -20; mm < 220; mm += 0.37f) {
        EXPECT_LE(std::abs(scaler.XToMM(scaler.MMToX(mm)) - mm), 0.5f / scaler.ScaleX() + 1e-4f) << mm;
        EXPECT_LE(std::abs(scaler.YToMM(scaler.MMToY(mm)) - mm), 0.5f / scaler.ScaleY() + 1e-4f) << mm;
    }
    EXPECT_FLOAT_EQ(scaler.LengthToMM(scaler.MMToLength(10)), scaler.MMToLength(10) / scaler.ScaleY());
}

TEST(Scaler, FarCoordinatesSaturateInsteadOfOverflowing)
{
    TScaler scaler;
    scaler.SetPixelsPerMMX(1e6f);
    EXPECT_EQ(scaler.MMToX(1e30f), std::numeric_limits<int>::max());
    EXPECT_EQ(scaler.MMToX(-1e30f), std::numeric_limits<int>::min());
}

TEST(RotatePoint, TurnsClockwiseOnThePageAndReducesOnlyBeyondAFullTurn)
{
    const TSinglePoint quarter = RotatePoint({1, 0}, 90);
    EXPECT_NEAR(quarter.X, 0, 1e-6);
    EXPECT_NEAR(quarter.Y, 1, 1e-6);

    const TSinglePoint reduced = RotatePoint({1, 0}, 450);
    EXPECT_FLOAT_EQ(reduced.X, quarter.X);
    EXPECT_FLOAT_EQ(reduced.Y, quarter.Y);
    const TSinglePoint back = RotatePoint({1, 0}, -450);
    EXPECT_NEAR(back.Y, -1, 1e-6);

    // The short radian constant leaves a full turn slightly short of zero.
    const TSinglePoint full = RotatePoint({1, 0}, 360);
    EXPECT_LT(full.Y, 0);
    EXPECT_NEAR(full.Y, std::sin(360 * 0.017453292), 1e-9);
    EXPECT_FLOAT_EQ(RotatePoint({1, 0}, 720).Y, full.Y);

    const TSinglePoint around = RotatePointAround({12, 5}, {10, 5}, 90);
    EXPECT_NEAR(around.X, 10, 1e-5);
    EXPECT_NEAR(around.Y, 7, 1e-5);
}

TEST(EnsureRangeSingle, ClampsToTheBounds)
{
    EXPECT_FLOAT_EQ(EnsureRangeSingle(-21, -20, 20), -20);
    EXPECT_FLOAT_EQ(EnsureRangeSingle(20.5f, -20, 20), 20);
    EXPECT_FLOAT_EQ(EnsureRangeSingle(3.5f, -20, 20), 3.5f);
}
