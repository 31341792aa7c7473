#pragma once

#include "model/uGeometry.h"

#include <QFont>
#include <QList>
#include <QStringList>

#include <vector>

class TDocument;
class TKartenlayout;
class TTextFigure;

// A text figure ready to be laid out: the document's lines, the font after
// shrinking to the box, and the box its lines are aligned in.
struct TTextFigureSetup
{
    QFont Font;
    QStringList Lines;
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    int HAlign = 0;
    int VAlign = 0;
};

// Scale stretches the figure's box to the card it is drawn on.
TTextFigureSetup SetUpTextFigure(const TDocument &ADoc, const TKartenlayout &ALayout, const TTextFigure &F,
                                 const TSinglePoint &Scale);

// A text figure that does not hold its lines: those drawn beyond the card's
// face or over another figure's text, and those dropped below its box.
struct TTextFit
{
    const TTextFigure *Figure = nullptr;
    bool Back = false;
    // The figure's box on the card as the card preview draws it.
    TSingleRect Box;
    QStringList Overflowing;
    QStringList Dropped;

    // Every line the figure loses, in line order.
    QStringList Lost() const { return Overflowing + Dropped; }
};

// The figures of a layout that lose text with the document's data: the
// front and, for a two-sided card, the back. Empty when everything fits.
QList<TTextFit> FitCard(const TDocument &ADoc, const TKartenlayout &ALayout);
// Where the lines and logos of one face put ink with the document's data,
// the code left aside, in millimetres of the face the code is placed on:
// what an automatic code corner keeps clear of.
std::vector<TSingleRect> FaceInk(const TDocument &ADoc, const TKartenlayout &ALayout, bool Back);
// The document holds a logo for that side, and the layout has no place
// for it: it is not printed.
bool LayoutDropsLogo(const TDocument &ADoc, const TKartenlayout &ALayout, bool Back);

void RegisterTextFitTexts();
// "2 Zeilen passen nicht: …" for one figure.
QString TextFitTip(const TTextFit &Fit);
// "Dieses Layout zeigt kein Logo …" for one side.
QString DroppedLogoTip(bool Back);
// One line naming every lost line, every logo left out and a QR code left
// off; empty when the card prints whole.
QString CardFitSentence(const TDocument &ADoc, const TKartenlayout &ALayout);
