#include "model/uMeCard.h"

#include <QStringList>

namespace {

// The separators of fields and of their parts are taken literally behind a
// backslash.
QString Escaped(const QString &value)
{
    QString result;
    result.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(':') || c == QLatin1Char(','))
            result += QLatin1Char('\\');
        result += c;
    }
    return result;
}

// Lines of a part that has room for one.
QString OneLine(const QString &value)
{
    QStringList lines = value.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(QLatin1Char(' '));
}

// Parts separated by commas, in the order given, without empty ones at the end.
QString Parts(const QStringList &parts)
{
    QStringList escaped;
    for (const QString &part : parts)
        escaped << Escaped(OneLine(part));
    while (!escaped.isEmpty() && escaped.last().isEmpty())
        escaped.removeLast();
    return escaped.join(QLatin1Char(','));
}

} // namespace

QByteArray WriteMeCard(const TContact &contact)
{
    QString card = QStringLiteral("MECARD:");
    const auto field = [&](const char *name, const QString &value) {
        if (value.isEmpty())
            return;
        card += QLatin1String(name);
        card += QLatin1Char(':');
        card += value;
        card += QLatin1Char(';');
    };
    // Family name first: readers split the name at its comma.
    const bool parted = !contact.FamilyName.isEmpty() || !contact.GivenName.isEmpty();
    field("N", parted ? Parts({contact.FamilyName, OneLine(contact.GivenName + QLatin1Char(' ') + contact.AdditionalNames)})
                      : Escaped(OneLine(contact.FormattedName)));
    field("ORG", Escaped(OneLine(contact.Organization)));
    for (const TContactLine &line : contact.Lines) {
        const QString value = Escaped(OneLine(line.Value));
        switch (line.Kind) {
        case TContactLine::TKind::Phone:
        case TContactLine::TKind::Mobile:
            field("TEL", value);
            break;
        case TContactLine::TKind::EMail:
            field("EMAIL", value);
            break;
        case TContactLine::TKind::Web:
            field("URL", Escaped(OneLine(WebAddressWithScheme(line.Value))));
            break;
        case TContactLine::TKind::Fax:
            break;
        }
    }
    const TContactAddress &address = contact.Address;
    // Post office box, extended address, street, town, region, postal code, country.
    field("ADR", Parts({address.PostOfficeBox, address.Extended, address.Street, address.Locality, address.Region,
                        address.PostalCode, address.Country}));
    field("NOTE", Escaped(contact.Note));
    card += QLatin1Char(';');
    return card.toUtf8();
}
