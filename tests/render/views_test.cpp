#include "model/uCardQRCode.h"
#include "model/uDocument.h"
#include "render/uDefaultView.h"
#include "render/uPackedDIB.h"
#include "render/uScaleCanvasHelp.h"
#include "render/uScaler.h"
#include "render/uTextFit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QPainter>

#include <functional>
#include <memory>

namespace {

const QColor Background(0xF0, 0xF0, 0xF0);

// An image with a scale canvas on it at PixelsPerMM, reached by zooming the
// screen set-up as the thumbnails and previews do.
class TSurface
{
public:
    TSurface(float WidthMM, float HeightMM, float PixelsPerMM, const QColor &Fill = Qt::white)
        : Image(int(WidthMM * PixelsPerMM), int(HeightMM * PixelsPerMM), QImage::Format_RGB32)
    {
        Image.fill(Fill);
        Painter.begin(&Image);
        Canvas = std::make_unique<TScaleCanvas>(Painter);
        Canvas->SetupForDevice(TScaleDevice::sdScreen);
        Canvas->SetZoom(PixelsPerMM / Canvas->PixelsPerMMY());
    }

    // Device position of a millimetre point with the canvas's current offsets.
    QPoint At(float X, float Y) const { return {Canvas->MMToX(X), Canvas->MMToY(Y)}; }
    QColor Pixel(float X, float Y) const { return Image.pixelColor(At(X, Y)); }
    QImage Finished()
    {
        Painter.end();
        return Image;
    }

    QImage Image;
    QPainter Painter;
    std::unique_ptr<TScaleCanvas> Canvas;
};

bool IsInk(const QColor &c)
{
    return qGray(c.rgb()) < 160;
}

bool IsPainted(const QColor &c)
{
    return c != Qt::white;
}

// Bounding box of the pixels inside Area for which Match holds.
QRect BoxOf(const QImage &image, const QRect &area, const std::function<bool(const QColor &)> &Match)
{
    QRect box;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (Match(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect InkBox(const QImage &image, const QRect &area)
{
    return BoxOf(image, area, IsInk);
}

// The device rectangle of a millimetre box, edges inclusive.
QRect DeviceBox(const TSurface &s, float Left, float Top, float Right, float Bottom)
{
    return QRect(s.At(Left, Top), s.At(Right, Bottom) - QPoint(1, 1));
}

template <class TFigureClass> std::unique_ptr<TFigureClass> Boxed(TSingleRect Box)
{
    auto figure = std::make_unique<TFigureClass>();
    figure->Left = Box.Left;
    figure->Top = Box.Top;
    figure->Right = Box.Right;
    figure->Bottom = Box.Bottom;
    return figure;
}

std::unique_ptr<TTextFigure> Text(TSingleRect Box, const QStringList &Fields, quint8 HAlign, quint8 VAlign,
                                  int Size = 10, bool Shrink = false)
{
    auto figure = Boxed<TTextFigure>(Box);
    figure->DataFields = Fields;
    figure->HAlign = HAlign;
    figure->VAlign = VAlign;
    figure->Font.Size = Size;
    figure->Font.Bold = true;
    figure->ScaleDownToBox = Shrink;
    return figure;
}

std::unique_ptr<TPictureFigure> Picture(TSingleRect Box, quint8 HAlign, quint8 VAlign, bool Watermark = false)
{
    auto figure = Boxed<TPictureFigure>(Box);
    figure->HAlign = HAlign;
    figure->VAlign = VAlign;
    figure->Watermark = Watermark;
    return figure;
}

// A logo whose left half is black and right half red, so that its
// orientation shows.
TDIBHandle Logo(int Width, int Height)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).fillRect(Width / 2, 0, Width - Width / 2, Height, Qt::red);
    return PackImage(image, 24);
}

class ViewsTest : public ::testing::Test
{
protected:
    ViewsTest()
    {
        Layout.DesignWidth = 85;
        Layout.DesignHeight = 55;
        Doc.SetName(QStringLiteral("Heinz Mustermann"));
    }

    // The document shows Layout from now on.
    void Use() { Doc.SelectLayout(Layout); }

    const TKartenlayout &Current() const { return Doc.Kartenlayout(); }

    TDocument Doc;
    TKartenlayout Layout;
    TMainView MainView;
    TPrintView PrintView;
};

TEST_F(ViewsTest, EmptyLayoutIsAWhiteCardOnScreenAndNothingOnPaper)
{
    Use();
    TSurface screen(95, 65, 4, Background);
    screen.Canvas->SetOffsetX(5);
    screen.Canvas->SetOffsetY(5);
    MainView.DrawSide(*screen.Canvas, Doc, false);
    const QRect card = DeviceBox(screen, 0, 0, 85, 55).adjusted(0, 0, 1, 1);
    // Border on all four edges, right and bottom included.
    for (const QPoint &edge : {QPoint(card.left(), card.center().y()), QPoint(card.right(), card.center().y()),
                               QPoint(card.center().x(), card.top()), QPoint(card.center().x(), card.bottom())})
        EXPECT_EQ(screen.Image.pixelColor(edge), QColor(Qt::black)) << edge.x() << "," << edge.y();
    EXPECT_EQ(BoxOf(screen.Image, card.adjusted(1, 1, -1, -1), IsPainted),
              QRect());
    EXPECT_EQ(screen.Image.pixelColor(card.left() - 2, card.center().y()), Background);

    TSurface paper(210, 297, 2);
    PrintView.DrawSheet(*paper.Canvas, Doc, false);
    PrintView.DrawSheet(*paper.Canvas, Doc, true);
    EXPECT_FALSE(InkBox(paper.Image, paper.Image.rect()).isValid());
}

TEST_F(ViewsTest, SheetPutsTheCardInEverySlotPlusThePrintOffsets)
{
    Layout.Elements.Add(Picture({0, 0, 5, 5}, 0, 0));
    Use();
    Doc.Logo.SetHandle(Logo(50, 50));
    TSurface paper(210, 297, 4);
    paper.Canvas->SetOffsetX(2);
    paper.Canvas->SetOffsetY(3);
    PrintView.DrawSheet(*paper.Canvas, Doc, false);

    // The last slot's position stays on the canvas.
    EXPECT_FLOAT_EQ(paper.Canvas->CardOffsetX(), 110);
    EXPECT_FLOAT_EQ(paper.Canvas->CardOffsetY(), 230);
    // Positions below are measured from the paper edge.
    paper.Canvas->SetCardOffsetX(0);
    paper.Canvas->SetCardOffsetY(0);
    paper.Canvas->SetOffsetX(0);
    paper.Canvas->SetOffsetY(0);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            const float x = 15 + 95 * column + 2;
            const float y = 10 + 55 * row + 3;
            EXPECT_EQ(paper.Pixel(x + 1, y + 1), QColor(Qt::black)) << column << "," << row;
            EXPECT_EQ(paper.Pixel(x - 0.5f, y + 1), QColor(Qt::white)) << column << "," << row;
            EXPECT_EQ(paper.Pixel(x + 1, y - 0.5f), QColor(Qt::white)) << column << "," << row;
        }
    }
    // Nothing else: one 5 mm square per slot.
    EXPECT_EQ(InkBox(paper.Image, paper.Image.rect()), DeviceBox(paper, 17, 13, 112 + 5, 233 + 5));
}

