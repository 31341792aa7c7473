#include "model/uQRCodeSettings.h"

#include <algorithm>
#include <cmath>

namespace {

const QString VCardText = QStringLiteral("vCard");
const QString URLText = QStringLiteral("URL");

int ReadNumber(const QString &text, int low, int high, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

} // namespace

TQRCodeSettings TQRCodeSettings::Read(const TReader &read)
{
    TQRCodeSettings settings;
    settings.Anzeigen = ReadNumber(read(QStringLiteral("Anzeigen")), 0, 1, 0) == 1;
    if (read(QStringLiteral("Inhalt")).trimmed().compare(URLText, Qt::CaseInsensitive) == 0)
        settings.Inhalt = TInhalt::URL;
    settings.URL = read(QStringLiteral("URL")).left(MaxURLLength).trimmed();
    settings.Rueckseite = ReadNumber(read(QStringLiteral("Seite")), 0, 1, 0) == 1;
    settings.Ecke = ReadNumber(read(QStringLiteral("Ecke")), ObenLinks, UntenRechts, settings.Ecke);
    // A point, as written; a comma as a hand-edited file may have it.
    bool ok = false;
    const double size = read(QStringLiteral("Groesse")).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (ok && std::isfinite(size))
        settings.Groesse = std::clamp(float(size), MinGroesse, MaxGroesse);
    return settings;
}

void TQRCodeSettings::Write(const TWriter &write) const
{
    write(QStringLiteral("Anzeigen"), Anzeigen ? QStringLiteral("1") : QStringLiteral("0"));
    write(QStringLiteral("Inhalt"), Inhalt == TInhalt::URL ? URLText : VCardText);
    write(QStringLiteral("URL"), URL);
    write(QStringLiteral("Seite"), Rueckseite ? QStringLiteral("1") : QStringLiteral("0"));
    write(QStringLiteral("Ecke"), QString::number(Ecke));
    write(QStringLiteral("Groesse"), QString::number(double(Groesse), 'g', 6));
}
