#include "model/uCardContact.h"

#include "locale/ulocalize.h"
#include "model/uAddressFormat.h"
#include "model/uDocument.h"
#include "model/uPersonName.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

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

// The country the program's language writes for: the card leaves it out
// of the addresses there.
QString OwnCountry()
{
    return CountryOfLanguage(Localizer().GetLanguageCode());
}

TContactAddress AddressOfLines(const QStringList &lines)
{
    return ::AddressOfLines(lines, OwnCountry());
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

// The lines a business card shows, kind by kind in the order the contact
// first names them: of each kind the work and unstated lines, the preferred
// first; the private ones only where the contact has nothing else of it.
QStringList BusinessLines(const QList<TContactLine> &lines)
{
    QList<TKind> kinds;
    for (const TContactLine &line : lines) {
        if (!kinds.contains(line.Kind))
            kinds << line.Kind;
    }
    QStringList texts;
    for (const TKind kind : kinds) {
        QList<TContactLine> chosen;
        for (const bool privateToo : {false, true}) {
            for (const TContactLine &line : lines) {
                if (line.Kind == kind && (privateToo || line.Use != TContactLine::TUse::Private)
                    && !chosen.contains(line))
                    chosen << line;
            }
            if (!chosen.isEmpty())
                break;
        }
        const auto rank = [](const TContactLine &line) { return line.Preference > 0 ? line.Preference : 101; };
        std::stable_sort(chosen.begin(), chosen.end(),
                         [&rank](const TContactLine &a, const TContactLine &b) { return rank(a) < rank(b); });
        for (const TContactLine &line : chosen)
            texts << ContactLineText(line);
    }
    return texts;
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
    contact.FormattedName = document.Name().trimmed();
    const TPersonName name = SplitPersonName(document.Name(), document.Nachname());
    contact.FamilyName = name.FamilyName;
    contact.GivenName = name.GivenName;
    contact.HonorificPrefixes = document.Titel().trimmed();
    contact.Organization = document.Firma().trimmed();
    // The company may stand among the profession lines; it is said once.
    QStringList title = document.Beruf();
    if (!contact.Organization.isEmpty())
        title.removeIf([&](const QString &line) { return line.trimmed() == contact.Organization; });
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

TContactCardTexts CardTextsOfContact(const TContact &contact, const QString &ownCountry)
{
    TContactCardTexts card;
    card.Titel = contact.HonorificPrefixes;
    card.Name = NameOfContact(contact);
    card.Nachname = NachnameForFamilyName(card.Name, contact.FamilyName);
    const QString title = contact.Title.isEmpty() ? contact.Role : contact.Title;
    if (!title.isEmpty())
        card.Beruf = title.split(QLatin1Char('\n'));
    // The company has its field; the layouts show it with the profession.
    if (!contact.Organization.isEmpty())
        card.Beruf.removeAll(contact.Organization);
    card.Firma = contact.Organization;
    card.Adresse = LinesOfAddress(contact.Address, ownCountry);
    card.TelefonFax = BusinessLines(contact.Lines);
    return card;
}

void PutContactOnCard(TDocument &document, const TContact &contact)
{
    const TContactCardTexts card = CardTextsOfContact(contact, OwnCountry());
    document.SetTitel(card.Titel);
    document.SetName(card.Name);
    document.SetNachname(card.Nachname);
    document.SetBeruf(card.Beruf);
    document.SetFirma(card.Firma);
    document.SetAdresse(card.Adresse);
    document.SetTelefonFax(card.TelefonFax);
}