TEST_F(ViewsTest, FoldingCardShowsTheFaceRightAndTheFoldTextLeft)
{
    Layout.Elements.Add(Text({5, 5, 80, 15}, {QStringLiteral("Name")}, 0, 0, 12));
    Layout.KlappElements.Add(Text({5, 35, 80, 50}, {QStringLiteral("KlappTextInnen1")}, 0, 0, 12));
    Use();
    Doc.SetKlappTextInnen({QStringLiteral("Innen")});
    Doc.SetKartentyp(TDocument::Klappkarte);

    TSurface screen(172, 57, 4, Background);
    screen.Canvas->SetOffsetX(1);
    screen.Canvas->SetOffsetY(1);
    MainView.DrawSide(*screen.Canvas, Doc, false);
    EXPECT_TRUE(InkBox(screen.Image, DeviceBox(screen, 90, 5, 165, 15)).isValid());
    EXPECT_FALSE(InkBox(screen.Image, DeviceBox(screen, 3, 3, 83, 17)).isValid());
    EXPECT_TRUE(InkBox(screen.Image, DeviceBox(screen, 5, 35, 80, 50)).isValid());
    EXPECT_FALSE(InkBox(screen.Image, DeviceBox(screen, 87, 33, 167, 52)).isValid());

    // The fold: 1 mm of light grey at 85 mm.
    const QColor grey(0xC0, 0xC0, 0xC0);
    const QRect fold = BoxOf(screen.Image, DeviceBox(screen, 80, 27, 90, 28), [&](const QColor &c) { return c == grey; });
    EXPECT_NEAR(fold.center().x(), screen.At(85, 0).x(), 1);
    EXPECT_NEAR(fold.width(), screen.Canvas->MMToLength(1), 1);
    EXPECT_EQ(screen.Pixel(85, 2), grey);
    // It ends at the card's edges.
    EXPECT_EQ(screen.Image.pixelColor(screen.At(85, 0) - QPoint(0, 1)), Background);
    EXPECT_EQ(screen.Image.pixelColor(screen.At(85, 55) + QPoint(0, 1)), Background);

    // On paper: no fold line, the face in the right half of each slot.
    TSurface paper(210, 297, 4);
    PrintView.DrawSheet(*paper.Canvas, Doc, false);
    paper.Canvas->SetCardOffsetX(0);
    paper.Canvas->SetCardOffsetY(0);
    EXPECT_EQ(paper.Pixel(20 + 85, 10 + 27.5f), QColor(Qt::white));
    for (int row = 0; row < 5; ++row) {
        const float y = 10 + 55 * row;
        EXPECT_TRUE(InkBox(paper.Image, DeviceBox(paper, 20 + 90, y + 5, 20 + 165, y + 15)).isValid()) << row;
        EXPECT_FALSE(InkBox(paper.Image, DeviceBox(paper, 20 + 3, y + 3, 20 + 83, y + 17)).isValid()) << row;
        EXPECT_TRUE(InkBox(paper.Image, DeviceBox(paper, 20 + 5, y + 35, 20 + 80, y + 50)).isValid()) << row;
    }
}

