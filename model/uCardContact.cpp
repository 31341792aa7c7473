#include "model/uCardContact.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"

#include <QHash>
#include <QRegularExpression>

namespace {

using TKind = TContactLine::TKind;

// The leading words of the ten languages, lower case.
const QHash<QString, TKind> &LabelWords()
{
    static const QHash<QString, TKind> words = [] {
        QHash<QString, TKind> table;
        const std::pair<TKind, const char *> entries[] = {
            {TKind::Phone, "tel tél telefon telefón telephone téléphone phone fon telefono teléfono telefone "
                           "telefoon tfn tlf ph büro office"},
            {TKind::Fax, "fax telefax télécopie telecopie"},
            {TKind::Mobile, "mobil mobile handy cell cellular mobiltelefon portable cellulare móvil movil celular "
                            "telemóvel telemovel mobiel gsm natel mob"},
            {TKind::EMail, "e-mail email mail courriel correo mél mel posta"},
            {TKind::Web, "web www internet website webseite homepage site sito sitio url"},
        };
        for (const auto &[kind, list] : entries) {
            for (const QString &word : QString::fromUtf8(list).split(QLatin1Char(' ')))
                table.insert(word, kind);
        }
        return table;
    }();
    return words;
}

std::optional<TKind> KindOfLabel(const QString &label)
{
    QString word = label.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty).toLower();
    while (word.endsWith(QLatin1Char('.')))
        word.chop(1);
    const auto found = LabelWords().constFind(word);
    if (found == LabelWords().cend())
        return std::nullopt;
    return *found;
}

const char *TextKey(TKind kind)
{
    switch (kind) {
    case TKind::Phone:
        return "ID_KONTAKT_TELEFON";
    case TKind::Mobile:
        return "ID_KONTAKT_MOBIL";
    case TKind::Fax:
        return "ID_KONTAKT_FAX";
    case TKind::EMail:
        return "ID_KONTAKT_EMAIL";
    case TKind::Web:
        break;
    }
    return "ID_KONTAKT_WEB";
}

// "98765 Musterdorf" and the postal codes of the program's countries:
// "D-12345", "1234 AB" (Dutch), "110 00" (Czech, Slovak), "1000-001" (Portuguese).
const QRegularExpression &TownLine()
{
    static const QRegularExpression town(QStringLiteral(
        R"(^(\d{4} ?[A-Z]{2}|(?:[A-Za-z]{1,3}-)?\d{4,5}(?:-\d{3})?|\d{3} \d{2})\s+(\S.*)$)"));
    return town;
}

TContactAddress AddressOfLines(const QStringList &lines)
{
    TContactAddress address;
    // The town follows the street: the first of several lines is no town line.
    qsizetype town = -1;
    for (qsizetype i = lines.size() - 1; i >= (lines.size() > 1 ? 1 : 0); --i) {
        if (TownLine().match(lines.at(i).trimmed()).hasMatch()) {
            town = i;
            break;
        }
    }
    if (town < 0) {
        address.Street = lines.join(QLatin1Char('\n'));
        return address;
    }
    const QRegularExpressionMatch match = TownLine().match(lines.at(town).trimmed());
    address.Street = lines.mid(0, town).join(QLatin1Char('\n'));
    address.PostalCode = match.captured(1);
    address.Locality = match.captured(2);
    const QStringList after = lines.mid(town + 1);
    if (!after.isEmpty()) {
        address.Region = after.mid(0, after.size() - 1).join(QLatin1Char('\n'));
        address.Country = after.last();
    }
    return address;
}

QStringList LinesOfAddress(const TContactAddress &address)
{
    QStringList lines;
    const auto add = [&](const QString &part) {
        if (!part.isEmpty())
            lines << part.split(QLatin1Char('\n'));
    };
    add(address.PostOfficeBox);
    add(address.Extended);
    add(address.Street);
    const QString town = (address.PostalCode + QLatin1Char(' ') + address.Locality).trimmed();
    if (!town.isEmpty())
        lines << town;
    add(address.Region);
    add(address.Country);
    return lines;
}

QString NameOfContact(const TContact &contact)
{
    QString name = contact.FormattedName;
    if (name.isEmpty()) {
        QStringList parts{contact.GivenName, contact.AdditionalNames, contact.FamilyName};
        parts.removeAll(QString());
        name = parts.join(QLatin1Char(' '));
    }
    // The title has a field of its own.
    const QString prefix = contact.HonorificPrefixes + QLatin1Char(' ');
    if (!contact.HonorificPrefixes.isEmpty() && name.startsWith(prefix))
        name = name.mid(prefix.size()).trimmed();
    return name;
}

} // namespace

