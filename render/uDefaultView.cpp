#include "render/uDefaultView.h"

#include "model/uDocument.h"
#include "render/Leonardo.h"
#include "render/uEdgeScale.h"
#include "render/uQRCode.h"
#include "render/uScaleCanvasHelp.h"
#include "render/uScaler.h"
#include "render/uTextFit.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const QColor FoldLineColor(0xC0, 0xC0, 0xC0);
constexpr float FoldLineWidth = 1.0f; // mm

// Puts the canvas's millimetre offsets back when the drawing that moved them
// ends, also when it ends early.
class TOffsetKeeper
{
public:
    explicit TOffsetKeeper(TScaleCanvas &canvas)
        : FCanvas(canvas), FOffsetX(canvas.OffsetX()), FOffsetY(canvas.OffsetY())
    {
    }
    ~TOffsetKeeper() { Restore(); }
    TOffsetKeeper(const TOffsetKeeper &) = delete;
    TOffsetKeeper &operator=(const TOffsetKeeper &) = delete;

    void Restore()
    {
        FCanvas.SetOffsetX(FOffsetX);
        FCanvas.SetOffsetY(FOffsetY);
    }

private:
    TScaleCanvas &FCanvas;
    float FOffsetX;
    float FOffsetY;
};

// The card as shown: the sheet slot, turned with the layout when the layout
// lies across the slot.
TSinglePoint CardExtent(const TCardFormat &format, const TKartenlayout &layout)
{
    const TBogenlayout &sheet = format.Sheet;
    if (IsLayoutRotated(layout, sheet))
        return {sheet.CardHeight, sheet.CardWidth};
    return {sheet.CardWidth, sheet.CardHeight};
}

// The figure's box on the card it is drawn on.
TSingleRect ScaledBox(const TFigure &figure, const TSinglePoint &scale)
{
    return {figure.Left * scale.X, figure.Top * scale.Y, figure.Right * scale.X, figure.Bottom * scale.Y};
}

} // namespace

void TBaseView::DrawCard(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back, const TKartenlayout &ALayout) const
{
    DrawFigures(ACanvas, ADoc, ADoc.CardFormat(), Back, 0, SinglePoint(0, 0), ALayout);
}

void TBaseView::DrawFigures(TScaleCanvas &ACanvas, const TDocument &ADoc, const TCardFormat &AFormat, bool Back,
                            float Angle, const TSinglePoint &Centre, const TKartenlayout &ALayout) const
{
    TOffsetKeeper offsets(ACanvas);
    if (AFormat.Folding) {
        // The slot holds both halves of the unfolded card; the face itself
        // goes onto the second half.
        const float half = AFormat.Sheet.CardWidth / 2;
        if (!IsLayoutRotated(ALayout, AFormat.Sheet))
            ACanvas.SetOffsetX(ACanvas.OffsetX() + half);
        else if (Angle == 0)
            ACanvas.SetOffsetY(ACanvas.OffsetY() + half);
        else if (Angle == 90)
            ACanvas.SetOffsetX(ACanvas.OffsetX() - half);
        else if (Angle == -90)
            ACanvas.SetOffsetX(ACanvas.OffsetX() + half);
    }
    const TSinglePoint scale = LayoutScale(ALayout, AFormat.Sheet, AFormat.Folding);
    DrawList(ACanvas, ADoc, Back, Angle, Centre, ALayout, Back ? ALayout.BackElements : ALayout.Elements, scale);
    if (ADoc.QRCode().Anzeigen)
        DrawQRCode(ACanvas, ADoc, FQRCode ? *FQRCode : DocumentQRCode(ADoc), AFormat, Back, Angle, Centre, ALayout);
    offsets.Restore();

    if (AFormat.Folding)
        DrawList(ACanvas, ADoc, Back, Angle, Centre, ALayout,
                 Back ? ALayout.BackKlappElements : ALayout.KlappElements, scale);
}

QStringList TBaseView::SideTexts(const TDocument &ADoc, bool Back, const TKartenlayout &ALayout) const
{
    QStringList texts;
    auto add = [&](const TFigureList &list) {
        for (int i = 0; i < list.Count(); ++i) {
            if (const auto *text = dynamic_cast<const TTextFigure *>(&list.Items(i))) {
                QStringList lines;
                ADoc.GetFieldTexts(text->DataFields, lines);
                for (const QString &line : std::as_const(lines)) {
                    if (!line.trimmed().isEmpty())
                        texts << line;
                }
            }
        }
    };
    // The faces DrawFigures draws, in its order.
    add(Back ? ALayout.BackElements : ALayout.Elements);
    if (ADoc.Kartentyp() == TDocument::Klappkarte)
        add(Back ? ALayout.BackKlappElements : ALayout.KlappElements);
    return texts;
}

