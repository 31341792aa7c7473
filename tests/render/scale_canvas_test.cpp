#include "render/uScaleCanvasHelp.h"
#include "render/uTextMetrics.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <memory>

namespace {

struct TDeviceText
{
    QPoint Origin;
    QString Text;
    TIntegerArray Advances;
    float Angle;
};

// Records what the device text output receives; draws it too when asked.
class TRecordingCanvas : public TScaleCanvas
{
public:
    TRecordingCanvas(QPainter &painter, bool draw) : TScaleCanvas(painter), FDraw(draw) {}

    bool DeviceTextOut(const QPoint &Origin, const QString &Text, const TIntegerArray &Advances, float Angle,
                       const std::optional<QRect> &Clip) override
    {
        Output.append({Origin, Text, Advances, Angle});
        return !FDraw || TScaleCanvas::DeviceTextOut(Origin, Text, Advances, Angle, Clip);
    }

    QList<TDeviceText> Output;

private:
    bool FDraw;
};

QFont Arial(int points)
{
    QFont font("Arial");
    font.setPointSize(points);
    return font;
}

// A white image with a canvas on it at the given device resolution and zoom.
class TCanvasFixture
{
public:
    TCanvasFixture(float pixelsPerMM, float zoom, bool draw = true, QSize size = {800, 800})
        : Image(size, QImage::Format_RGB32)
    {
        Image.fill(Qt::white);
        Painter.begin(&Image);
        Canvas = std::make_unique<TRecordingCanvas>(Painter, draw);
        Canvas->SetPixelsPerMMX(pixelsPerMM);
        Canvas->SetPixelsPerMMY(pixelsPerMM);
        Canvas->SetZoom(zoom);
        Canvas->SetFont(Arial(12));
    }
    QImage &Finish()
    {
        Painter.end();
        return Image;
    }

    QImage Image;
    QPainter Painter;
    std::unique_ptr<TRecordingCanvas> Canvas;
};

// Bounding box of the pixels clearly darker than the background.
QRect InkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

float MM(int units)
{
    return UnitsToMM(units, MeasureResolution);
}

constexpr float Screen = 96 / 25.4f;

} // namespace

TEST(ScaleCanvas, DeviceFontFollowsZoomAndTruncates)
{
    TCanvasFixture f(Screen, 1, false);
    TScaleCanvas &canvas = *f.Canvas;
    const int logical = -std::lround(12.0 * canvas.FontPPI() / 72);
    EXPECT_EQ(canvas.DeviceFontHeight(), logical);
    canvas.SetZoom(0.37f);
    EXPECT_EQ(canvas.DeviceFontHeight(), static_cast<int>(std::trunc(logical * 0.37f)));
    EXPECT_EQ(f.Painter.font().pixelSize(), std::abs(canvas.DeviceFontHeight()));
    EXPECT_EQ(canvas.GetFont().pointSize(), 12);

    // A font set on the painter behind the canvas's back comes back into it.
    QFont direct("DejaVu Serif");
    direct.setBold(true);
    direct.setPixelSize(std::abs(canvas.DeviceFontHeight()) * 2);
    f.Painter.setFont(direct);
    const QFont synced = canvas.GetFont();
    EXPECT_EQ(synced.family(), "DejaVu Serif");
    EXPECT_TRUE(synced.bold());
    // 10 device pixels at zoom 0.37 are a logical height of 27 on the 96 dpi screen.
    EXPECT_EQ(synced.pointSize(), 20);
}

