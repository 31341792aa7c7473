#include "model/uAddressFormat.h"

#include <QRegularExpression>

namespace {

// Where town, postal code and region go, below or above the street lines.
enum class TForm {
    PostcodeTown,           // "10115 Berlin"
    PostcodeTownProvince,   // "00144 Roma RM"
    PostcodeTownRegionLine, // "28013 Madrid", then the province on a line of its own
    TownRegionPostcode,     // "Springfield, IL 62701"
    TownLinePostcodeLine,   // "London", then "SW1A 1AA"
    TownStreetPostcode,     // "Budapest", the street, then "1055"
};

struct TCountry
{
    const char *Code;
    TForm Form;
    const char *PostalCode; // a pattern
    // The name in the program's ten languages in the order of its language
    // table, then other names it goes by; separated by "|".
    const char *Names;
    const char *RegionSeparator = " ";
};

// The countries of the program's languages first, in the language table's order.
const TCountry Countries[] = {
    {"DE", TForm::PostcodeTown, R"((?:D-)?\d{5})",
     "Deutschland|Germany|Allemagne|Germania|Alemania|Alemanha|Duitsland|Németország|Německo|Nemecko|"
     "Bundesrepublik Deutschland"},
    {"GB", TForm::TownLinePostcodeLine, R"([A-Z]{1,2}\d[A-Z\d]? ?\d[A-Z]{2})",
     "Vereinigtes Königreich|United Kingdom|Royaume-Uni|Regno Unito|Reino Unido|Reino Unido|Verenigd Koninkrijk|"
     "Egyesült Királyság|Spojené království|Spojené kráľovstvo|Großbritannien|Great Britain|UK|England|Scotland|"
     "Wales|Northern Ireland"},
    {"FR", TForm::PostcodeTown, R"((?:F-)?\d{5})",
     "Frankreich|France|France|Francia|Francia|França|Frankrijk|Franciaország|Francie|Francúzsko"},
    {"IT", TForm::PostcodeTownProvince, R"((?:I-)?\d{5})",
     "Italien|Italy|Italie|Italia|Italia|Itália|Italië|Olaszország|Itálie|Taliansko"},
    {"ES", TForm::PostcodeTownRegionLine, R"((?:E-)?\d{5})",
     "Spanien|Spain|Espagne|Spagna|España|Espanha|Spanje|Spanyolország|Španělsko|Španielsko"},
    {"PT", TForm::PostcodeTown, R"(\d{4}-\d{3})",
     "Portugal|Portugal|Portugal|Portogallo|Portugal|Portugal|Portugal|Portugália|Portugalsko|Portugalsko"},
    {"NL", TForm::PostcodeTown, R"(\d{4} ?[A-Z]{2})",
     "Niederlande|Netherlands|Pays-Bas|Paesi Bassi|Países Bajos|Países Baixos|Nederland|Hollandia|Nizozemsko|"
     "Holandsko|The Netherlands|Holland"},
    {"HU", TForm::TownStreetPostcode, R"((?:H-)?\d{4})",
     "Ungarn|Hungary|Hongrie|Ungheria|Hungría|Hungria|Hongarije|Magyarország|Maďarsko|Maďarsko"},
    {"CZ", TForm::PostcodeTown, R"((?:CZ-)?\d{3} ?\d{2})",
     "Tschechien|Czechia|Tchéquie|Cechia|Chequia|Chéquia|Tsjechië|Csehország|Česko|Česko|Czech Republic|"
     "Tschechische Republik|République tchèque|Repubblica Ceca|República Checa|Tsjechische Republiek|"
     "Cseh Köztársaság|Česká republika"},
    {"SK", TForm::PostcodeTown, R"((?:SK-)?\d{3} ?\d{2})",
     "Slowakei|Slovakia|Slovaquie|Slovacchia|Eslovaquia|Eslováquia|Slowakije|Szlovákia|Slovensko|Slovensko|"
     "Slovenská republika|Slowakische Republik|Slovak Republic"},
    {"AT", TForm::PostcodeTown, R"((?:A-)?\d{4})",
     "Österreich|Austria|Autriche|Austria|Austria|Áustria|Oostenrijk|Ausztria|Rakousko|Rakúsko"},
    {"CH", TForm::PostcodeTown, R"((?:CH-)?\d{4})",
     "Schweiz|Switzerland|Suisse|Svizzera|Suiza|Suíça|Zwitserland|Svájc|Švýcarsko|Švajčiarsko|Svizra"},
    {"US", TForm::TownRegionPostcode, R"(\d{5}(?:-\d{4})?)",
     "USA|USA|États-Unis|Stati Uniti|Estados Unidos|Estados Unidos|Verenigde Staten|Egyesült Államok|"
     "Spojené státy|Spojené štáty|United States|United States of America|U.S.A.|U.S.|Vereinigte Staaten|"
     "Vereinigte Staaten von Amerika|Amerikai Egyesült Államok|Spojené státy americké|Spojené štáty americké",
     ", "},
    {"CA", TForm::TownRegionPostcode, R"([A-Z]\d[A-Z] ?\d[A-Z]\d)",
     "Kanada|Canada|Canada|Canada|Canadá|Canadá|Canada|Kanada|Kanada|Kanada"},
};

// The ten languages each write for one of the first ten countries.
constexpr int LanguageCountries = 10;
constexpr const char *LanguageCodes[LanguageCountries] = {"deu", "eng", "fra", "ita", "spa",
                                                          "por", "ned", "ung", "cze", "slk"};

const TCountry *FindCountry(const QString &code)
{
    for (const TCountry &country : Countries) {
        if (code == QLatin1String(country.Code))
            return &country;
    }
    return nullptr;
}

QStringList NamesOf(const TCountry &country)
{
    return QString::fromUtf8(country.Names).split(QLatin1Char('|'));
}

// The name of the country in the language of the own country, English for
// any other.
QString NameInLanguageOf(const TCountry &country, const QString &ownCountry)
{
    int language = 1;
    for (int i = 0; i < LanguageCountries; ++i) {
        if (ownCountry == QLatin1String(Countries[i].Code))
            language = i;
    }
    return NamesOf(country).at(language);
}

// A whole line, or as much as the pattern's groups take of it.
QRegularExpressionMatch Match(const QString &pattern, const QString &line)
{
    return QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$')).match(line.trimmed());
}

QString PostcodeTown(const QString &postalCode, const QString &town)
{
    return (postalCode + QLatin1Char(' ') + town).trimmed();
}

QString TownRegionPostcode(const TContactAddress &address, const TCountry &country)
{
    QString town = address.Locality;
    if (!address.Region.isEmpty())
        town = town.isEmpty() ? address.Region : town + QLatin1String(country.RegionSeparator) + address.Region;
    return (town + QLatin1Char(' ') + address.PostalCode).trimmed();
}

// "98765 Musterdorf" and the postal codes of the program's countries:
// "D-12345", "1234 AB" (Dutch), "110 00" (Czech, Slovak), "1000-001" (Portuguese).
const QRegularExpression &AnyTownLine()
{
    static const QRegularExpression town(QStringLiteral(
        R"(^(\d{4} ?[A-Z]{2}|(?:[A-Za-z]{1,3}-)?\d{4,5}(?:-\d{3})?|\d{3} \d{2})\s+(\S.*)$)"));
    return town;
}

QString Joined(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

// The lines in the form of the country, without its country line; false
// when they do not have that form.
bool ReadInForm(const QStringList &lines, const TCountry &country, TContactAddress &address)
{
    const qsizetype n = lines.size();
    if (n == 0)
        return false;
    const QString code = QLatin1Char('(') + QLatin1String(country.PostalCode) + QLatin1Char(')');
    const QString postcodeTown = code + QStringLiteral(R"(\s+(\S.*))");
    const auto take = [&](const QRegularExpressionMatch &match, int codeGroup, int townGroup) {
        address.PostalCode = match.captured(codeGroup);
        address.Locality = match.captured(townGroup).trimmed();
    };
    switch (country.Form) {
    case TForm::PostcodeTown:
        if (const auto match = Match(postcodeTown, lines.last()); match.hasMatch()) {
            take(match, 1, 2);
            address.Street = Joined(lines.mid(0, n - 1));
            return true;
        }
        return false;
    case TForm::PostcodeTownProvince:
        if (const auto match = Match(code + QStringLiteral(R"(\s+(\S.*?)(?:\s+([A-Z]{2}))?)"), lines.last());
            match.hasMatch()) {
            take(match, 1, 2);
            address.Region = match.captured(3);
            address.Street = Joined(lines.mid(0, n - 1));
            return true;
        }
        return false;
    case TForm::PostcodeTownRegionLine:
        for (const qsizetype town : {n - 1, n - 2}) {
            if (const auto match = town >= 0 ? Match(postcodeTown, lines.at(town)) : QRegularExpressionMatch();
                match.hasMatch()) {
                take(match, 1, 2);
                address.Region = town < n - 1 ? lines.last().trimmed() : QString();
                address.Street = Joined(lines.mid(0, town));
                return true;
            }
        }
        return false;
    case TForm::TownRegionPostcode:
        if (const auto match = Match(QStringLiteral(R"((\S.*?),?\s+([A-Z]{2})\s+)") + code, lines.last());
            match.hasMatch()) {
            take(match, 3, 1);
            address.Region = match.captured(2);
            address.Street = Joined(lines.mid(0, n - 1));
            return true;
        }
        return false;
    case TForm::TownLinePostcodeLine:
    case TForm::TownStreetPostcode:
        break;
    }
    if (n < 2 || !Match(code, lines.last()).hasMatch())
        return false;
    const bool townFirst = country.Form == TForm::TownStreetPostcode;
    address.PostalCode = lines.last().trimmed();
    address.Locality = lines.at(townFirst ? 0 : n - 2).trimmed();
    address.Street = Joined(lines.mid(townFirst ? 1 : 0, n - 2));
    return true;
}

// Lines in no form the program knows: the last line after the first that
// looks like a postal code and town is that; what follows it is region and,
// unless the country is known already, country.
void ReadAnyForm(const QStringList &lines, bool countryRead, TContactAddress &address)
{
    qsizetype town = -1;
    // The town follows the street: the first of several lines is no town line.
    for (qsizetype i = lines.size() - 1; i >= (lines.size() > 1 ? 1 : 0); --i) {
        if (AnyTownLine().match(lines.at(i).trimmed()).hasMatch()) {
            town = i;
            break;
        }
    }
    if (town < 0) {
        address.Street = Joined(lines);
        return;
    }
    const QRegularExpressionMatch match = AnyTownLine().match(lines.at(town).trimmed());
    address.Street = Joined(lines.mid(0, town));
    address.PostalCode = match.captured(1);
    address.Locality = match.captured(2);
    QStringList after = lines.mid(town + 1);
    if (!countryRead && !after.isEmpty())
        address.Country = after.takeLast();
    address.Region = Joined(after);
}

} // namespace

QString CountryOfLanguage(const QString &languageCode)
{
    for (int i = 0; i < LanguageCountries; ++i) {
        if (languageCode == QLatin1String(LanguageCodes[i]))
            return QLatin1String(Countries[i].Code);
    }
    return {};
}

QString CountryOfName(const QString &name)
{
    const QString text = name.trimmed();
    for (const TCountry &country : Countries) {
        if (text.compare(QLatin1String(country.Code), Qt::CaseInsensitive) == 0)
            return QLatin1String(country.Code);
        for (const QString &known : NamesOf(country)) {
            if (text.compare(known, Qt::CaseInsensitive) == 0)
                return QLatin1String(country.Code);
        }
    }
    return {};
}

QStringList LinesOfAddress(const TContactAddress &address, const QString &ownCountry)
{
    const QString countryCode = CountryOfName(address.Country);
    const TCountry *country = FindCountry(address.Country.isEmpty() ? ownCountry : countryCode);
    const TForm form = country ? country->Form : TForm::PostcodeTown;
    QStringList street;
    for (const QString &part : {address.PostOfficeBox, address.Extended, address.Street}) {
        if (!part.isEmpty())
            street << part.split(QLatin1Char('\n'));
    }
    QStringList lines;
    const auto add = [&lines](const QString &line) {
        if (!line.isEmpty())
            lines << line;
    };
    switch (form) {
    case TForm::PostcodeTown:
    case TForm::PostcodeTownRegionLine:
        lines << street;
        add(PostcodeTown(address.PostalCode, address.Locality));
        // A country of unknown form shows its region as before; a Spanish
        // province only where it is not the town.
        if (!country || (form == TForm::PostcodeTownRegionLine && address.Region != address.Locality))
            add(address.Region);
        break;
    case TForm::PostcodeTownProvince:
        lines << street;
        add((PostcodeTown(address.PostalCode, address.Locality) + QLatin1Char(' ') + address.Region).trimmed());
        break;
    case TForm::TownRegionPostcode:
        lines << street;
        add(TownRegionPostcode(address, *country));
        break;
    case TForm::TownLinePostcodeLine:
        lines << street;
        add(address.Locality);
        add(address.PostalCode);
        break;
    case TForm::TownStreetPostcode:
        add(address.Locality);
        lines << street;
        add(address.PostalCode);
        break;
    }
    if (!address.Country.isEmpty() && (countryCode.isEmpty() || countryCode != ownCountry)) {
        // A code alone is no line a reader of the card understands.
        const bool bareCode = country && address.Country.trimmed().compare(QLatin1String(country->Code),
                                                                           Qt::CaseInsensitive) == 0;
        lines << (bareCode ? NameInLanguageOf(*country, ownCountry) : address.Country);
    }
    return lines;
}

TContactAddress AddressOfLines(const QStringList &lines, const QString &ownCountry)
{
    TContactAddress address;
    QStringList rest = lines;
    QString countryCode;
    if (rest.size() > 1) {
        countryCode = CountryOfName(rest.last());
        if (!countryCode.isEmpty())
            address.Country = rest.takeLast().trimmed();
    }
    const TCountry *country = FindCountry(countryCode.isEmpty() ? ownCountry : countryCode);
    if (!country || !ReadInForm(rest, *country, address))
        ReadAnyForm(rest, !countryCode.isEmpty(), address);
    return address;
}
