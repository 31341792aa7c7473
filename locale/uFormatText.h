#pragma once

#include <QString>
#include <QVariantList>

// printf-style formatting of the program's texts over a list of values:
// "%d", "%i", "%u", "%x", "%X" take whole numbers, "%f", "%e", "%g" numbers,
// "%s" a text, "%c" a character, "%%" a percent sign; flags "-", "+", " ",
// "0", width and ".precision" as in printf. Floats use the decimal separator
// of the program's language. Arguments beyond the last placeholder are ignored.
//
// Returns false and leaves result alone when the text does not match the
// arguments (a value of the wrong kind, too few values, an unknown or
// incomplete placeholder).
bool TryFormatText(const QString &format, const QVariantList &args, QString &result);

// The formatted text, or the text itself when it does not match the arguments.
QString FormatOrKeep(const QString &format, const QVariantList &args);