void RegisterCardContactTexts()
{
    RegisterDefaultText(QStringLiteral("ID_KONTAKT_TELEFON"), QStringLiteral("Tel: %s"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKT_MOBIL"), QStringLiteral("Mobil: %s"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKT_FAX"), QStringLiteral("Fax: %s"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKT_EMAIL"), QStringLiteral("E-Mail: %s"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKT_WEB"), QStringLiteral("Web: %s"));
}

std::optional<TContactLine> ReadContactLine(const QString &line)
{
    const QString text = line.trimmed();
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon > 0) {
        const QString value = text.mid(colon + 1).trimmed();
        if (const std::optional<TKind> kind = KindOfLabel(text.left(colon)); kind && !value.isEmpty())
            return TContactLine{*kind, value};
    }
    static const QRegularExpression leadingWord(QStringLiteral(R"(^([\p{L}-]+)(\.\s*|\s+)(\S.*)$)"));
    if (const QRegularExpressionMatch match = leadingWord.match(text); match.hasMatch()) {
        if (const std::optional<TKind> kind = KindOfLabel(match.captured(1))) {
            // "www.example.org" is an address, not a word before one.
            const bool address = *kind == TKind::Web && match.captured(2) == QLatin1String(".");
            return TContactLine{*kind, address ? text : match.captured(3)};
        }
    }
    static const QRegularExpression webAddress(QStringLiteral(R"(^(https?://|www\.)\S+$)"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression mailAddress(QStringLiteral(R"(^[^\s@]+@[^\s@]+\.[^\s@]+$)"));
    static const QRegularExpression phoneNumber(QStringLiteral(R"(^\+?[\d\s/().-]*\d[\d\s/().-]*$)"));
    if (webAddress.match(text).hasMatch())
        return TContactLine{TKind::Web, text};
    if (mailAddress.match(text).hasMatch())
        return TContactLine{TKind::EMail, text};
    if (phoneNumber.match(text).hasMatch() && text.count(QRegularExpression(QStringLiteral(R"(\d)"))) >= 5)
        return TContactLine{TKind::Phone, text};
    return std::nullopt;
}

QString ContactLineText(const TContactLine &line)
{
    return FormatDefaultText(QLatin1String(TextKey(line.Kind)), {line.Value});
}

TContact ContactOfCard(const TDocument &document)
{
    TContact contact;
    const QString name = document.Name().trimmed();
    contact.FormattedName = name;
    const qsizetype blank = name.lastIndexOf(QLatin1Char(' '));
    contact.FamilyName = name.mid(blank + 1);
    contact.GivenName = blank > 0 ? name.left(blank).trimmed() : QString();
    contact.HonorificPrefixes = document.Titel().trimmed();
    contact.Organization = document.Firma().trimmed();
    // The company may stand among the profession lines; it is said once.
    QStringList title = document.Beruf();
    if (!contact.Organization.isEmpty())
        title.removeAll(contact.Organization);
    contact.Title = title.join(QLatin1Char('\n'));
    if (!document.Adresse().isEmpty())
        contact.Address = AddressOfLines(document.Adresse());
    QStringList unread;
    for (const QString &line : document.TelefonFax()) {
        if (const std::optional<TContactLine> read = ReadContactLine(line))
            contact.Lines << *read;
        else if (!line.trimmed().isEmpty())
            unread << line;
    }
    contact.Note = unread.join(QLatin1Char('\n'));
    return contact;
}

void PutContactOnCard(TDocument &document, const TContact &contact)
{
    document.SetTitel(contact.HonorificPrefixes);
    document.SetName(NameOfContact(contact));
    QStringList profession;
    const QString title = contact.Title.isEmpty() ? contact.Role : contact.Title;
    if (!title.isEmpty())
        profession = title.split(QLatin1Char('\n'));
    // Without a field of its own on the card, the company shows with the profession.
    if (!contact.Organization.isEmpty() && !profession.contains(contact.Organization))
        profession << contact.Organization;
    document.SetBeruf(profession);
    document.SetFirma(contact.Organization);
    document.SetAdresse(LinesOfAddress(contact.Address));
    QStringList lines;
    for (const TContactLine &line : contact.Lines)
        lines << ContactLineText(line);
    if (!contact.Note.isEmpty())
        lines << contact.Note.split(QLatin1Char('\n'));
    document.SetTelefonFax(lines);
}