TEST_F(ViewsTest, PortraitLayoutIsTurnedOntoLandscapeSlots)
{
    Layout.DesignWidth = 55;
    Layout.DesignHeight = 85;
    // A band across the top of the portrait card, left end black.
    Layout.Elements.Add(Picture({0, 0, 55, 20}, 0, 0));
    Layout.BackElements.Add(Picture({0, 0, 55, 20}, 0, 0));
    Use();
    Doc.Logo.SetHandle(Logo(400, 100));
    Doc.LogoRueckseite.SetHandle(Logo(400, 100));
    const QRect firstSlot(0, 0, 4 * 105, 4 * 65);

    // Front: a quarter turn counter-clockwise, the band at the slot's left
    // edge, its left end at the bottom.
    TSurface front(210, 297, 4);
    PrintView.DrawSheet(*front.Canvas, Doc, false);
    front.Canvas->SetCardOffsetX(0);
    front.Canvas->SetCardOffsetY(0);
    const QRect frontBand = InkBox(front.Image, firstSlot);
    EXPECT_LE((frontBand.topLeft() - front.At(15, 10)).manhattanLength(), 3);
    EXPECT_LE((frontBand.bottomRight() - front.At(15 + 13.75f, 65)).manhattanLength(), 3);
    EXPECT_EQ(front.Pixel(22, 10 + 48), QColor(Qt::black));
    EXPECT_EQ(front.Pixel(22, 10 + 7), QColor(Qt::red));

    // Back: a quarter turn clockwise, the band at the slot's right edge, its
    // left end at the top.
    TSurface back(210, 297, 4);
    PrintView.DrawSheet(*back.Canvas, Doc, true);
    back.Canvas->SetCardOffsetX(0);
    back.Canvas->SetCardOffsetY(0);
    const QRect backBand = InkBox(back.Image, firstSlot);
    EXPECT_LE((backBand.topLeft() - back.At(100 - 13.75f, 10)).manhattanLength(), 3);
    EXPECT_LE((backBand.bottomRight() - back.At(100, 65)).manhattanLength(), 3);
    EXPECT_EQ(back.Pixel(93, 10 + 7), QColor(Qt::black));
    EXPECT_EQ(back.Pixel(93, 10 + 48), QColor(Qt::red));

    // On screen the portrait card stands upright in a turned slot.
    TSurface screen(57, 87, 4, Background);
    screen.Canvas->SetOffsetX(1);
    screen.Canvas->SetOffsetY(1);
    MainView.DrawSide(*screen.Canvas, Doc, false);
    EXPECT_EQ(screen.Pixel(55, 43), QColor(Qt::black));
    EXPECT_EQ(screen.Pixel(27.5f, 85), QColor(Qt::black));
    EXPECT_EQ(screen.Pixel(5, 3), QColor(Qt::black));
    EXPECT_EQ(screen.Pixel(50, 3), QColor(Qt::red));
}

TEST_F(ViewsTest, LinesOnlyWhenSwitchedOnAndRectanglesNever)
{
    auto rule = Boxed<TLineFigure>({5, 20, 80, 20});
    rule->Width = 0.5f;
    Layout.Elements.Add(std::move(rule));
    Layout.Elements.Add(Boxed<TRectFigure>({10, 30, 70, 50}));
    Use();

    Doc.LinienAnzeigen = false;
    TSurface off(85, 55, 4);
    PrintView.DrawCard(*off.Canvas, Doc, false, Current());
    EXPECT_FALSE(InkBox(off.Image, off.Image.rect()).isValid());

    Doc.LinienAnzeigen = true;
    TSurface on(85, 55, 4);
    PrintView.DrawCard(*on.Canvas, Doc, false, Current());
    const QRect drawn = InkBox(on.Image, on.Image.rect());
    EXPECT_NEAR(drawn.left(), on.At(5, 0).x(), 2);
    EXPECT_NEAR(drawn.right(), on.At(80, 0).x(), 2);
    EXPECT_NEAR(drawn.center().y(), on.At(0, 20).y(), 1);
    EXPECT_NEAR(drawn.height(), on.Canvas->MMToLength(0.5f), 1);
}

