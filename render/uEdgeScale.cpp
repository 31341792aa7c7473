#include "render/uEdgeScale.h"

#include "model/uBogenlayout.h"
#include "render/uScaleCanvasHelp.h"
#include "render/uScaler.h"

#include <QFont>

#include <algorithm>

namespace {

constexpr float TickPen = 0.1f;       // mm: thin, yet printed by every printer
constexpr float HalfTick = 0.6f;      // mm either side of the baseline
constexpr float WholeTick = 1.2f;     // mm either side of the baseline
constexpr float LabelGap = 0.3f;      // mm from a tick's end to its label
constexpr float BandHalfWidth = 3.5f; // mm either side of the baseline: ticks and labels
constexpr float LabelRow = 2.1f;      // mm: the height of a label and a little
constexpr int LabelPoints = 5;

const QString LabelFont = QStringLiteral("Arial");

} // namespace

std::vector<TEdgeScale> EdgeScales(const TBogenlayout &sheet)
{
    using TAxis = TEdgeScale::TAxis;
    const TSinglePoint first = sheet.SlotOrigin(0, 0);
    const TSinglePoint last = sheet.SlotOrigin(sheet.Columns - 1, sheet.Rows - 1);
    const float w = sheet.CardWidth;
    const float h = sheet.CardHeight;
    return {{TAxis::X, first.X, first.Y + h / 2},
            {TAxis::Y, first.Y, first.X + w / 2},
            {TAxis::X, last.X + w, last.Y + h / 2},
            {TAxis::Y, last.Y + h, last.X + w / 2}};
}

void DrawEdgeScale(TScaleCanvas &canvas, const TEdgeScale &scale)
{
    const bool alongX = scale.Axis == TEdgeScale::TAxis::X;
    // Positions on the scale: along it (the measured direction) and across it.
    const auto point = [alongX](float along, float across) {
        return alongX ? TSinglePoint{along, across} : TSinglePoint{across, along};
    };
    const auto line = [&](float along1, float across1, float along2, float across2) {
        const TSinglePoint p1 = point(along1, across1);
        const TSinglePoint p2 = point(along2, across2);
        canvas.Line(p1.X, p1.Y, p2.X, p2.Y);
    };
    const float from = scale.Edge - TEdgeScale::Reach;
    const float to = scale.Edge + TEdgeScale::Reach;

    // Across a side edge the labels stand in two rows below the baseline:
    // above the middle of a card's side its layouts put their upper lines.
    const float firstRow = WholeTick + LabelGap;
    const float bandBefore = alongX ? firstRow : BandHalfWidth;
    const float bandAfter = alongX ? firstRow + 2 * LabelRow : BandHalfWidth;

    // Whatever the card shows there must not hide a tick.
    const TSinglePoint corner1 = point(from - TEdgeScale::Step, scale.Across - bandBefore);
    const TSinglePoint corner2 = point(to + TEdgeScale::Step, scale.Across + bandAfter);
    canvas.SetBrushColor(Qt::white);
    canvas.FillRect(std::min(corner1.X, corner2.X), std::min(corner1.Y, corner2.Y), std::max(corner1.X, corner2.X),
                    std::max(corner1.Y, corner2.Y));

    canvas.SetPenColor(Qt::black);
    canvas.SetPenWidth(TickPen);
    line(from, scale.Across, to, scale.Across);
    QFont font(LabelFont);
    font.setPointSize(LabelPoints);
    canvas.SetFont(font);
    const int steps = int(TEdgeScale::Reach / TEdgeScale::Step);
    for (int i = -steps; i <= steps; ++i) {
        const float along = scale.Edge + float(i) * TEdgeScale::Step;
        const bool whole = i % 2 == 0;
        const float half = whole ? WholeTick : HalfTick;
        line(along, scale.Across - half, along, scale.Across + half);
        if (!whole)
            continue;
        // Neighbouring labels stand in different rows, where each has two
        // millimetres of room.
        const int millimetres = i / 2;
        const bool after = millimetres % 2 == 0;
        const QString label = QString::number(millimetres);
        if (alongX) {
            const TSinglePoint at = point(along, scale.Across + firstRow + (after ? 0 : LabelRow));
            TextOutAligned(canvas, label, at.X, at.Y, 1, 0);
        } else {
            const TSinglePoint at = point(along, scale.Across + (after ? 1 : -1) * firstRow);
            TextOutAligned(canvas, label, at.X, at.Y, after ? 0 : 2, 1);
        }
    }
    canvas.SetPenWidth(0);
}
