#pragma once

#include "locale/uHMRegistry.h"

#include <QString>

// The print-position correction of one printer, in millimetres: positive X
// moves the print right, positive Y down. Both stay within -20 .. 20.
struct TPrintOffsets
{
    float X = 0;
    float Y = 0;

    static constexpr float Step = 0.5f;
    static constexpr float Limit = 20.0f;

    friend bool operator==(const TPrintOffsets &, const TPrintOffsets &) = default;
};

// A sheet turned over for its back runs another path through the printer, so
// the back pages of two-sided jobs have a correction of their own.
enum class TPrintSide { Front, Back };

// Both corrections of one printer. Front serves the fronts and every
// one-sided job, Back the back pages of two-sided jobs.
struct TPrintCorrection
{
    TPrintOffsets Front;
    TPrintOffsets Back;

    const TPrintOffsets &Of(TPrintSide side) const { return side == TPrintSide::Back ? Back : Front; }

    friend bool operator==(const TPrintCorrection &, const TPrintCorrection &) = default;
};

// The five calibration buttons.
enum class TOffsetMove { Up, Down, Left, Right, Center };

// One button press: a step in its direction, held at the limit; the centre
// button sets both to 0.
TPrintOffsets MovePrintOffsets(const TPrintOffsets &offsets, TOffsetMove move);

// Values typed in millimetres: each held at the limit and rounded to the
// nearest step, as the buttons would have reached it.
TPrintOffsets TypedPrintOffsets(double x, double y);

// The settings section of a printer: "Druckposition\" + its device key name.
QString PrintOffsetSection(const QString &deviceKeyName);
// A missing value reads as 0, a missing back value as the front's; a stored
// value outside the range is held at its limit.
TPrintCorrection LoadPrintCorrection(const QString &deviceKeyName, const THMRegIniFile &settings = Settings());
// Saving one side leaves the other as it was: backs never set keep following
// the fronts. Written at once, as every running instance shares them.
void SavePrintOffsets(const QString &deviceKeyName, const TPrintOffsets &offsets,
                      TPrintSide side = TPrintSide::Front, THMRegIniFile &settings = Settings());
// One button press on the side's correction as stored now: a step another
// running instance stored meanwhile is not taken back. Written at once.
void MoveStoredPrintOffsets(const QString &deviceKeyName, TOffsetMove move, TPrintSide side,
                            THMRegIniFile &settings = Settings());

// The texts of the two offset labels.
struct TPrintOffsetTexts
{
    QString X;
    QString Y;
};
TPrintOffsetTexts ShowPrintOffsets(const TPrintOffsets &offsets);
