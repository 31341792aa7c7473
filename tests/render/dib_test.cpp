#include "imaging_pictures.h"

#include "render/Leonardo.h"
#include "render/uDIB.h"
#include "render/uDIBFilter.h"
#include "render/uRGBHSL.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <limits>

using namespace ImagingTest;

namespace {

class LogoPicture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&FLogo, &TDIB::PictureChanged, [this] { ++FChanges; });
    }

    QString Saved(const QImage &image, const QString &name)
    {
        const QString path = FDir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir FDir;
    TDIB FLogo;
    int FChanges = 0;
};

TEST_F(LogoPicture, LoadingReplacesThePictureAndNotifies)
{
    const QString first = Saved(SamplePicture(), "first.png");
    const QString second = Saved(Filled(10, 20, qRgb(0, 0, 0)), "second.bmp");
    EXPECT_TRUE(FLogo.IsEmpty());
    EXPECT_EQ(FLogo.Width(), 0);

    FLogo.LoadFromFile(first);
    EXPECT_EQ(FLogo.Width(), 37);
    EXPECT_EQ(FLogo.Height(), 23);
    EXPECT_EQ(FLogo.Header().biBitCount, 24);
    EXPECT_EQ(FLogo.FileName(), first);
    EXPECT_EQ(FChanges, 1);

    FLogo.LoadFromFile(second);
    EXPECT_EQ(FLogo.Width(), 10);
    EXPECT_EQ(FLogo.FileName(), second);
    EXPECT_EQ(FChanges, 2);
}

TEST_F(LogoPicture, FailedLoadLeavesItEmptyWithTheUsersText)
{
    FLogo.LoadFromFile(Saved(SamplePicture(), "good.png"));
    const QString broken = FDir.filePath("broken.jpg");
    WriteBytes(broken, "kein Bild");
    FChanges = 0;
    try {
        FLogo.LoadFromFile(broken);
        FAIL() << "no error";
    } catch (const EDIBError &error) {
        EXPECT_EQ(QString::fromStdString(error.what()), "Die Bilddatei konnte nicht geladen werden");
    }
    EXPECT_TRUE(FLogo.IsEmpty());
    EXPECT_EQ(FLogo.Width(), 0);
    EXPECT_EQ(FLogo.Header().biBitCount, 0);
    EXPECT_TRUE(FLogo.FileName().isEmpty());
    // The old picture is gone, so copies made from it must be rebuilt.
    EXPECT_EQ(FChanges, 1);
}

TEST_F(LogoPicture, AssignSetHandleAndClear)
{
    FLogo.LoadFromFile(Saved(SamplePicture(), "logo.png"));
    TDIB copy;
    copy.Assign(FLogo);
    EXPECT_EQ(copy.Width(), 37);
    EXPECT_EQ(copy.FileName(), FLogo.FileName());
    EXPECT_NE(copy.Handle().Bits(), FLogo.Handle().Bits());

    FChanges = 0;
    FLogo.Assign(FLogo); // keeps its own picture
    EXPECT_EQ(FLogo.Width(), 37);

    FLogo.SetHandle(PackImage(Filled(3, 4, qRgb(1, 2, 3))));
    EXPECT_EQ(FLogo.Width(), 3);
    EXPECT_TRUE(FLogo.FileName().isEmpty());
    EXPECT_EQ(copy.Width(), 37); // the copy is independent
    EXPECT_EQ(FChanges, 1);

    FLogo.Assign(TDIB());
    EXPECT_TRUE(FLogo.IsEmpty());
    FLogo.SetHandle(CopyHandle(copy.Handle()));
    FLogo.Clear();
    EXPECT_TRUE(FLogo.IsEmpty());
    EXPECT_EQ(FLogo.Height(), 0);
    EXPECT_EQ(FChanges, 4);
}

TEST_F(LogoPicture, ConversionTo24BitsIsSilent)
{
    QImage grey(6, 2, QImage::Format_Grayscale8);
    grey.fill(90);
    FLogo.SetHandle(PackImage(grey));
    ASSERT_EQ(FLogo.Header().biBitCount, 8);
    FChanges = 0;
    FLogo.ConvertTo24Bit();
    EXPECT_EQ(FLogo.Header().biBitCount, 24);
    EXPECT_EQ(Pixel24(FLogo.Handle(), 5, 1), qRgb(90, 90, 90));
    EXPECT_EQ(FChanges, 0);
}