TEST_F(ViewsTest, ScaleDownToBoxShrinksByPointsDownToOne)
{
    Layout.Elements.Add(Text({5, 14.5f, 80, 20.7f}, {QStringLiteral("Name")}, 0, 2, 14, true));
    Layout.Elements.Add(Text({5, 14.5f, 80, 20.7f}, {QStringLiteral("Name")}, 0, 2, 14, false));
    Use();
    const auto &shrinking = static_cast<const TTextFigure &>(Current().Elements.Items(0));
    const auto &fixed = static_cast<const TTextFigure &>(Current().Elements.Items(1));
    TSurface card(85, 55, 4);
    TScaleCanvas &canvas = *card.Canvas;

    PrintView.DrawTextFigure(canvas, Doc, Current(), 0, {}, shrinking);
    EXPECT_EQ(canvas.GetFont().pointSize(), 14);

    Doc.SetName(QStringLiteral("Maximiliane Friederike von Hohenzollern-Sigmaringen"));
    PrintView.DrawTextFigure(canvas, Doc, Current(), 0, {}, shrinking);
    const int size = canvas.GetFont().pointSize();
    EXPECT_LT(size, 14);
    EXPECT_LE(TextWidthMM(canvas, {Doc.Name()}), 75);
    QFont larger = canvas.GetFont();
    larger.setPointSize(size + 1);
    canvas.SetFont(larger);
    EXPECT_GT(TextWidthMM(canvas, {Doc.Name()}), 75);

    Doc.SetName(QString(400, QLatin1Char('W')));
    PrintView.DrawTextFigure(canvas, Doc, Current(), 0, {}, shrinking);
    EXPECT_EQ(canvas.GetFont().pointSize(), 1);

    // Without the flag the template's size stays, and the user's face
    // replaces the template's without touching size or style.
    Doc.Fontname = QStringLiteral("Liberation Serif");
    PrintView.DrawTextFigure(canvas, Doc, Current(), 0, {}, fixed);
    EXPECT_EQ(canvas.GetFont().pointSize(), 14);
    EXPECT_EQ(canvas.GetFont().family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(canvas.GetFont().bold());
}

TEST_F(ViewsTest, LogoKeepsItsProportionsAndItsAlignment)
{
    // A 400 x 100 logo in a 25 x 20 mm box is 25 x 6.25 mm.
    struct TCase
    {
        quint8 HAlign, VAlign;
        TSingleRect Expected;
    };
    const TCase cases[] = {{0, 2, {5, 44.75f, 30, 51}}, {1, 1, {5, 37.875f, 30, 44.125f}}, {2, 0, {5, 31, 30, 37.25f}}};
    for (const TCase &c : cases) {
        Layout.Elements.Clear();
        Layout.Elements.Add(Picture({5, 31, 30, 51}, c.HAlign, c.VAlign));
        Use();
        Doc.Logo.SetHandle(Logo(400, 100));
        TSurface card(85, 55, 10);
        PrintView.DrawCard(*card.Canvas, Doc, false, Current());
        const QRect expected = DeviceBox(card, c.Expected.Left, c.Expected.Top, c.Expected.Right, c.Expected.Bottom);
        const QRect drawn = BoxOf(card.Image, card.Image.rect(), IsPainted);
        EXPECT_LE((drawn.topLeft() - expected.topLeft()).manhattanLength(), 1) << int(c.HAlign);
        EXPECT_LE((drawn.bottomRight() - expected.bottomRight()).manhattanLength(), 1) << int(c.HAlign);
    }

    // A tall logo fills the height instead.
    Layout.Elements.Clear();
    Layout.Elements.Add(Picture({5, 31, 30, 51}, 2, 0));
    Use();
    Doc.Logo.SetHandle(Logo(100, 400));
    TSurface card(85, 55, 10);
    PrintView.DrawCard(*card.Canvas, Doc, false, Current());
    const QRect drawn = BoxOf(card.Image, card.Image.rect(), IsPainted);
    EXPECT_LE((drawn.topLeft() - card.At(25, 31)).manhattanLength(), 1);
    EXPECT_LE((drawn.bottomRight() - (card.At(30, 51) - QPoint(1, 1))).manhattanLength(), 1);
}

TEST_F(ViewsTest, WatermarkFiguresShowTheFadedCopyAndMissingLogosNothing)
{
    Layout.Elements.Add(Picture({0, 0, 85, 55}, 1, 1, true));
    Layout.BackElements.Add(Picture({0, 0, 85, 55}, 1, 1, false));
    Use();
    Doc.Logo.SetHandle(Logo(400, 100));

    TSurface front(85, 55, 4);
    PrintView.DrawCard(*front.Canvas, Doc, false, Current());
    EXPECT_EQ(front.Pixel(20, 27.5f), QColor(217, 217, 217));

    // The back logo is empty: its figure draws nothing.
    TSurface back(85, 55, 4);
    PrintView.DrawCard(*back.Canvas, Doc, true, Current());
    EXPECT_EQ(BoxOf(back.Image, back.Image.rect(), IsPainted), QRect());
}

// The same square on a transparent 300 x 150 canvas as a bitmap and as
// vectors: both show the paper around it and put it in the same place.
TEST_F(ViewsTest, TransparentLogoShowsThePaperInThePreview)
{
    QTemporaryDir dir;
    QImage disc(300, 150, QImage::Format_ARGB32);
    disc.fill(Qt::transparent);
    QPainter(&disc).fillRect(120, 45, 60, 60, Qt::blue);
    const QString png = dir.filePath("disc.png");
    ASSERT_TRUE(disc.save(png));
    const QString svg = dir.filePath("disc.svg");
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="150" viewBox="0 0 300 150">)"
               R"(<rect x="120" y="45" width="60" height="60" fill="#0000ff"/></svg>)");
    file.close();
    Layout.Elements.Add(Picture({5, 31, 30, 51}, 1, 1));
    Layout.BackElements.Add(Picture({0, 0, 85, 55}, 1, 1, true));
    Use();
    QRect blueOfPng[2];
    for (const QString &path : {png, svg}) {
        Doc.Logo.LoadFromFile(path);
        Doc.LogoRueckseite.LoadFromFile(path);
        for (const bool back : {false, true}) {
            SCOPED_TRACE(path.toStdString() + (back ? " back" : " front"));
            TSurface card(85, 55, 4);
            MainView.DrawCard(*card.Canvas, Doc, back, Current());
            const TSingleRect box = back ? TSingleRect{0, 6.25f, 85, 48.75f} : TSingleRect{5, 34.75f, 30, 47.25f};
            EXPECT_EQ(card.Pixel(box.Left + 1, box.Top + 1), QColor(Qt::white));
            EXPECT_EQ(card.Pixel(box.Right - 1, box.Bottom - 1), QColor(Qt::white));
            const QColor centre = card.Pixel((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
            EXPECT_GT(centre.blue(), centre.red() + 25);
            const QRect blue =
                BoxOf(card.Image, card.Image.rect(), [](const QColor &c) { return c.blue() > c.red() + 25; });
            if (path == png)
                blueOfPng[back] = blue;
            EXPECT_LE((blue.topLeft() - blueOfPng[back].topLeft()).manhattanLength(), 1);
            EXPECT_LE((blue.bottomRight() - blueOfPng[back].bottomRight()).manhattanLength(), 1);
        }
    }
}

TEST_F(ViewsTest, CentredBackTextIsCentredOnTheWholeCardBothWays)
{
    Layout.BackElements.Add(Text({31, 30, 77, 48}, {QStringLiteral("BackText1")}, 2, 2));
    Layout.Elements.Add(Text({31, 30, 77, 48}, {QStringLiteral("BackText1")}, 2, 2));
    Use();
    Doc.SetBackText1({QStringLiteral("Sprechzeiten"), QStringLiteral("Mo-Fr 8-12")});

    auto inkOf = [&](bool back) {
        TSurface card(85, 55, 8);
        PrintView.DrawCard(*card.Canvas, Doc, back, Current());
        const QRect ink = InkBox(card.Image, card.Image.rect());
        const float scale = card.Canvas->ScaleY();
        return TSingleRect{ink.left() / scale, ink.top() / scale, (ink.right() + 1) / scale,
                           (ink.bottom() + 1) / scale};
    };

    const TSingleRect bottomAligned = inkOf(true);
    EXPECT_NEAR(bottomAligned.Bottom, 47, 1.5);
    EXPECT_NEAR(bottomAligned.Right, 77, 0.3);

    Doc.TextZentrierenRueckseite = true;
    const TSingleRect centred = inkOf(true);
    EXPECT_NEAR((centred.Top + centred.Bottom) / 2, 27.5, 1.5);
    EXPECT_NEAR((centred.Left + centred.Right) / 2, 42.5, 0.3);
    EXPECT_FLOAT_EQ(centred.Right - centred.Left, bottomAligned.Right - bottomAligned.Left);

    // Only the back list is centred.
    const TSingleRect front = inkOf(false);
    EXPECT_NEAR(front.Bottom, bottomAligned.Bottom, 0.2);
}

TEST_F(ViewsTest, QRCodeOnTheBackTurnsWithAPortraitCardAndClearsItsQuietZone)
{
    Layout.DesignWidth = 55;
    Layout.DesignHeight = 85;
    // A rule across the card that runs under the code.
    auto rule = Boxed<TLineFigure>({0, 70, 55, 70});
    rule->Width = 0.5f;
    Layout.BackElements.Add(std::move(rule));
    Use();
    Doc.SetMitRueckseite(true);
    TQRCodeSettings code;
    code.Anzeigen = true;
    code.Rueckseite = true;
    code.Ecke = TQRCodeSettings::UntenRechts;
    code.Groesse = 18;
    Doc.SetQRCode(code);

    TSurface front(210, 297, 8);
    PrintView.DrawSheet(*front.Canvas, Doc, false);
    EXPECT_FALSE(InkBox(front.Image, front.Image.rect()).isValid());

    TSurface back(210, 297, 8);
    PrintView.DrawSheet(*back.Canvas, Doc, true);
    back.Canvas->SetCardOffsetX(0);
    back.Canvas->SetCardOffsetY(0);
    // 5 mm from the bottom and right edge of the portrait card; turned a
    // quarter clockwise onto the slot, that is 5 mm from its left edge and
    // 32 mm from its top.
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            const float x = 15 + 95 * column + 5;
            const float y = 10 + 55 * row + 32;
            const QRect ink = InkBox(back.Image, DeviceBox(back, x - 1, y - 1, x + 19, y + 19));
            EXPECT_NEAR(float(ink.left()) / 8, x, 0.3) << column << "," << row;
            EXPECT_NEAR(float(ink.top()) / 8, y, 0.3) << column << "," << row;
            EXPECT_NEAR(float(ink.width()) / 8, 18, 0.3) << column << "," << row;
            EXPECT_NEAR(float(ink.height()) / 8, 18, 0.3) << column << "," << row;
            // The rule stops at the quiet zone.
            EXPECT_EQ(back.Pixel(x + 10, y - 0.8f), QColor(Qt::white)) << column << "," << row;
            EXPECT_EQ(back.Pixel(x + 10, y - 10), QColor(Qt::black)) << column << "," << row;
        }
    }

    // A one-sided card shows the code on its front.
    Doc.SetMitRueckseite(false);
    TSurface oneSided(210, 297, 4);
    PrintView.DrawSheet(*oneSided.Canvas, Doc, false);
    EXPECT_TRUE(InkBox(oneSided.Image, oneSided.Image.rect()).isValid());
}