void TBaseView::DrawList(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back, float Angle,
                         const TSinglePoint &Centre, const TKartenlayout &ALayout, const TFigureList &List,
                         const TSinglePoint &Scale) const
{
    // Later figures are drawn over earlier ones; rectangles only mark areas.
    for (int i = 0; i < List.Count(); ++i) {
        const TFigure &figure = List.Items(i);
        if (const auto *text = dynamic_cast<const TTextFigure *>(&figure))
            DrawTextFigure(ACanvas, ADoc, ALayout, Angle, Centre, *text, Scale);
        else if (const auto *line = dynamic_cast<const TLineFigure *>(&figure))
            DrawLineFigure(ACanvas, ADoc, Angle, Centre, *line, Scale);
        else if (const auto *picture = dynamic_cast<const TPictureFigure *>(&figure))
            DrawPictureFigure(ACanvas, ADoc, Back, Angle, Centre, *picture, Scale);
    }
}

void TBaseView::DrawTextFigure(TScaleCanvas &ACanvas, const TDocument &ADoc, const TKartenlayout &ALayout,
                               float Angle, const TSinglePoint &Centre, const TTextFigure &F,
                               const TSinglePoint &Scale) const
{
    const TTextFigureSetup setup = SetUpTextFigure(ADoc, ALayout, F, Scale);
    ACanvas.SetFont(setup.Font);
    DrawTextBox(ACanvas, setup.Lines, setup.Left, setup.Top, setup.Right, setup.Bottom, setup.HAlign, setup.VAlign,
                Centre, Angle);
}

void TBaseView::DrawLineFigure(TScaleCanvas &ACanvas, const TDocument &ADoc, float Angle, const TSinglePoint &Centre,
                               const TLineFigure &F, const TSinglePoint &Scale) const
{
    if (!ADoc.LinienAnzeigen)
        return;
    // The diagonal of the figure's box; the pen keeps its width.
    const TSingleRect box = ScaledBox(F, Scale);
    const TSinglePoint p1 = RotatePointAround(SinglePoint(box.Left, box.Top), Centre, Angle);
    const TSinglePoint p2 = RotatePointAround(SinglePoint(box.Right, box.Bottom), Centre, Angle);
    ACanvas.SetPenWidth(F.Width);
    ACanvas.SetPenColor(Qt::black);
    ACanvas.Line(p1.X, p1.Y, p2.X, p2.Y);
    ACanvas.SetPenWidth(0);
}

void TBaseView::DrawPictureFigure(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back, float Angle,
                                  const TSinglePoint &Centre, const TPictureFigure &F,
                                  const TSinglePoint &Scale) const
{
    const std::optional<TSingleRect> area = LogoArea(ADoc, Back, F, Scale);
    if (!area)
        return;
    const float x = area->Left;
    const float y = area->Top;
    const float x2 = area->Right;
    const float y2 = area->Bottom;
    const float width = x2 - x;
    const float height = y2 - y;

    const TDIB &source = F.Watermark ? (Back ? ADoc.LogoRueckseiteWatermark() : ADoc.LogoWatermark())
                                     : (Back ? ADoc.LogoRueckseite : ADoc.Logo);
    if (Angle == 0) {
        source.Draw(ACanvas, x, y, x2, y2);
        return;
    }

    if (source.IsVector()) {
        // Vectors turn with the painter and stay vectors.
        QPainter &painter = ACanvas.Canvas();
        const TSinglePoint centre = RotatePointAround(SinglePoint((x + x2) / 2, (y + y2) / 2), Centre, Angle);
        const QPointF pivot(ACanvas.MMToX(centre.X), ACanvas.MMToY(centre.Y));
        painter.save();
        painter.translate(pivot);
        painter.rotate(Angle);
        painter.translate(-pivot);
        source.Draw(ACanvas, centre.X - width / 2, centre.Y - height / 2, centre.X + width / 2, centre.Y + height / 2);
        painter.restore();
        return;
    }

    const TSinglePoint corners[] = {
        RotatePointAround(SinglePoint(x, y), Centre, Angle), RotatePointAround(SinglePoint(x2, y), Centre, Angle),
        RotatePointAround(SinglePoint(x2, y2), Centre, Angle), RotatePointAround(SinglePoint(x, y2), Centre, Angle)};
    TSingleRect box{corners[0].X, corners[0].Y, corners[0].X, corners[0].Y};
    for (const TSinglePoint &corner : corners) {
        box.Left = std::min(box.Left, corner.X);
        box.Top = std::min(box.Top, corner.Y);
        box.Right = std::max(box.Right, corner.X);
        box.Bottom = std::max(box.Bottom, corner.Y);
    }
    // The imaging library turns counter-clockwise, the page clockwise.
    TDIB rotated;
    rotated.SetHandle(RotateDIB(source.Handle(), -int(std::lround(Angle * 10)), qRgb(0xFF, 0xFF, 0xFF)));
    rotated.Draw(ACanvas, box.Left, box.Top, box.Right, box.Bottom);
}