TEST(DIBFilter, ClampByteRoundsHalvesToEven)
{
    EXPECT_EQ(ClampByte(-0.4f), 0);
    EXPECT_EQ(ClampByte(-300), 0);
    EXPECT_EQ(ClampByte(255.4f), 255);
    EXPECT_EQ(ClampByte(1e9f), 255);
    EXPECT_EQ(ClampByte(0.5f), 0);
    EXPECT_EQ(ClampByte(1.5f), 2);
    EXPECT_EQ(ClampByte(2.5f), 2);
    EXPECT_EQ(ClampByte(216.75f), 217);
    EXPECT_EQ(ClampByte(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(DIBFilter, TablesWorkPerChannelAndReportProgress)
{
    TColorTable blue{}, green{}, red{};
    for (int i = 0; i < 256; ++i) {
        blue[i] = quint8(255 - i);
        green[i] = quint8(i / 2);
        red[i] = 7;
    }
    TDIBHandle picture = PackImage(Filled(5, 3, qRgb(100, 200, 40)));
    QList<int> progress;
    ASSERT_TRUE(ApplyTables(picture, blue, green, red, [&](int percent) { progress.append(percent); }));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(Pixel24(picture, x, y), qRgb(7, 100, 215));
    EXPECT_EQ(progress, (QList<int>{0, 50, 100}));
    // The padding bytes after each row stay untouched.
    EXPECT_EQ(picture.Bits()[40 + 15], 0);

    TDIBHandle oneRow = PackImage(Filled(4, 1, qRgb(0, 0, 0)));
    progress.clear();
    ASSERT_TRUE(ApplyTable(oneRow, blue, [&](int percent) { progress.append(percent); }));
    EXPECT_EQ(progress, (QList<int>{100}));
    EXPECT_EQ(Pixel24(oneRow, 3, 0), qRgb(255, 255, 255));

    // Rows of a palette picture are narrower than 24-bit rows.
    QImage grey(64, 64, QImage::Format_Grayscale8);
    grey.fill(0);
    TDIBHandle palette = PackImage(grey);
    const TDIBHandle before = CopyHandle(palette);
    EXPECT_FALSE(ApplyTable(palette, blue));
    EXPECT_EQ(std::memcmp(palette.Bits(), before.Bits(), before.Size()), 0);
}

TEST(DIBFilter, WatermarkMovesEveryChannelTowardsWhite)
{
    const TColorTable table = WatermarkTable();
    EXPECT_EQ(table[0], 217);
    EXPECT_EQ(table[128], 236);
    EXPECT_EQ(table[255], 255);

    TDIB black, white, watermark;
    black.SetHandle(PackImage(Filled(9, 7, qRgb(0, 0, 0))));
    white.SetHandle(PackImage(Filled(9, 7, qRgb(255, 255, 255))));
    MakeWatermark(watermark, black);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(Pixel24(watermark.Handle(), x, y), qRgb(217, 217, 217));
    EXPECT_EQ(Pixel24(black.Handle(), 4, 4), qRgb(0, 0, 0)); // the logo stays as it was
    MakeWatermark(watermark, white);
    EXPECT_EQ(Pixel24(watermark.Handle(), 4, 4), qRgb(255, 255, 255));

    // A palette logo is converted first; its watermark is a 24-bit picture.
    QImage indexed(4, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 128, 255)});
    indexed.fill(0);
    TDIB paletteLogo;
    paletteLogo.SetHandle(PackImage(indexed));
    MakeWatermark(watermark, paletteLogo);
    EXPECT_EQ(watermark.Header().biBitCount, 24);
    EXPECT_EQ(Pixel24(watermark.Handle(), 2, 2), qRgb(217, 236, 255));
    EXPECT_EQ(paletteLogo.Header().biBitCount, 8);

    MakeWatermark(watermark, TDIB());
    EXPECT_TRUE(watermark.IsEmpty());
}

TEST(RGBHSL, MixColorsAveragesRoundingDown)
{
    EXPECT_EQ(MixColors(QColor(255, 0, 11), QColor(0, 0, 0)), QColor(127, 0, 5));
    EXPECT_EQ(MixColors(QColor(10, 20, 30), QColor(30, 40, 50)), QColor(20, 30, 40));
    EXPECT_EQ(MixColors(QColor::fromHsv(0, 255, 255), Qt::white), QColor(255, 127, 127));
}

} // namespace