// A code never reaches beyond its card onto the neighbouring ones: one that
// would is left off, and the window says why.
TEST_F(ViewsTest, QRCodeLargerThanItsCardIsLeftOff)
{
    Use();
    TBogenlayout labels;
    labels.Name = QStringLiteral("Etiketten 40x20");
    labels.SheetWidth = 210;
    labels.SheetHeight = 297;
    labels.CardWidth = 40;
    labels.CardHeight = 20;
    labels.Columns = 5;
    labels.Rows = 14;
    labels.MarginLeft = 5;
    labels.MarginTop = 8.5f;
    Doc.SetBogenlayout(labels);
    TQRCodeSettings code;
    code.Anzeigen = true;
    code.Groesse = 18;
    Doc.SetQRCode(code);
    TSurface paper(210, 297, 4);
    PrintView.DrawSheet(*paper.Canvas, Doc, false);
    EXPECT_FALSE(InkBox(paper.Image, paper.Image.rect()).isValid());
    EXPECT_EQ(QRCodeProblem(Doc, DocumentQRCode(Doc), Current()), TQRCodeProblem::LargerThanCard);

    // 5 mm from the bottom right corner, a 14 mm code stays on its card.
    code.Groesse = 14;
    Doc.SetQRCode(code);
    TSurface fits(210, 297, 4);
    PrintView.DrawSheet(*fits.Canvas, Doc, false);
    fits.Canvas->SetCardOffsetX(0);
    fits.Canvas->SetCardOffsetY(0);
    const QRect ink = InkBox(fits.Image, DeviceBox(fits, 5, 8.5f, 45, 28.5f));
    EXPECT_NEAR(ink.left() / 4.0, 5 + 21, 0.3);
    EXPECT_NEAR(ink.width() / 4.0, 14, 0.3);
    EXPECT_NE(QRCodeProblem(Doc, DocumentQRCode(Doc), Current()), TQRCodeProblem::LargerThanCard);
}

// A card without a name has no contact for its code: an empty vCard is
// neither shown nor printed, nor reported as a problem.
TEST_F(ViewsTest, QRCodeOfACardWithoutNameIsLeftOff)
{
    Use();
    Doc.SetName(QStringLiteral(" "));
    Doc.SetTelefonFax({QStringLiteral("Tel: 030 1234")});
    const auto drawn = [&] {
        TSurface screen(85, 55, 4);
        MainView.DrawSide(*screen.Canvas, Doc, false);
        TSurface paper(210, 297, 4);
        PrintView.DrawSheet(*paper.Canvas, Doc, false);
        return std::pair{screen.Finished(), paper.Finished()};
    };
    const auto withoutCode = drawn();
    TQRCodeSettings code;
    code.Anzeigen = true;
    Doc.SetQRCode(code);
    EXPECT_EQ(drawn(), withoutCode);
    EXPECT_EQ(QRCodeProblem(Doc, DocumentQRCode(Doc), Current()), TQRCodeProblem::None);

    Doc.SetName(QStringLiteral("Heinz Mustermann"));
    const auto withCode = drawn();
    EXPECT_NE(withCode.first, withoutCode.first);
    EXPECT_NE(withCode.second, withoutCode.second);
}

