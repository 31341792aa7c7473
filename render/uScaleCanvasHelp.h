#pragma once

#include "render/uScaler.h"

#include <QStringList>

#include <optional>

class TMeasuringFont;

// One entry of a text box as DrawTextBox places it, in millimetres before
// any turning.
struct TBoxLine
{
    // Without leading and trailing blanks; an empty line only takes its height.
    QString Text;
    TSingleArray Widths;
    // Start of the text output and top of the line.
    float X = 0;
    float Y = 0;
    // Where the ink begins and ends; InkTop > InkBottom for a line without
    // ink.
    float InkLeft = 0;
    float InkRight = 0;
    float InkTop = 0;
    float InkBottom = -1;
    // False: the line starts below the box and is dropped (not measured).
    bool Drawn = false;
};

struct TTextBoxLayout
{
    float LineHeight = 0;
    QList<TBoxLine> Lines;
};

// Measures and draws text on a scale canvas. Text is laid out in millimetres
// from widths measured at a fixed resolution, then each character is put at
// the device position of its millimetre position, so text looks the same at
// every zoom and on every device.
//
// Alignment codes: HAlign 0 left, 1 centre, 2 right; VAlign 0 top, 1 centre,
// 2 bottom. Other codes act like 0, but DrawTextBox then starts a line exactly
// at Left, ignoring the first character's bearing.
// Dots per inch the millimetre widths are measured at.
inline constexpr float MeasureResolution = 1440;

float UnitsToMM(int N, float Resolution);

// X: width of the widest line, Y: line count times the line height.
TSinglePoint MeasureLines(TScaleCanvas &Canvas, const QStringList &Lines);
TSinglePoint MeasureText(TScaleCanvas &Canvas, const QString &Text);
float TextWidthMM(TScaleCanvas &Canvas, const QStringList &Lines);
// One width per character, the first without its leading and the last
// without its trailing bearing.
TSingleArray GetCharWidthsMM(TScaleCanvas &Canvas, const QString &Text);
// Device advances rounded from the running millimetre position, so that
// rounding errors never add up along a line.
TIntegerArray WidthsToAdvances(const TScaleCanvas &Canvas, const TSingleArray &Widths);

// Draws Text from (X, Y) with one width per character. A device font of
// one point or less draws a light-grey bar instead. False when the device
// output failed.
bool TextOutWidths(TScaleCanvas &Canvas, float X, float Y, const std::optional<TSingleRect> &Clip,
                   const QString &Text, const TSingleArray &Widths);
// Where DrawTextBox puts each entry of Lines, and which it drops. Glyphs
// drawn at InkScale times the measured size have the ink given.
TTextBoxLayout LayOutTextBox(const TMeasuringFont &Font, const QStringList &Lines, float Left, float Top,
                             float Right, float Bottom, int HAlign, int VAlign, float InkScale = 1);
// Draws each entry of Lines as one line inside the box, aligned, and
// turned by Angle degrees (clockwise) about Centre. A block taller than
// the box starts at Top; lines starting below Bottom are dropped.
void DrawTextBox(TScaleCanvas &Canvas, const QStringList &Lines, float Left, float Top, float Right,
                 float Bottom, int HAlign, int VAlign, const TSinglePoint &Centre, float Angle);
// Draws Text untrimmed, aligned on the point (X, Y).
void TextOutAligned(TScaleCanvas &Canvas, const QString &Text, float X, float Y, int HAlign, int VAlign);
