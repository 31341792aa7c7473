#include "imaging_pictures.h"

#include "render/Leonardo.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace ImagingTest;

namespace {

TBitmapInfoHeader Info(const TDIBHandle &handle)
{
    TBitmapInfoHeader header;
    EXPECT_TRUE(DIBInfo(handle, &header, sizeof header));
    return header;
}

TEST(ImagingProcessing, InfoAndCopiesAreIndependent)
{
    TDIBHandle picture = PackImage(SamplePicture());
    TBitmapInfoHeader header;
    EXPECT_TRUE(DIBInfo(picture, &header, sizeof header));
    EXPECT_EQ(header.biWidth, 37);
    EXPECT_EQ(header.biBitCount, 24);

    TDIBHandle copy = CopyHandle(picture);
    ASSERT_EQ(copy.Size(), picture.Size());
    EXPECT_NE(copy.Bits(), picture.Bits());
    copy.Bits()[40] = 0x7F;
    EXPECT_NE(picture.Bits()[40], 0x7F);

    DIBFree(picture);
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_FALSE(DIBInfo(picture, &header, sizeof header));
    EXPECT_EQ(Pixel24(copy, 0, 0), qRgb(0, 255, 0));
}

TEST(ImagingProcessing, ConversionTo24BitsKeepsColoursAndPutsTransparencyOnWhite)
{
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 50)});
    indexed.fill(0);
    indexed.setPixel(2, 1, 1);
    TDIBHandle palette = PackImage(indexed);
    ASSERT_EQ(Info(palette).biBitCount, 8);
    ASSERT_TRUE(ConvertDIB(&palette, 24, 0));
    const TBitmapInfoHeader header = Info(palette);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(palette.Size(), 40 + DIBRowBytes(3, 24) * 2);
    EXPECT_EQ(Pixel24(palette, 0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(Pixel24(palette, 2, 1), qRgb(200, 100, 50));

    QImage alpha(2, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
    alpha.setPixel(1, 0, qRgba(0, 0, 255, 255));
    TDIBHandle transparent = PackImage(alpha);
    ASSERT_EQ(Info(transparent).biBitCount, 32);
    ASSERT_TRUE(ConvertDIB(&transparent, 24, 0));
    EXPECT_EQ(Pixel24(transparent, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Pixel24(transparent, 1, 0), qRgb(0, 0, 255));

    EXPECT_FALSE(ConvertDIB(&transparent, 8, 0));
    TDIBHandle empty;
    EXPECT_FALSE(ConvertDIB(&empty, 24, 0));
}

TEST(ImagingProcessing, ShrinkingAveragesInsteadOfPickingPixels)
{
    // One-pixel black and white columns: picking pixels would give black or
    // white columns, averaging gives even grey.
    QImage stripes(2000, 1000, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        for (int y = 0; y < stripes.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const TDIBHandle source = PackImage(stripes);

    const TDIBHandle small = StretchDIB(source, 591, 295, 0);
    ASSERT_FALSE(small.IsEmpty());
    const TBitmapInfoHeader header = Info(small);
    EXPECT_EQ(header.biWidth, 591);
    EXPECT_EQ(header.biHeight, 295);
    EXPECT_EQ(header.biBitCount, 24);
    // A target pixel covers 3.38 columns, of which 1.38 to 2 are white.
    for (int x = 1; x < 590; x += 7)
        for (const int y : {1, 147, 293}) {
            const QRgb grey = Pixel24(small, x, y);
            ASSERT_NEAR(qGreen(grey), 128, 25) << x << "," << y;
        }
    // Four columns to a pixel: two black and two white in each.
    const TDIBHandle quarter = StretchDIB(source, 500, 250, 0);
    for (int x = 0; x < 500; x += 13)
        ASSERT_NEAR(qGreen(Pixel24(quarter, x, 100)), 128, 1) << x;
    EXPECT_FALSE(source.IsEmpty()); // the source stays valid

    const TDIBHandle large = StretchDIB(PackImage(Filled(4, 4, qRgb(9, 99, 199))), 40, 30, 0);
    EXPECT_EQ(Info(large).biWidth, 40);
    EXPECT_EQ(Pixel24(large, 20, 15), qRgb(9, 99, 199));

    EXPECT_TRUE(StretchDIB(source, 0, 10, 0).IsEmpty());
    EXPECT_TRUE(StretchDIB(TDIBHandle(), 10, 10, 0).IsEmpty());
}

TEST(ImagingProcessing, QuarterTurnsMovePixelsExactly)
{
    // 3 x 2 with a different colour in every pixel.
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, qRgb(10 * x, 100 + 50 * y, 7));
    const TDIBHandle source = PackImage(image);

    // A counter-clockwise quarter turn brings the right column to the top.
    const TDIBHandle left = RotateDIB(source, 900, 0xFFFFFF);
    ASSERT_EQ(Info(left).biWidth, 2);
    ASSERT_EQ(Info(left).biHeight, 3);
    const TDIBHandle half = RotateDIB(source, 1800, 0xFFFFFF);
    ASSERT_EQ(Info(half).biWidth, 3);
    const TDIBHandle right = RotateDIB(source, -900, 0xFFFFFF);
    ASSERT_EQ(Info(right).biWidth, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const QRgb colour = image.pixel(x, y);
            EXPECT_EQ(Pixel24(left, y, 2 - x), colour) << x << "," << y;
            EXPECT_EQ(Pixel24(half, 2 - x, 1 - y), colour);
            EXPECT_EQ(Pixel24(right, 1 - y, x), colour);
        }
    const TDIBHandle full = RotateDIB(source, 3600, 0xFFFFFF);
    EXPECT_EQ(full.Size(), source.Size());
    EXPECT_EQ(std::memcmp(full.Bits(), source.Bits(), source.Size()), 0);
}

TEST(ImagingProcessing, OtherAnglesEnlargeAndFillTheCornersWithTheBackground)
{
    const TDIBHandle black = PackImage(Filled(100, 50, qRgb(0, 0, 0)));
    const TDIBHandle turned = RotateDIB(black, 450, 0xFFFFFF);
    const TBitmapInfoHeader header = Info(turned);
    // (100 + 50) / sqrt(2) both ways.
    EXPECT_NEAR(header.biWidth, 107, 1);
    EXPECT_NEAR(header.biHeight, 107, 1);
    EXPECT_EQ(Pixel24(turned, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Pixel24(turned, header.biWidth - 1, header.biHeight - 1), qRgb(255, 255, 255));
    EXPECT_EQ(Pixel24(turned, header.biWidth / 2, header.biHeight / 2), qRgb(0, 0, 0));

    // Counter-clockwise: the picture's right end rises towards the top right.
    const int w = header.biWidth;
    EXPECT_EQ(qRed(Pixel24(turned, w * 3 / 4, w / 4)), 0);
    EXPECT_EQ(qRed(Pixel24(turned, w / 4, w / 4)), 255);
}

TEST(ImagingProcessing, StretchedOutputFillsTheDestination)
{
    QImage target(50, 40, QImage::Format_RGB32);
    target.fill(Qt::white);
    const TDIBHandle picture = PackImage(SamplePicture());
    {
        QPainter painter(&target);
        EXPECT_TRUE(StretchDIBBlt(painter, 5, 5, 40, 30, picture, 0, 0, 37, 23, SRCCOPY));
        EXPECT_FALSE(StretchDIBBlt(painter, 0, 0, 50, 40, picture, 0, 0, 37, 23, 0x00EE0086));
    }
    EXPECT_EQ(target.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(10, 20), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(40, 20), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(44, 34), qRgb(255, 255, 0));
    EXPECT_EQ(target.pixel(45, 35), qRgb(255, 255, 255));
}

} // namespace