TEST_F(ViewsTest, TestSheetOutlinesEverySlotAndFillsOnlyTheFirst)
{
    Layout.Elements.Add(Picture({2, 2, 7, 7}, 0, 0));
    Use();
    Doc.Logo.SetHandle(Logo(50, 50));
    TSurface paper(210, 297, 4);
    PrintView.DrawTestSheet(*paper.Canvas, Doc);
    paper.Canvas->SetCardOffsetX(0);
    paper.Canvas->SetCardOffsetY(0);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            const float x = 15 + 95 * column;
            const float y = 10 + 55 * row;
            EXPECT_EQ(paper.Pixel(x, y + 27.5f), QColor(Qt::black)) << column << "," << row;
            EXPECT_EQ(paper.Pixel(x + 42.5f, y), QColor(Qt::black)) << column << "," << row;
            const QColor inside = paper.Pixel(x + 3, y + 3);
            EXPECT_EQ(inside, QColor(row == 0 && column == 0 ? Qt::black : Qt::white)) << column << "," << row;
        }
    }
}

// Six address lines and ten phone lines in layout 100: eight lines reach the
// box, the eighth sticks out below it onto free card, the other eight are
// dropped.
TEST_F(ViewsTest, FittingNamesTheLinesThatAreDroppedOrLeaveTheirBox)
{
    Doc.SelectLayout(Doc.Layouts().Items(Doc.Layouts().IndexOfName(QStringLiteral("100"))));
    Doc.SetAdresse({"Musterfirma GmbH", "Abteilung Vertrieb", "Haus B", "Alleestr. 95", "98765 Musterdorf",
                    "Deutschland"});
    const QStringList phones{"Tel: 0199/1234567", "Fax: 0199/1234568", "Mobil: 0170/1234567",
                             "E-Mail: heinz@example.org", "Web: www.example.org", "Tel privat: 0199/7654321",
                             "Fax privat: 0199/7654322", "Mobil privat: 0171/7654321", "Skype: heinz.m",
                             "Zentrale: 0199/1000"};
    Doc.SetTelefonFax(phones);

    const QList<TTextFit> fits = FitCard(Doc, Current());
    ASSERT_EQ(fits.size(), 1);
    EXPECT_EQ(fits[0].Figure->DataFields, QStringList({"Adresse", "TelefonFax"}));
    EXPECT_FALSE(fits[0].Back);
    EXPECT_TRUE(fits[0].Overflowing.isEmpty());
    EXPECT_EQ(fits[0].Dropped, phones.mid(2));
    const TSingleRect box = fits[0].Box;
    EXPECT_EQ(QRectF(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top), QRectF(31, 30, 49, 21));

    // What is reported dropped is indeed not printed, and what is kept is.
    TSurface paper(85, 55, 8);
    PrintView.DrawCard(*paper.Canvas, Doc, false, Current());
    EXPECT_GT(InkBox(paper.Image, DeviceBox(paper, 31, 51, 80, 53)).height(), 0) << "the eighth line below the box";
    EXPECT_FALSE(InkBox(paper.Image, DeviceBox(paper, 31, 53.5f, 85, 55)).isValid());

    // The card back and a folding card's outside hold nothing here.
    Doc.SetMitRueckseite(true);
    EXPECT_EQ(FitCard(Doc, Current()).size(), 1);
}

TEST_F(ViewsTest, FiguresWhoseTextsMeetLoseTheLinesPrintedOverEachOther)
{
    // Two boxes laid over each other by design: the profession from the top,
    // the address from the bottom.
    Layout.Elements.Add(Text({5, 5, 80, 50}, {QStringLiteral("Beruf")}, 0, 0, 10));
    Layout.Elements.Add(Text({5, 20, 80, 50}, {QStringLiteral("Adresse")}, 0, 2, 10));
    Use();
    Doc.SetBeruf({"Arzt", "Heilpraktiker"});
    Doc.SetAdresse({"Alleestr. 95", "98765 Musterdorf"});
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty());

    Doc.SetBeruf({"Arzt", "Heilpraktiker", "Osteopath", "Akupunktur", "Homöopathie"});
    Doc.SetAdresse({"Praxis am Park", "Haus B", "Alleestr. 95", "Hinterhaus", "98765 Musterdorf", "Deutschland",
                    "Postfach 12"});
    const QList<TTextFit> fits = FitCard(Doc, Current());
    ASSERT_EQ(fits.size(), 2);
    EXPECT_FALSE(fits[0].Overflowing.isEmpty());
    EXPECT_FALSE(fits[1].Overflowing.isEmpty());
    EXPECT_TRUE(fits[0].Dropped.isEmpty());
    EXPECT_FALSE(fits[0].Overflowing.contains(QStringLiteral("Arzt"))) << "the first line is clear of the address";
    EXPECT_FALSE(fits[1].Overflowing.contains(QStringLiteral("Postfach 12")));

    // A line running off the card is lost as well.
    Doc.SetBeruf({"Arzt"});
    Doc.SetAdresse({"Alleestr. 95", QStringLiteral("Zweigstelle ").repeated(8)});
    const QList<TTextFit> cut = FitCard(Doc, Current());
    ASSERT_EQ(cut.size(), 1);
    EXPECT_EQ(cut[0].Overflowing, QStringList{Doc.Adresse()[1].trimmed()});
}