std::optional<TSingleRect> LogoArea(const TDocument &ADoc, bool Back, const TPictureFigure &F,
                                    const TSinglePoint &Scale)
{
    const TDIB &logo = Back ? ADoc.LogoRueckseite : ADoc.Logo;
    const float pictureWidth = float(std::abs(logo.Width()));
    const float pictureHeight = float(std::abs(logo.Height()));
    if (logo.IsEmpty() || pictureWidth == 0 || pictureHeight == 0)
        return std::nullopt;

    const TSingleRect frame = ScaledBox(F, Scale);
    float width = frame.Right - frame.Left;
    float height = width * pictureHeight / pictureWidth;
    if (frame.Bottom - frame.Top < height) {
        height = frame.Bottom - frame.Top;
        width = height * pictureWidth / pictureHeight;
    }

    float x = frame.Left;
    if (F.HAlign == 1)
        x = frame.Left + (frame.Right - frame.Left - width) / 2;
    else if (F.HAlign == 2)
        x = frame.Right - width;
    float y = frame.Top;
    if (F.VAlign == 1)
        y = frame.Top + (frame.Bottom - frame.Top - height) / 2;
    else if (F.VAlign == 2)
        y = frame.Bottom - height;
    return TSingleRect{x, y, x + width, y + height};
}

void TMainView::DrawSide(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back) const
{
    DrawLayoutSide(ACanvas, ADoc, Back, ADoc.Kartenlayout());
}

void TMainView::DrawLayoutSide(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back,
                               const TKartenlayout &ALayout) const
{
    DrawLayoutSide(ACanvas, ADoc, ADoc.CardFormat(), Back, ALayout);
}

void TMainView::DrawLayoutSide(TScaleCanvas &ACanvas, const TDocument &ADoc, const TCardFormat &AFormat, bool Back,
                               const TKartenlayout &ALayout) const
{
    DrawCardBackground(ACanvas, AFormat, ALayout);
    DrawFigures(ACanvas, ADoc, AFormat, Back, 0, SinglePoint(0, 0), ALayout);
    DrawCardOutline(ACanvas, AFormat, ALayout);
}

void TMainView::DrawCardBackground(TScaleCanvas &ACanvas, const TCardFormat &AFormat,
                                   const TKartenlayout &ALayout) const
{
    ACanvas.SetBrushColor(Qt::white);
    ACanvas.SetPenColor(Qt::black);
    ACanvas.SetPenWidth(0);
    const TSinglePoint extent = CardExtent(AFormat, ALayout);
    ACanvas.Rectangle(0, 0, extent.X, extent.Y);

    if (AFormat.Folding) {
        const TBogenlayout &sheet = AFormat.Sheet;
        const float fold = sheet.CardWidth / 2;
        // Flat ends: a 1 mm line would otherwise stick out of the card.
        const QPen pen = ACanvas.Pen();
        QPen foldPen = pen;
        foldPen.setCapStyle(Qt::FlatCap);
        ACanvas.SetPen(foldPen);
        ACanvas.SetPenColor(FoldLineColor);
        ACanvas.SetPenWidth(FoldLineWidth);
        if (IsLayoutRotated(ALayout, sheet))
            ACanvas.Line(0, fold, sheet.CardHeight, fold);
        else
            ACanvas.Line(fold, 0, fold, sheet.CardHeight);
        ACanvas.SetPen(pen);
        ACanvas.SetPenColor(Qt::black);
        ACanvas.SetPenWidth(0);
    }
}

