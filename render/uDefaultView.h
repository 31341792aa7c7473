#pragma once

#include "model/uGeometry.h"
#include "render/uQRCode.h"

#include <QStringList>

#include <optional>

class TDocument;
class TFigureList;
struct TCardFormat;
class TKartenlayout;
class TLineFigure;
class TPictureFigure;
class TScaleCanvas;
class TTextFigure;

// Turns the card document into drawing calls on a scale canvas. All positions
// are millimetres of the card template; where the card lands on the surface
// is decided only by the canvas's offsets. Views keep no state: drawing
// leaves font, pen and brush changed and restores the offsets it moves.
//
// Back false draws the front figures (and a folding card's inside), true the
// back figures (and the folding card's outer back). The card is the
// document's own unless a format is given. Angles are degrees,
// positive clockwise on the page, turning about Centre. A layout drawn for
// another card size stretches to the sheet's card: every box by Scale, x
// and y on their own; fonts keep their size and shrink only as a figure asks.
class TBaseView
{
public:
    TBaseView() = default;
    // Every card drawn shows this QR code rather than encoding the
    // document's once more: a job of many cards encodes it once.
    explicit TBaseView(TQRCodePtr qrCode) : FQRCode(std::move(qrCode)) {}

    void DrawCard(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back, const TKartenlayout &ALayout) const;
    void DrawFigures(TScaleCanvas &ACanvas, const TDocument &ADoc, const TCardFormat &AFormat, bool Back,
                     float Angle, const TSinglePoint &Centre, const TKartenlayout &ALayout) const;

    // ALayout is the layout F belongs to: a back text of it may be centred
    // over its design height.
    void DrawTextFigure(TScaleCanvas &ACanvas, const TDocument &ADoc, const TKartenlayout &ALayout, float Angle,
                        const TSinglePoint &Centre, const TTextFigure &F, const TSinglePoint &Scale = {1, 1}) const;
    void DrawLineFigure(TScaleCanvas &ACanvas, const TDocument &ADoc, float Angle, const TSinglePoint &Centre,
                        const TLineFigure &F, const TSinglePoint &Scale = {1, 1}) const;
    void DrawPictureFigure(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back, float Angle,
                           const TSinglePoint &Centre, const TPictureFigure &F,
                           const TSinglePoint &Scale = {1, 1}) const;

    // The lines the side's text figures show, in drawing order, without
    // empty ones: what the side says.
    QStringList SideTexts(const TDocument &ADoc, bool Back, const TKartenlayout &ALayout) const;

private:
    void DrawList(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back, float Angle, const TSinglePoint &Centre,
                  const TKartenlayout &ALayout, const TFigureList &List, const TSinglePoint &Scale) const;

    std::optional<TQRCodePtr> FQRCode;
};

// Where the logo of that side is drawn for a picture figure: as large as the
// box allows without changing its proportions, placed by the figure's
// alignment. None without a logo.
std::optional<TSingleRect> LogoArea(const TDocument &ADoc, bool Back, const TPictureFigure &F,
                                    const TSinglePoint &Scale = {1, 1});

// The card on screen: white card, a folding card's fold line, and the outline
// over everything.
class TMainView : public TBaseView
{
public:
    using TBaseView::TBaseView;

    // One side of the document's current layout.
    void DrawSide(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back) const;
    // One side of any layout with the document's texts, logos and switches.
    void DrawLayoutSide(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back, const TKartenlayout &ALayout) const;
    void DrawLayoutSide(TScaleCanvas &ACanvas, const TDocument &ADoc, const TCardFormat &AFormat, bool Back,
                        const TKartenlayout &ALayout) const;

    void DrawCardBackground(TScaleCanvas &ACanvas, const TCardFormat &AFormat, const TKartenlayout &ALayout) const;
    void DrawCardOutline(TScaleCanvas &ACanvas, const TCardFormat &AFormat, const TKartenlayout &ALayout) const;
};

// The cards on paper: figures only, placed slot by slot on the sheet.
class TPrintView : public TBaseView
{
public:
    using TBaseView::TBaseView;

    // All slots of one side of a sheet. Leaves the card offsets at the last
    // slot's position.
    void DrawSheet(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back) const;
    // Every slot outlined, the front in the first one or the back in the
    // slot behind it once the sheet is turned over about its long edge, and
    // the millimetre scales across the edges of the first and the last slot.
    void DrawTestSheet(TScaleCanvas &ACanvas, const TDocument &ADoc, bool Back = false) const;

private:
    // The card in the slot whose top-left corner is Slot; a layout lying
    // across the slot is turned into it.
    void DrawSlot(TScaleCanvas &ACanvas, const TDocument &ADoc, const TCardFormat &AFormat, bool Back,
                  const TSinglePoint &Slot) const;
};
