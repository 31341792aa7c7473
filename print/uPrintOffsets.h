#pragma once

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

// The five calibration buttons.
enum class TOffsetMove { Up, Down, Left, Right, Center };

// One button press: a step in its direction, held at the limit; the centre
// button sets both to 0.
TPrintOffsets MovePrintOffsets(const TPrintOffsets &offsets, TOffsetMove move);

// The settings section of a printer: "Druckposition\" + its device key name.
QString PrintOffsetSection(const QString &deviceKeyName);
// A missing value reads as 0; a stored value outside the range is held at its limit.
TPrintOffsets LoadPrintOffsets(const QString &deviceKeyName);
void SavePrintOffsets(const QString &deviceKeyName, const TPrintOffsets &offsets);

// The texts of the two offset labels.
struct TPrintOffsetTexts
{
    QString X;
    QString Y;
};
TPrintOffsetTexts ShowPrintOffsets(const TPrintOffsets &offsets);