TEST(ScaleCanvas, RectangleIncludesItsRightAndBottomEdgesFillRectDoesNot)
{
    TCanvasFixture f(10, 1, false);
    f.Canvas->SetPenColor(Qt::black);
    f.Canvas->SetPenWidth(0);
    f.Canvas->SetBrushStyle(Qt::NoBrush);
    f.Canvas->Rectangle(1, 1, 3, 3);
    f.Canvas->SetBrushColor(Qt::red);
    f.Canvas->FillRect(5, 1, 7, 3);
    const QImage &image = f.Finish();
    EXPECT_EQ(image.pixel(30, 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(20, 30), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(31, 20), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(69, 29), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(70, 29), qRgb(255, 255, 255));
}

TEST(TextMetrics, CacheMeasuresExactlyAsAFreshFont)
{
    const QString text = QString::fromUtf8("Dr. Müller-Lüdenscheidt · ÄÖÜß €ÿ 0123456789 ") + QString::fromUcs4(U"\U0001F600");
    QFont bold = Arial(9);
    bold.setBold(true);
    QFont italic("Times New Roman");
    italic.setPointSize(30);
    italic.setItalic(true);
    for (const QFont &font : {Arial(12), bold, italic}) {
        const auto cached = TMeasuringFont::For(font);
        EXPECT_EQ(cached, TMeasuringFont::For(font));
        for (int pass = 0; pass < 2; ++pass) {
            const TMeasuringFont fresh(font, false);
            EXPECT_EQ(cached->LineHeight(), fresh.LineHeight());
            EXPECT_EQ(cached->TextWidth(text), fresh.TextWidth(text));
            for (qsizetype i = 0; i < text.size(); i += CharacterLength(text, i)) {
                const TCharWidths a = cached->CharWidths(QStringView(text).sliced(i));
                const TCharWidths b = fresh.CharWidths(QStringView(text).sliced(i));
                EXPECT_EQ(a.A, b.A);
                EXPECT_EQ(a.Advance, b.Advance);
                EXPECT_EQ(a.C, b.C);
            }
        }
    }
    EXPECT_EQ(CharacterCount(text), text.size() - 1);
}

TEST(ScaleCanvasHelper, WidthsAreTrimmedToTheInkAndAdvancesNeverDrift)
{
    TCanvasFixture f(Screen, 1, false);
    const auto font = TMeasuringFont::For(f.Canvas->GetFont());
    const TSingleArray widths = GetCharWidthsMM(*f.Canvas, "HaH");
    ASSERT_EQ(widths.size(), 3);
    const TCharWidths h = font->CharWidths(u"H");
    EXPECT_GT(h.A, 0);
    EXPECT_FLOAT_EQ(widths[0], MM(h.Advance) - MM(h.A));
    EXPECT_FLOAT_EQ(widths[2], MM(h.Advance) - MM(h.C));
    EXPECT_FLOAT_EQ(GetCharWidthsMM(*f.Canvas, "H")[0], MM(h.Advance) - MM(h.A) - MM(h.C));
    EXPECT_EQ(GetCharWidthsMM(*f.Canvas, QString::fromUcs4(U"a\U0001F600b")).size(), 3);

    const TSingleArray even(40, 0.3f);
    const TIntegerArray advances = WidthsToAdvances(*f.Canvas, even);
    int device = 0;
    float mm = 0;
    for (qsizetype i = 0; i < even.size(); ++i) {
        device += advances[i];
        mm += even[i];
        EXPECT_EQ(device, f.Canvas->MMToLength(mm));
    }
    EXPECT_TRUE(WidthsToAdvances(*f.Canvas, {}).isEmpty());

    const TSinglePoint size = MeasureLines(*f.Canvas, {"Ha", "HaHaHa", ""});
    EXPECT_FLOAT_EQ(size.X, MM(font->TextWidth(u"HaHaHa")));
    EXPECT_FLOAT_EQ(size.Y, 3 * MM(font->LineHeight()));
}

TEST(DrawTextBox, SameMillimetrePositionsOnEveryDevice)
{
    const QStringList lines{"Dr. Erika Mustermann", "  Wilhelmstraße 17  ", "D-10117 Berlin"};
    const auto font = TMeasuringFont::For(Arial(12));
    const float lineHeight = MM(font->LineHeight());
    struct TDevice { float PixelsPerMM; float Zoom; } devices[] = {{Screen, 1}, {Screen, 0.5f}, {600 / 25.4f, 1}};
    for (const TDevice &device : devices) {
        TCanvasFixture f(device.PixelsPerMM, device.Zoom, false);
        TScaleCanvas &canvas = *f.Canvas;
        DrawTextBox(canvas, lines, 5, 7, 80, 50, 0, 0, {0, 0}, 0);
        ASSERT_EQ(f.Canvas->Output.size(), lines.size());
        float top = 7;
        for (qsizetype l = 0; l < lines.size(); ++l) {
            const TDeviceText &out = f.Canvas->Output[l];
            const QString text = lines[l].trimmed();
            EXPECT_EQ(out.Text, text);
            EXPECT_EQ(out.Origin.y(), canvas.MMToY(top));
            // The layout in millimetres, independent of any device.
            float mm = 5 - MM(font->CharWidths(text).A);
            int x = out.Origin.x();
            for (qsizetype i = 0; i < text.size(); ++i) {
                EXPECT_LE(std::abs(x - canvas.MMToX(mm)), 1) << device.PixelsPerMM << " " << device.Zoom;
                mm += MM(font->CharWidths(QStringView(text).sliced(i)).Advance);
                x += out.Advances[i];
            }
            top += lineHeight;
        }
    }
}

TEST(DrawTextBox, VerticalAlignmentClampsAndDropsLinesBelowTheBox)
{
    const float lineHeight = MM(TMeasuringFont::For(Arial(12))->LineHeight());
    const float top = 10;
    const float bottom = top + lineHeight + lineHeight + lineHeight;
    const QStringList five{"1", "2", "3", "4", "5"};
    TCanvasFixture f(Screen, 1, false);
    TScaleCanvas &canvas = *f.Canvas;

    DrawTextBox(canvas, five, 0, top, 50, bottom, 0, 2, {0, 0}, 0);
    ASSERT_EQ(f.Canvas->Output.size(), 4);
    EXPECT_EQ(f.Canvas->Output[0].Origin.y(), canvas.MMToY(top));
    EXPECT_EQ(f.Canvas->Output[3].Origin.y(), canvas.MMToY(bottom));

    f.Canvas->Output.clear();
    DrawTextBox(canvas, {"1", "  \t", "3"}, 0, top, 50, 100, 0, 2, {0, 0}, 0);
    ASSERT_EQ(f.Canvas->Output.size(), 2);
    EXPECT_EQ(f.Canvas->Output[0].Origin.y(), canvas.MMToY(100 - 3 * lineHeight));
    EXPECT_EQ(f.Canvas->Output[1].Origin.y(), canvas.MMToY(100 - 3 * lineHeight + lineHeight + lineHeight));

    f.Canvas->Output.clear();
    DrawTextBox(canvas, {"1", "2"}, 0, top, 50, 40, 0, 1, {0, 0}, 0);
    EXPECT_EQ(f.Canvas->Output[0].Origin.y(), canvas.MMToY(top + (30 - 2 * lineHeight) / 2));
}

TEST(DrawTextBox, InkMeetsTheBoxEdges)
{
    TCanvasFixture left(Screen, 4, true, {700, 200});
    DrawTextBox(*left.Canvas, {"HIH"}, 5, 2, 40, 10, 0, 0, {0, 0}, 0);
    EXPECT_NEAR(InkBounds(left.Finish()).left(), left.Canvas->MMToX(5), 1);

    TCanvasFixture right(Screen, 4, true, {700, 200});
    DrawTextBox(*right.Canvas, {"HIH"}, 5, 2, 40, 10, 2, 0, {0, 0}, 0);
    EXPECT_NEAR(InkBounds(right.Finish()).right() + 1, right.Canvas->MMToX(40), 1);
}

TEST(DrawTextBox, TinyFontsBecomeGreyBarsAndHeightZeroDrawsNothing)
{
    TCanvasFixture tiny(20, 0.08f);
    ASSERT_EQ(tiny.Canvas->DeviceFontHeight(), -1);
    DrawTextBox(*tiny.Canvas, {"Erika Mustermann"}, 2, 2, 80, 20, 0, 0, {0, 0}, 0);
    EXPECT_TRUE(tiny.Canvas->Output.isEmpty());
    const QImage &bar = tiny.Finish();
    int greyPixels = 0;
    QRect greyBounds;
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            if (bar.pixel(x, y) == qRgb(0xC0, 0xC0, 0xC0)) {
                ++greyPixels;
                greyBounds |= QRect(x, y, 1, 1);
            }
    EXPECT_EQ(greyPixels, greyBounds.width() * greyBounds.height());
    EXPECT_EQ(greyBounds.height(), 1);
    EXPECT_NEAR(greyBounds.width(), tiny.Canvas->MMToLength(TextWidthMM(*tiny.Canvas, {"Erika Mustermann"})), 2);

    TCanvasFixture none(20, 0.05f);
    ASSERT_EQ(none.Canvas->DeviceFontHeight(), 0);
    DrawTextBox(*none.Canvas, {"Erika Mustermann"}, 2, 2, 80, 20, 0, 0, {0, 0}, 0);
    EXPECT_TRUE(none.Canvas->Output.isEmpty());
    const QImage &blank = none.Finish();
    EXPECT_TRUE(std::all_of(blank.constBits(), blank.constBits() + blank.sizeInBytes(), [](uchar b) { return b == 0xFF; }));
}

TEST(DrawTextBox, RotationTurnsStartPointsAndGlyphsClockwise)
{
    // The card origin sits in the middle of the image.
    TCanvasFixture f(Screen, 4, true, {800, 800});
    f.Canvas->SetScrollX(-300);
    f.Canvas->SetScrollY(-300);
    DrawTextBox(*f.Canvas, {"Mustermann"}, 0, 3, 40, 20, 3, 0, {0, 0}, 90);
    ASSERT_EQ(f.Canvas->Output.size(), 1);
    EXPECT_EQ(f.Canvas->Output[0].Origin, QPoint(f.Canvas->MMToX(-3), f.Canvas->MMToY(0)));
    EXPECT_FLOAT_EQ(f.Canvas->Output[0].Angle, 90);
    EXPECT_EQ(f.Canvas->FontEscapement(), 0);

    const QRect ink = InkBounds(f.Finish());
    const int lineHeight = f.Canvas->MMToLength(MM(TMeasuringFont::For(Arial(12))->LineHeight()));
    const int width = f.Canvas->MMToLength(TextWidthMM(*f.Canvas, {"Mustermann"}));
    // The line runs down the page from its turned start, its cell lying to the left.
    EXPECT_LE(ink.right(), f.Canvas->MMToX(-3));
    EXPECT_GE(ink.left(), f.Canvas->MMToX(-3) - lineHeight);
    EXPECT_GE(ink.top(), f.Canvas->MMToY(0) - 1);
    EXPECT_NEAR(ink.height(), width, width / 10);
    EXPECT_LT(ink.width(), lineHeight);
}

TEST(TextOutAligned, AlignsTheTextOnThePoint)
{
    TCanvasFixture f(Screen, 2, true, {800, 400});
    TScaleCanvas &canvas = *f.Canvas;
    TextOutAligned(canvas, "Vorderseite", 50, 40, 1, 2);
    const TSinglePoint size = MeasureText(canvas, "Vorderseite");
    ASSERT_EQ(f.Canvas->Output.size(), 1);
    EXPECT_EQ(f.Canvas->Output[0].Origin.y(), canvas.MMToY(40) - canvas.MMToLength(size.Y));
    const QRect ink = InkBounds(f.Finish());
    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, canvas.MMToX(50), 2);
    EXPECT_LE(ink.bottom(), canvas.MMToY(40));
}

TEST(DrawTextBox, CachedAndUncachedMeasuringDrawAlike)
{
    const QStringList lines{"Prof. Dr. Hans-Jürgen Müller", "Geschäftsführer", "Tel. 030 / 123 456 - 78"};
    QList<TDeviceText> results[2];
    for (int cached = 0; cached < 2; ++cached) {
        TMeasuringFont::SetCacheEnabled(cached == 1);
        TCanvasFixture f(Screen, 1.7f, false);
        DrawTextBox(*f.Canvas, lines, 3, 4, 80, 50, 1, 1, {40, 25}, 30);
        results[cached] = f.Canvas->Output;
    }
    TMeasuringFont::SetCacheEnabled(true);
    ASSERT_EQ(results[0].size(), 3);
    for (qsizetype i = 0; i < 3; ++i) {
        EXPECT_EQ(results[0][i].Origin, results[1][i].Origin);
        EXPECT_EQ(results[0][i].Advances, results[1][i].Advances);
    }
}