void TMainView::DrawCardOutline(TScaleCanvas &ACanvas, const TCardFormat &AFormat, const TKartenlayout &ALayout) const
{
    // Drawn last, so that no figure covers the border.
    ACanvas.SetBrushStyle(Qt::NoBrush);
    ACanvas.SetPenColor(Qt::black);
    const TSinglePoint extent = CardExtent(AFormat, ALayout);
    ACanvas.Rectangle(0, 0, extent.X, extent.Y);
    ACanvas.SetBrushStyle(Qt::SolidPattern);
}

void TPrintView::DrawSheet(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back) const
{
    const TCardFormat format = ADoc.CardFormat();
    const TBogenlayout &sheet = format.Sheet;
    for (int row = 0; row < sheet.Rows; ++row)
        for (int column = 0; column < sheet.Columns; ++column)
            DrawSlot(ACanvas, ADoc, format, Back, sheet.SlotOrigin(column, row));
}

void TPrintView::DrawSlot(TScaleCanvas &ACanvas, const TDocument &ADoc, const TCardFormat &AFormat, bool Back,
                          const TSinglePoint &Slot) const
{
    // The print correction stays in OffsetX/OffsetY.
    const TBogenlayout &sheet = AFormat.Sheet;
    const TKartenlayout &layout = ADoc.Kartenlayout();
    ACanvas.SetCardOffsetX(Slot.X);
    ACanvas.SetCardOffsetY(Slot.Y);
    if (!IsLayoutRotated(layout, sheet)) {
        DrawFigures(ACanvas, ADoc, AFormat, Back, 0, SinglePoint(0, 0), layout);
    } else if (Back) {
        // Turned clockwise about the slot's top-right corner.
        ACanvas.SetCardOffsetX(Slot.X + sheet.CardWidth);
        DrawFigures(ACanvas, ADoc, AFormat, Back, 90, SinglePoint(0, 0), layout);
    } else {
        // Turned counter-clockwise about the slot's bottom-left corner.
        ACanvas.SetCardOffsetY(Slot.Y + sheet.CardHeight);
        DrawFigures(ACanvas, ADoc, AFormat, Back, -90, SinglePoint(0, 0), layout);
    }
}

void TPrintView::DrawTestSheet(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back) const
{
    const TCardFormat format = ADoc.CardFormat();
    const TBogenlayout &sheet = format.Sheet;
    // Drawn again over the content, so that the outline is always complete.
    const auto outline = [&](const TSinglePoint &slot, bool filled) {
        ACanvas.SetCardOffsetX(slot.X);
        ACanvas.SetCardOffsetY(slot.Y);
        if (filled)
            ACanvas.SetBrushColor(Qt::white);
        else
            ACanvas.SetBrushStyle(Qt::NoBrush);
        ACanvas.SetPenColor(Qt::black);
        ACanvas.SetPenWidth(0);
        ACanvas.Rectangle(0, 0, sheet.CardWidth, sheet.CardHeight);
    };
    // The back stands behind the front once the sheet is turned over about
    // its long edge, so that both can be held against the light together.
    const bool landscape = sheet.SheetWidth > sheet.SheetHeight;
    const int cardColumn = Back && !landscape ? sheet.Columns - 1 : 0;
    const int cardRow = Back && landscape ? sheet.Rows - 1 : 0;
    for (int row = 0; row < sheet.Rows; ++row) {
        for (int column = 0; column < sheet.Columns; ++column) {
            const TSinglePoint slot = sheet.SlotOrigin(column, row);
            outline(slot, true);
            if (row == cardRow && column == cardColumn)
                DrawSlot(ACanvas, ADoc, format, Back, slot);
            outline(slot, false);
        }
    }

    // The scales lie over the cards in the first and the last slot; the
    // outlines they cross are drawn again over them.
    ACanvas.SetCardOffsetX(0);
    ACanvas.SetCardOffsetY(0);
    for (const TEdgeScale &scale : EdgeScales(sheet))
        DrawEdgeScale(ACanvas, scale);
    outline(sheet.SlotOrigin(0, 0), false);
    outline(sheet.SlotOrigin(sheet.Columns - 1, sheet.Rows - 1), false);
}