// Text that meets a logo or the QR code is lost under it or covers it.
TEST_F(ViewsTest, LinesMeetingTheLogoOrTheQRCodeAreLost)
{
    auto picture = Picture({5, 31, 30, 51}, 0, 2);
    TPictureFigure &logo = *picture;
    Layout.Elements.Add(std::move(picture));
    Layout.Elements.Add(Text({5, 40, 80, 50}, {QStringLiteral("Adresse")}, 2, 2, 7));
    Use();
    Doc.SetAdresse({QStringLiteral("Alleestr. 95"), QStringLiteral("heinz.mustermann@musterfirma-beispiel-example.org")});
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty()) << "no logo, nothing in the way";

    Doc.Logo.SetHandle(Logo(200, 200));
    QList<TTextFit> fits = FitCard(Doc, Current());
    ASSERT_EQ(fits.size(), 1);
    EXPECT_EQ(fits[0].Overflowing, QStringList{Doc.Adresse()[1]});
    EXPECT_TRUE(CardFitSentence(Doc, Current()).contains(Doc.Adresse()[1]));

    // A watermark lies under the text by design.
    logo.Watermark = true;
    Use();
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty());

    // The code's quiet zone in the bottom right corner whites out the street.
    Doc.Logo.SetHandle(TDIBHandle());
    Doc.SetAdresse({QStringLiteral("Alleestr. 95"), QStringLiteral("98765 Musterdorf")});
    TQRCodeSettings code;
    code.Anzeigen = true;
    code.Groesse = 14;
    code.Ecke = TQRCodeSettings::UntenRechts;
    Doc.SetQRCode(code);
    fits = FitCard(Doc, Current());
    ASSERT_EQ(fits.size(), 1);
    EXPECT_EQ(fits[0].Overflowing, Doc.Adresse());
    code.Ecke = TQRCodeSettings::ObenLinks;
    Doc.SetQRCode(code);
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty());
}

// An automatic corner is the first one the card's lines leave free, else a
// corner of the back; without one the code is left off and the user told,
// never printed over the text.
TEST_F(ViewsTest, AutomaticQRCodeCornerKeepsClearOfTheText)
{
    Layout.Elements.Add(Text({0, 40, 80, 50}, {QStringLiteral("Name")}, 2, 2, 8));
    Use();
    TQRCodeSettings code;
    code.Anzeigen = true;
    code.Groesse = 14;
    Doc.SetQRCode(code);
    const auto placed = [&] { return PlaceQRCode(Doc, DocumentQRCode(Doc), Doc.CardFormat(), Current()); };
    ASSERT_TRUE(placed());
    EXPECT_FALSE(placed()->Back);
    EXPECT_FLOAT_EQ(placed()->Square.Left, 5) << "bottom left: the name takes the bottom right";
    EXPECT_FLOAT_EQ(placed()->Square.Top, 55 - 5 - 14);
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty());
    TSurface paper(85, 55, 8);
    MainView.DrawSide(*paper.Canvas, Doc, false);
    EXPECT_NEAR(InkBox(paper.Image, DeviceBox(paper, 1, 30, 30, 54)).left() / 8.0, 5, 0.3);

    // Long lines across the top and the bottom leave no corner free.
    Layout.Elements.Add(Text({0, 3, 85, 20}, {QStringLiteral("Beruf")}, 1, 0, 8));
    Use();
    Doc.SetBeruf({QStringLiteral("Geschäftsführender Gesellschafter und Statiker")});
    Doc.SetName(QStringLiteral("Heinz Mustermann-Beispiel aus Musterdorf am See"));
    EXPECT_FALSE(placed());
    EXPECT_EQ(QRCodeProblem(Doc, DocumentQRCode(Doc), Current()), TQRCodeProblem::NoFreeCorner);
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty());
    EXPECT_TRUE(CardFitSentence(Doc, Current()).contains(QRCodeProblemText(TQRCodeProblem::NoFreeCorner)));

    // A two-sided card takes the back's first free corner.
    Doc.SetMitRueckseite(true);
    ASSERT_TRUE(placed());
    EXPECT_TRUE(placed()->Back);
    EXPECT_FLOAT_EQ(placed()->Square.Left, 85 - 5 - 14);
    EXPECT_EQ(QRCodeProblem(Doc, DocumentQRCode(Doc), Current()), TQRCodeProblem::None);

    // A corner the user chose stays, and the lines it covers are lost.
    code.Ecke = TQRCodeSettings::UntenRechts;
    Doc.SetQRCode(code);
    ASSERT_TRUE(placed());
    EXPECT_FALSE(placed()->Back);
    ASSERT_EQ(FitCard(Doc, Current()).size(), 1);
    EXPECT_EQ(FitCard(Doc, Current())[0].Overflowing, QStringList{Doc.Name()});
}

