#pragma once

#include <QLocale>
#include <QString>
#include <QValidator>

// Numbers as the user reads and types them: in the program's language, not
// the machine's. Either decimal separator reads as one, so "1,5" and "1.5"
// are one and a half in every language. Nothing is a thousands separator
// (lengths here are never that long): "1.500" is one and a half as well,
// never fifteen hundred.

// The program's current language for numbers, without group separators.
QLocale NumberLocale();

// The value with at most that many decimals and no trailing zeros: "88,9".
QString NumberText(double value, int decimals);

struct TNumberReading
{
    // Acceptable: Value holds the number. Intermediate: not a number yet or
    // no more ("", "-", "1.5.2"), kept to be corrected. Invalid: a character
    // no number has, or a digit beyond the decimals allowed.
    QValidator::State State = QValidator::Invalid;
    double Value = 0;
};

// Reads a number with an optional sign, surrounding blanks allowed.
TNumberReading ReadNumber(const QString &text, int decimals);
