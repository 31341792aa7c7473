#include "model/uQRCodeSettings.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

const QString VCardText = QStringLiteral("vCard");
const QString URLText = QStringLiteral("URL");
// In the order of the enumerations.
const QStringList FormTexts{QStringLiteral("vCard"), QStringLiteral("MECARD"), QStringLiteral("Automatisch")};
const QStringList FehlerkorrekturTexts{QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("Q"), QStringLiteral("H"),
                                       QStringLiteral("Automatisch")};

int ReadNumber(const QString &text, int low, int high, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

int ReadChoice(const QString &text, const QStringList &choices, int fallback)
{
    const QString value = text.trimmed();
    const auto found = std::find_if(choices.begin(), choices.end(),
                                    [&](const QString &choice) { return choice.compare(value, Qt::CaseInsensitive) == 0; });
    return found != choices.end() ? int(found - choices.begin()) : fallback;
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
    // Without the newer keys, what older versions did.
    settings.Ecke = ReadNumber(read(QStringLiteral("Ecke")), ObenLinks, UntenRechts, UntenRechts);
    if (ReadNumber(read(QStringLiteral("EckeAutomatisch")), 0, 1, 0) == 1)
        settings.Ecke = Automatisch;
    // A point, as written; a comma as a hand-edited file may have it.
    bool ok = false;
    const double size = read(QStringLiteral("Groesse")).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (ok && std::isfinite(size))
        settings.Groesse = std::clamp(float(size), MinGroesse, MaxGroesse);
    settings.Form = TForm(ReadChoice(read(QStringLiteral("Form")), FormTexts, int(TForm::VCard)));
    settings.Fehlerkorrektur =
        TFehlerkorrektur(ReadChoice(read(QStringLiteral("Fehlerkorrektur")), FehlerkorrekturTexts, int(TFehlerkorrektur::M)));
    return settings;
}

void TQRCodeSettings::Write(const TWriter &write) const
{
    write(QStringLiteral("Anzeigen"), Anzeigen ? QStringLiteral("1") : QStringLiteral("0"));
    write(QStringLiteral("Inhalt"), Inhalt == TInhalt::URL ? URLText : VCardText);
    write(QStringLiteral("URL"), URL);
    write(QStringLiteral("Seite"), Rueckseite ? QStringLiteral("1") : QStringLiteral("0"));
    write(QStringLiteral("Ecke"), QString::number(Ecke == Automatisch ? int(UntenRechts) : Ecke));
    write(QStringLiteral("Groesse"), QString::number(double(Groesse), 'g', 6));
    write(QStringLiteral("EckeAutomatisch"), Ecke == Automatisch ? QStringLiteral("1") : QStringLiteral("0"));
    write(QStringLiteral("Form"), FormTexts.at(int(Form)));
    write(QStringLiteral("Fehlerkorrektur"), FehlerkorrekturTexts.at(int(Fehlerkorrektur)));
}