// A contact code at the default size prints with modules a phone reads at
// 300 dpi: level L and, for a long contact, the compact form. Older files
// keep their vCard at level M and are warned.
TEST_F(ViewsTest, ContactQRCodeModulesStayReadableAtTheDefaultSize)
{
    EXPECT_FLOAT_EQ(PrintedModule(18, 73), 2 * 25.4f / 300) << "0.247 mm prints as 2 or 3 dots";
    EXPECT_FLOAT_EQ(PrintedModule(18, 65), 3 * 25.4f / 300);
    Use();
    Doc.SetTitel(QStringLiteral("Dr. med."));
    Doc.SetBeruf({QStringLiteral("Arzt für Allgemeinmedizin")});
    Doc.SetAdresse({QStringLiteral("Alleestr. 95"), QStringLiteral("98765 Musterdorf")});
    Doc.SetTelefonFax({QStringLiteral("Tel: 0199/12345678"), QStringLiteral("Fax: 0199/12345679"),
                       QStringLiteral("Mobil: 0170/1234567"), QStringLiteral("E-Mail: heinz.mustermann@example.org"),
                       QStringLiteral("Web: www.praxis-mustermann.example.org")});
    TQRCodeSettings code;
    code.Anzeigen = true;
    Doc.SetQRCode(code);
    const auto problem = [&] { return QRCodeProblem(Doc, DocumentQRCode(Doc), Current()); };
    EXPECT_EQ(problem(), TQRCodeProblem::None);
    EXPECT_TRUE(QRCodeText(Doc, code.Form).startsWith("BEGIN:VCARD")) << "short enough for the vCard";
    const int vCardWidth = DocumentQRCode(Doc)->Width;

    TQRCodeSettings older = code;
    older.Form = TQRCodeSettings::TForm::VCard;
    older.Fehlerkorrektur = TQRCodeSettings::TFehlerkorrektur::M;
    Doc.SetQRCode(older);
    EXPECT_GT(DocumentQRCode(Doc)->Width, vCardWidth);
    EXPECT_EQ(problem(), TQRCodeProblem::HardToRead);

    // A contact of 600 bytes as a vCard.
    Doc.SetQRCode(code);
    Doc.SetFirma(QStringLiteral("Gemeinschaftspraxis Dr. Mustermann und Kollegen"));
    Doc.SetBeruf({QStringLiteral("Arzt für Allgemeinmedizin"), QStringLiteral("Naturheilverfahren und Akupunktur")});
    Doc.SetAdresse({QStringLiteral("Alleestr. 95"), QStringLiteral("98765 Musterdorf"), QStringLiteral("Deutschland")});
    Doc.SetTelefonFax({QStringLiteral("Tel: 0199/12345678"), QStringLiteral("Fax: 0199/12345679"),
                       QStringLiteral("E-Mail: heinz.mustermann@example.org"), QStringLiteral("Mobil: 0170/98765432"),
                       QStringLiteral("Web: www.praxis-mustermann-musterdorf.example.org"),
                       QStringLiteral("E-Mail: praxis@praxis-mustermann-musterdorf.example.org"),
                       QStringLiteral("Sprechzeiten Mo-Fr 8-12 Uhr und 15-18 Uhr, Mi nachmittags geschlossen"),
                       QStringLiteral("Fax: 0199/12345680")});
    ASSERT_GE(QRCodeText(Doc, TQRCodeSettings::TForm::VCard).size(), 600);
    EXPECT_EQ(problem(), TQRCodeProblem::None);
    const TQRCodePtr compact = EncodeQRCode(QRCodeText(Doc, TQRCodeSettings::TForm::MeCard),
                                            MinimumQRCodeVersion(18), TQRCodeSettings::TFehlerkorrektur::L);
    ASSERT_TRUE(compact);
    EXPECT_EQ(DocumentQRCode(Doc)->Width, compact->Width) << "the compact form, chosen for its larger modules";
}

// A layout without a picture leaves the logo out, and says so.
TEST_F(ViewsTest, LayoutWithoutAPictureDropsTheLogo)
{
    Layout.Elements.Add(Text({5, 5, 80, 15}, {QStringLiteral("Name")}, 0, 0));
    Layout.BackElements.Add(Picture({5, 31, 30, 51}, 0, 2));
    Use();
    Doc.SetMitRueckseite(true);
    EXPECT_FALSE(LayoutDropsLogo(Doc, Current(), false));
    EXPECT_TRUE(CardFitSentence(Doc, Current()).isEmpty());

    Doc.Logo.SetHandle(Logo(50, 50));
    Doc.LogoRueckseite.SetHandle(Logo(50, 50));
    EXPECT_TRUE(LayoutDropsLogo(Doc, Current(), false));
    EXPECT_FALSE(LayoutDropsLogo(Doc, Current(), true));
    EXPECT_EQ(CardFitSentence(Doc, Current()), DroppedLogoTip(false));
    EXPECT_TRUE(DroppedLogoTip(false).contains(QStringLiteral("kein Logo")));
}

// The first start's sample card with a logo fits every layout that has a
// place for it, on every card type.
TEST_F(ViewsTest, SampleCardFitsEveryLayout)
{
    Doc.LoadDefault();
    Doc.SetMitRueckseite(true);
    Doc.SetBackText1(Doc.Adresse());
    Doc.SetBackText2(Doc.TelefonFax());
    Doc.Logo.SetHandle(Logo(300, 150));
    for (const int kartentyp : {TDocument::Standardkarte, TDocument::Klappkarte}) {
        Doc.SetKartentyp(kartentyp);
        Doc.SetKlappTextInnen(Doc.Beruf());
        Doc.SetKlappTextAussen(Doc.Adresse());
        for (int i = 0; i < Doc.Layouts().Count(); ++i) {
            const TKartenlayout &layout = Doc.Layouts().Items(i);
            const QList<TTextFit> fits = FitCard(Doc, layout);
            EXPECT_TRUE(fits.isEmpty()) << qPrintable(layout.Name) << " type " << kartentyp << ": "
                                        << qPrintable(fits.isEmpty() ? QString() : fits[0].Lost().join('|'));
        }
    }
}

// Lines meet where their ink does, in the face the user chose: the line
// cells of title and name overlap in a face with tall cells, their ink does
// not; in a wide face the e-mail address runs into the logo.
TEST_F(ViewsTest, FitGoesByTheInkOfTheChosenFace)
{
    Doc.LoadDefault();
    Doc.Logo.SetHandle(Logo(300, 150));
    Doc.SelectLayout(Doc.Layouts().Items(Doc.Layouts().IndexOfName(QStringLiteral("100"))));
    Doc.Fontname = QStringLiteral("URW Bookman");
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty());

    Doc.Fontname = QStringLiteral("Liberation Mono");
    const QList<TTextFit> fits = FitCard(Doc, Current());
    ASSERT_EQ(fits.size(), 1);
    EXPECT_EQ(fits[0].Overflowing, QStringList{QStringLiteral("E-Mail: heinz.mustermann@example.org")});
    Doc.Logo.SetHandle(TDIBHandle());
    EXPECT_TRUE(FitCard(Doc, Current()).isEmpty());
}

// Cards of a small own sheet keep the type sizes: what runs off is lost.
TEST_F(ViewsTest, SmallOwnSheetLosesTheLinesThatRunOffItsCards)
{
    Doc.LoadDefault();
    TBogenlayout small;
    small.Name = QStringLiteral("Klein 40x30");
    small.CardWidth = 40;
    small.CardHeight = 30;
    small.Columns = 4;
    small.Rows = 8;
    Doc.SetBogenlayout(small);
    EXPECT_FALSE(FitCard(Doc, Current()).isEmpty());
}

} // namespace
