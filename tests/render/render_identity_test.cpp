// The render caches (font metrics, glyphs, pictures) must never change what is
// drawn: every card face and printed sheet is rendered with the caches on,
// again with them warm, and with them off, and the results must be equal to
// the last pixel.

#include "model/uDocument.h"
#include "render/uDIB.h"
#include "render/uDefaultView.h"
#include "render/uPackedDIB.h"
#include "render/uScaler.h"
#include "render/uTextMetrics.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace {

// Caches off for a while.
class TUncached
{
public:
    TUncached()
        : FMetrics(TMeasuringFont::CacheEnabled())
        , FPictures(TDIB::DrawCacheEnabled())
    {
        TMeasuringFont::SetCacheEnabled(false);
        TDIB::SetDrawCacheEnabled(false);
    }
    ~TUncached()
    {
        TMeasuringFont::SetCacheEnabled(FMetrics);
        TDIB::SetDrawCacheEnabled(FPictures);
    }
    TUncached(const TUncached &) = delete;
    TUncached &operator=(const TUncached &) = delete;

private:
    bool FMetrics;
    bool FPictures;
};

TDIBHandle Logo()
{
    QImage image(600, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 600, 300);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(QRect(320, 60, 240, 60), Qt::darkRed);
    painter.end();
    return PackImage(image, 24);
}

// Pixels at which two images of one size differ.
int DifferingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// One side of a layout at PixelsPerMM, as thumbnails and the preview draw it.
QImage RenderSide(const TDocument &doc, const TKartenlayout &layout, bool back, float pixelsPerMM)
{
    const TBogenlayout &sheet = doc.Bogenlayout();
    QImage image(int(sheet.CardWidth * pixelsPerMM) + 4, int(sheet.CardWidth * pixelsPerMM) + 4,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TScaleCanvas canvas(painter);
    canvas.SetupForDevice(TScaleDevice::sdScreen);
    canvas.SetZoom(pixelsPerMM / canvas.PixelsPerMMY());
    canvas.SetOffsetX(0.5f);
    canvas.SetOffsetY(0.5f);
    TMainView().DrawLayoutSide(canvas, doc, back, layout);
    return image;
}

QImage RenderSheetImage(const TDocument &doc, bool back)
{
    const TBogenlayout &sheet = doc.Bogenlayout();
    constexpr float PixelsPerMM = 150 / 25.4f;
    QImage image(int(sheet.SheetWidth * PixelsPerMM), int(sheet.SheetHeight * PixelsPerMM), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TScaleCanvas canvas(painter);
    canvas.SetupForDevice(TScaleDevice::sdScreen);
    canvas.SetZoom(PixelsPerMM / canvas.PixelsPerMMY());
    TPrintView().DrawSheet(canvas, doc, back);
    return image;
}

// The sheet as a 600 dpi PDF page, as a printer would put it on paper:
// rasterised by poppler. The file itself may differ (a picture drawn ten
// times may be stored once).
QImage RenderSheetPdf(const TDocument &doc, bool back)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("sheet.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(600);
        QPainter painter(&writer);
        TScaleCanvas canvas(painter);
        canvas.SetupForDevice(TScaleDevice::sdPrinter, TPrinterMetrics{600, 600, QPoint(0, 0)});
        TPrintView().DrawSheet(canvas, doc, back);
    }
    const QString page = folder.filePath(QStringLiteral("page"));
    QProcess poppler;
    poppler.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                   pdf, page});
    if (!poppler.waitForFinished(60000) || poppler.exitCode() != 0)
        return {};
    return QImage(page + QStringLiteral(".png"));
}

class RenderIdentityTest : public ::testing::Test
{
protected:
    RenderIdentityTest()
    {
        RegisterDocumentTexts();
        Doc.LoadFromRegistry(QStringLiteral("RenderIdentity"));
        Doc.Logo.SetHandle(Logo());
        Doc.LogoRueckseite.SetHandle(Logo());
        Doc.SetMitRueckseite(true);
        Doc.SetBackText1({QStringLiteral("Öffnungszeiten"), QStringLiteral("Mo–Fr 8–18 Uhr")});
    }

    // Renders with the caches cold or on, warm, and off; all three must agree.
    void ExpectSameWithAndWithoutCaches(const std::function<QImage()> &render, const QString &what)
    {
        const QImage first = render();
        const QImage warm = render();
        QImage plain;
        {
            const TUncached uncached;
            plain = render();
        }
        ASSERT_FALSE(plain.isNull()) << what.toStdString();
        EXPECT_EQ(DifferingPixels(first, plain), 0) << what.toStdString() << ", first drawing";
        EXPECT_EQ(DifferingPixels(warm, plain), 0) << what.toStdString() << ", drawn again";
    }

    void ExpectAllFacesUnchanged(const QString &kind)
    {
        for (int i = 0; i < Doc.Layouts().Count(); ++i) {
            const TKartenlayout &layout = Doc.Layouts().Items(i);
            for (const bool back : {false, true}) {
                // Thumbnail and preview sizes.
                for (const float pixelsPerMM : {1.6f, 4.4f}) {
                    const QString what = QStringLiteral("%1 %2 %3 at %4 px/mm")
                                             .arg(kind, layout.Name, back ? "back" : "front")
                                             .arg(pixelsPerMM);
                    ExpectSameWithAndWithoutCaches(
                        [&] { return RenderSide(Doc, layout, back, pixelsPerMM); }, what);
                }
            }
        }
    }

    TDocument Doc;
};

TEST_F(RenderIdentityTest, EveryTemplateLooksTheSameWithAndWithoutCaches)
{
    ASSERT_EQ(Doc.Layouts().Count(), 15);
    ExpectAllFacesUnchanged(QStringLiteral("standard card"));
    Doc.SetKartentyp(TDocument::Klappkarte);
    Doc.SetKlappTextInnen({QStringLiteral("Innen"), QStringLiteral("zweite Zeile")});
    ExpectAllFacesUnchanged(QStringLiteral("folding card"));
}

TEST_F(RenderIdentityTest, AnEditIsDrawnAsIfNothingWasCached)
{
    const TKartenlayout &layout = Doc.Layouts().Items(0);
    RenderSide(Doc, layout, false, 4.4f);
    // Other text, other logo: nothing of the earlier drawing may stay.
    Doc.SetName(Doc.Name() + QStringLiteral(" Wüst"));
    QImage other(300, 600, QImage::Format_RGB32);
    other.fill(Qt::darkGreen);
    Doc.Logo.SetHandle(PackImage(other, 24));
    ExpectSameWithAndWithoutCaches([&] { return RenderSide(Doc, layout, false, 4.4f); },
                                           QStringLiteral("edited card"));
}

TEST_F(RenderIdentityTest, PrintedSheetsAreTheSameWithAndWithoutCaches)
{
    for (const int layout : {0, 7, 12}) {
        Doc.SelectLayout(Doc.Layouts().Items(layout));
        for (const bool back : {false, true}) {
            const QString what = QStringLiteral("sheet of %1 %2").arg(Doc.Kartenlayout().Name, back ? "back" : "front");
            ExpectSameWithAndWithoutCaches([&] { return RenderSheetImage(Doc, back); }, what);
            ExpectSameWithAndWithoutCaches([&] { return RenderSheetPdf(Doc, back); }, what + " (PDF)");
        }
    }
}

} // namespace
