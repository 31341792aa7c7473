#pragma once

#include "model/uVCard.h"

#include <QString>
#include <QStringList>

// How the countries the program's users write to set out an address on a
// card: where the postal code stands, whether the region has a place, and
// in which order town and street come. Countries are ISO 3166 codes ("DE").

// The country of the program's language ("deu" gives "DE"); empty for a
// code it does not know.
QString CountryOfLanguage(const QString &languageCode);

// The country a text names: its ISO code or its name in English or in one
// of the program's languages, in any case ("Deutschland", "usa", "Česko").
// Empty when it names none the program knows.
QString CountryOfName(const QString &name);

// The lines of the address as the card shows them in the form of its
// country (the own country's when it names none). The country line is left
// out when it is the own country; a bare country code becomes the country's
// name in the own country's language.
QStringList LinesOfAddress(const TContactAddress &address, const QString &ownCountry);

// The address card lines show: the country of a last line that names one
// decides the form, else the own country's. Lines in no known form keep the
// postal code and town of a line that looks like one; failing that they are
// all street.
TContactAddress AddressOfLines(const QStringList &lines, const QString &ownCountry);
