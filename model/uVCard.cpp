#include "model/uVCard.h"

#include "locale/Unicode.h"
#include "support/uProfileIni.h"

#include <QByteArrayList>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype FoldWidth = 75; // bytes of a line, as vCard 3.0 asks
// A company and its departments; more are kept as text of the last.
constexpr qsizetype MaxOrganizationUnits = 8;
// Parameters and types of one property that are looked at; no address book
// writes more.
constexpr qsizetype MaxParameters = 32;
// Bytes of a logical line that are kept. The value of every field of a
// card stays within it: 2047 characters of each of up to eight components,
// even quoted-printable UTF-8 at twelve bytes a character.
constexpr qsizetype MaxLineBytes = 256 * 1024;

struct TProperty
{
    QByteArray Group; // upper case, as "ITEM1"
    QByteArray Name;  // upper case, without its group
    QByteArrayList Types;
    int Preference = 0; // as TContactLine::Preference
    QByteArray Encoding;
    QByteArray Charset;
    QByteArray Value;

    bool Has(const char *type) const { return Types.contains(QByteArray(type)); }
};

qsizetype IndexOutsideQuotes(const QByteArray &text, char separator)
{
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '"')
            quoted = !quoted;
        else if (text.at(i) == separator && !quoted)
            return i;
    }
    return -1;
}

// At most Count parts; the last holds the rest.
QByteArrayList SplitOutsideQuotes(const QByteArray &text, char separator, qsizetype count)
{
    QByteArrayList parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size() && parts.size() < count - 1; ++i) {
        if (text.at(i) == '"') {
            quoted = !quoted;
        } else if (text.at(i) == separator && !quoted) {
            parts << text.mid(start, i - start);
            start = i + 1;
        }
    }
    parts << text.mid(start);
    return parts;
}

QByteArray Unquoted(const QByteArray &value)
{
    const QByteArray trimmed = value.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith('"') && trimmed.endsWith('"'))
        return trimmed.mid(1, trimmed.size() - 2);
    return trimmed;
}

std::optional<TProperty> ParseProperty(const QByteArray &line)
{
    const qsizetype colon = IndexOutsideQuotes(line, ':');
    if (colon < 0)
        return std::nullopt;
    TProperty property;
    const QByteArrayList head = SplitOutsideQuotes(line.left(colon), ';', MaxParameters + 1);
    const QByteArray name = head.front().trimmed().toUpper();
    const qsizetype dot = name.lastIndexOf('.');
    property.Group = name.left(std::max<qsizetype>(dot, 0));
    property.Name = name.mid(dot + 1);
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray &parameter = head.at(i);
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0) {
            // vCard 2.1 names types and encodings without the parameter's name.
            const QByteArray bare = parameter.trimmed().toUpper();
            if (bare == "QUOTED-PRINTABLE" || bare == "BASE64")
                property.Encoding = bare;
            else
                property.Types << bare;
            continue;
        }
        const QByteArray key = parameter.left(equals).trimmed().toUpper();
        const QByteArray value = Unquoted(parameter.mid(equals + 1));
        if (key == "TYPE") {
            for (const QByteArray &type : SplitOutsideQuotes(value, ',', MaxParameters))
                property.Types << Unquoted(type).toUpper();
        } else if (key == "ENCODING") {
            property.Encoding = value.toUpper();
        } else if (key == "CHARSET") {
            property.Charset = value;
        } else if (key == "PREF") {
            // vCard 4.0 ranks from 1 to 100.
            property.Types << "PREF";
            property.Preference = std::clamp(value.toInt(), 1, 100);
        }
    }
    if (property.Preference == 0 && property.Has("PREF"))
        property.Preference = 1;
    property.Value = line.mid(colon + 1);
    return property;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray DecodeQuotedPrintable(const QByteArray &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int high = text.at(i) == '=' && i + 2 < text.size() ? HexDigit(text.at(i + 1)) : -1;
        const int low = high >= 0 ? HexDigit(text.at(i + 2)) : -1;
        if (low < 0) {
            bytes += text.at(i);
            continue;
        }
        bytes += char(high * 16 + low);
        i += 2;
    }
    return bytes;
}

// Bytes of no charset: UTF-8 where they are, else the code page.
QString DecodeAnsi(const QByteArray &bytes, TAnsiCodePage codePage)
{
    if (codePage == TAnsiCodePage::Windows1252)
        return DecodeAnsiText(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Qt names the code page where it is built with ICU, as on Debian.
    QStringDecoder centralEuropean("windows-1250");
    return centralEuropean.isValid() ? QString(centralEuropean.decode(bytes)) : DecodeCp1252(bytes);
}

QString DecodeValue(const TProperty &property, TAnsiCodePage codePage)
{
    const QByteArray bytes =
        property.Encoding == "QUOTED-PRINTABLE" ? DecodeQuotedPrintable(property.Value) : property.Value;
    QString text;
    const QByteArray charset = property.Charset.toUpper();
    if (charset == "ISO-8859-1" || charset == "WINDOWS-1252" || charset == "CP1252") {
        // Address books mean the Windows code page when they name Latin-1.
        text = DecodeCp1252(bytes);
    } else {
        QStringDecoder named;
        if (!charset.isEmpty())
            named = QStringDecoder(property.Charset.constData());
        text = named.isValid() ? named.decode(bytes) : DecodeAnsi(bytes, codePage);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// A value split at unescaped semicolons into at most Count components
// (further semicolons stay in the last), the unescaped commas between the
// values of a component replaced by Separator. Before vCard 3.0 only the
// semicolon is escaped and commas are text. Bounded, so a file of separators
// cannot make millions of strings.
QStringList Structured(const QString &text, bool escapedCommas, qsizetype count, const QString &separator)
{
    QStringList components{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        QString &current = components.last();
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text.at(++i);
            if (next == QLatin1Char('n') || next == QLatin1Char('N'))
                current += QLatin1Char('\n');
            else if (escapedCommas || next == QLatin1Char(';'))
                current += next;
            else
                current += c + QString(next);
        } else if (c == QLatin1Char(';') && components.size() < count) {
            components.append(QString());
        } else if (c == QLatin1Char(',') && escapedCommas) {
            current += separator;
        } else {
            current += c;
        }
    }
    return components;
}

// Values are held to what a card file gives back: no card shows more, and
// longer ones would only slow down everything that draws them. A cut never
// parts the two halves of a character.
QString Bounded(const QString &text)
{
    qsizetype length = TProfileIniFile::MaxValueLength;
    if (text.size() <= length)
        return text;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

QString Component(const QStringList &components, int index)
{
    return index < components.size() ? Bounded(components.at(index)).trimmed() : QString();
}

using TUse = TContactLine::TUse;

TUse UseOfTypes(const TProperty &property)
{
    if (property.Has("WORK"))
        return TUse::Work;
    for (const char *type : {"HOME", "PERSONAL", "PRIVATE", "X-PRIVATE", "X-HOME"}) {
        if (property.Has(type))
            return TUse::Private;
    }
    return TUse::Unstated;
}

// The label a desktop address book gives a group of properties, as
// "_$!<Home>!$_" or one the user typed.
TUse UseOfLabel(QString label)
{
    if (label.startsWith(QLatin1String("_$!<")) && label.endsWith(QLatin1String(">!$_")))
        label = label.mid(4, label.size() - 8);
    label = label.trimmed().toLower();
    static const QStringList work = QString::fromUtf8("work arbeit büro geschäftlich dienstlich office travail "
                                                      "bureau lavoro ufficio trabajo oficina trabalho werk kantoor "
                                                      "munkahelyi práce pracovní pracovný").split(QLatin1Char(' '));
    static const QStringList home = QString::fromUtf8("home privat private personal persönlich zuhause domicile "
                                                      "privé casa privato privado thuis otthoni domácí domáci soukromé "
                                                      "súkromné").split(QLatin1Char(' '));
    if (work.contains(label))
        return TUse::Work;
    return home.contains(label) ? TUse::Private : TUse::Unstated;
}

// Which of several addresses a business card wants: work before unstated
// before private, the preferred first among them.
int AddressRank(const TProperty &property)
{
    const TUse use = UseOfTypes(property);
    const int rank = use == TUse::Work ? 2 : use == TUse::Unstated ? 1 : 0;
    return rank * 2 + (property.Preference > 0 ? 1 : 0);
}

class TReader
{
public:
    // Unicode: the file was UTF-16, read as the UTF-8 it became; the
    // charsets its properties name no longer hold.
    TReader(QList<TContact> &contacts, bool unicode, TAnsiCodePage codePage)
        : FContacts(contacts), FUnicode(unicode), FCodePage(codePage)
    {
    }

    void Line(const QByteArray &line)
    {
        std::optional<TProperty> property = ParseProperty(line);
        if (!property)
            return;
        if (FUnicode)
            property->Charset.clear();
        const QByteArray value = property->Value.trimmed().toUpper();
        if (property->Name == "BEGIN" && value == "VCARD") {
            if (++FDepth == 1)
                Begin();
            return;
        }
        if (property->Name == "END" && value == "VCARD") {
            if (FDepth == 1)
                End();
            FDepth = std::max(0, FDepth - 1);
            return;
        }
        if (FDepth == 1)
            Property(*property);
    }

    bool OldVersion() const { return FVersion21; }

    // A file cut off inside a contact still gives what it holds.
    void Finish()
    {
        if (FDepth >= 1)
            End();
        FDepth = 0;
    }

private:
    void Begin()
    {
        FContact = TContact();
        FLineGroups.clear();
        FLabels.clear();
        FVersion21 = false;
        FAddressRank = -1;
    }

    void End()
    {
        // A label follows the line of its group.
        for (qsizetype i = 0; i < FContact.Lines.size(); ++i) {
            TContactLine &line = FContact.Lines[i];
            if (line.Use == TUse::Unstated && FLabels.contains(FLineGroups.at(i)))
                line.Use = UseOfLabel(FLabels.value(FLineGroups.at(i)));
        }
        const TContact &c = FContact;
        const bool named = !(c.FormattedName + c.FamilyName + c.GivenName + c.Organization).trimmed().isEmpty();
        if (named || !c.Lines.isEmpty() || !c.Address.IsEmpty())
            FContacts.append(FContact);
    }

    void Property(const TProperty &property)
    {
        const QByteArray &name = property.Name;
        if (name == "VERSION") {
            FVersion21 = property.Value.trimmed() == "2.1";
            return;
        }
        if (property.Encoding == "BASE64" || property.Encoding == "B")
            return;
        const bool commas = !FVersion21;
        if (name == "FN") {
            FContact.FormattedName = Bounded(Text(property, commas)).trimmed();
        } else if (name == "N") {
            const QStringList parts = Structured(Decoded(property), commas, 5, QStringLiteral(" "));
            FContact.FamilyName = Component(parts, 0);
            FContact.GivenName = Component(parts, 1);
            FContact.AdditionalNames = Component(parts, 2);
            FContact.HonorificPrefixes = Component(parts, 3);
            FContact.HonorificSuffixes = Component(parts, 4);
        } else if (name == "TITLE") {
            FContact.Title = Bounded(Text(property, commas)).trimmed();
        } else if (name == "ROLE") {
            FContact.Role = Bounded(Text(property, commas)).trimmed();
        } else if (name == "ORG") {
            QStringList units;
            for (const QString &unit : Structured(Decoded(property), commas, MaxOrganizationUnits, QStringLiteral(",")))
                units << unit.trimmed();
            units.removeAll(QString());
            FContact.Organization = Bounded(units.join(QStringLiteral(", "))).trimmed();
        } else if (name == "ADR") {
            Address(property, commas);
        } else if (name == "TEL") {
            QString number = Bounded(Text(property, commas)).trimmed();
            // Every "tel:" goes, or a doubled one would come back one shorter.
            while (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4).trimmed();
            const auto kind = property.Has("CELL") ? TContactLine::TKind::Mobile
                : property.Has("FAX")              ? TContactLine::TKind::Fax
                                                   : TContactLine::TKind::Phone;
            AddLine(property, kind, number);
        } else if (name == "EMAIL") {
            AddLine(property, TContactLine::TKind::EMail, Bounded(Text(property, commas)).trimmed());
        } else if (name == "URL") {
            AddLine(property, TContactLine::TKind::Web, Bounded(Text(property, commas)).trimmed());
        } else if (name == "X-ABLABEL" && !property.Group.isEmpty()) {
            FLabels.insert(property.Group, Bounded(Text(property, commas)));
        } else if (name == "NOTE" && FContact.Note.size() < TProfileIniFile::MaxValueLength) {
            const QString separator = FContact.Note.isEmpty() ? QString() : QStringLiteral("\n");
            FContact.Note = Bounded(FContact.Note + separator + Text(property, commas));
        }
    }

    void Address(const TProperty &property, bool commas)
    {
        const int rank = AddressRank(property);
        if (rank <= FAddressRank)
            return;
        const QStringList parts = Structured(Decoded(property), commas, 7, QStringLiteral(", "));
        TContactAddress address{Component(parts, 0), Component(parts, 1), Component(parts, 2), Component(parts, 3),
                                Component(parts, 4), Component(parts, 5), Component(parts, 6)};
        if (address.IsEmpty())
            return;
        FContact.Address = address;
        FAddressRank = rank;
    }

    void AddLine(const TProperty &property, TContactLine::TKind kind, const QString &value)
    {
        if (value.isEmpty())
            return;
        FContact.Lines.append({kind, value, UseOfTypes(property), property.Preference});
        FLineGroups.append(property.Group);
    }

    QString Decoded(const TProperty &property) const { return DecodeValue(property, FCodePage); }

    // A plain text value: its separators are text again.
    QString Text(const TProperty &property, bool escapedCommas) const
    {
        return Structured(Decoded(property), escapedCommas, 1, QStringLiteral(",")).front();
    }

    QList<TContact> &FContacts;
    bool FUnicode;
    TAnsiCodePage FCodePage;
    // The group of each line, and the labels of the groups.
    QByteArrayList FLineGroups;
    QHash<QByteArray, QString> FLabels;
    TContact FContact;
    int FDepth = 0;
    bool FVersion21 = false;
    int FAddressRank = -1;
};

// Logical lines out of physical ones, each byte looked at once however long
// the line grows: a line folded before a blank continues the one before,
// and so does the line after the soft break ("=" at the end) of a
// quoted-printable value. What a line holds beyond MaxLineBytes is dropped.
class TUnfolder
{
public:
    void Start(QByteArrayView physical)
    {
        FLine.clear();
        FScanned = 0;
        FQuoted = false;
        FHeadEnded = false;
        FQuotedPrintable = false;
        FEndsInEquals = false;
        FCut = false;
        Append(physical);
    }

    void Append(QByteArrayView part)
    {
        if (part.isEmpty())
            return;
        // Once a byte is dropped, every later one is.
        const qsizetype kept = std::min(part.size(), MaxLineBytes - FLine.size());
        FLine.append(part.first(kept));
        FCut = FCut || kept < part.size();
        FEndsInEquals = part.back() == '=';
        ScanHead();
    }

    // The line after a soft break takes the place of its "=".
    void Join(QByteArrayView physical)
    {
        FEndsInEquals = false;
        if (!FCut) {
            FLine.chop(1);
            FEndsInEquals = FLine.endsWith('=');
        }
        Append(physical);
    }

    bool SoftBreak() const { return FEndsInEquals && FQuotedPrintable; }
    const QByteArray &Line() const { return FLine; }

private:
    // Where the property's name and parameters end: at the first colon
    // outside quotes. Only they say whether the value is quoted-printable.
    void ScanHead()
    {
        for (; !FHeadEnded && FScanned < FLine.size(); ++FScanned) {
            const char c = FLine.at(FScanned);
            if (c == '"') {
                FQuoted = !FQuoted;
            } else if (c == ':' && !FQuoted) {
                FHeadEnded = true;
                FQuotedPrintable = FLine.left(FScanned).toUpper().contains("QUOTED-PRINTABLE");
            }
        }
    }

    QByteArray FLine;
    qsizetype FScanned = 0;
    bool FQuoted = false;
    bool FHeadEnded = false;
    bool FQuotedPrintable = false;
    bool FEndsInEquals = false; // the line as read, also where it was dropped
    bool FCut = false;
};

QByteArray Escaped(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(','))
            escaped += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\n'))
            escaped += QLatin1String("\\n");
        else if (c != QLatin1Char('\r'))
            escaped += c;
    }
    return escaped.toUtf8();
}

// Folds after FoldWidth bytes, never inside a UTF-8 sequence; every further
// line starts with a blank.
void AddLine(QByteArray &out, const QByteArray &line)
{
    qsizetype start = 0;
    qsizetype room = FoldWidth;
    while (line.size() - start > room) {
        qsizetype cut = start + room;
        while (cut > start + 1 && (static_cast<unsigned char>(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start) + "\r\n ";
        start = cut;
        room = FoldWidth - 1;
    }
    out += line.mid(start) + "\r\n";
}

// FN is required: a contact without one is named by its N.
QString FormattedNameOf(const TContact &contact)
{
    if (const QString name = contact.FormattedName.trimmed(); !name.isEmpty())
        return name;
    QStringList parts{contact.GivenName.trimmed(), contact.AdditionalNames.trimmed(), contact.FamilyName.trimmed()};
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

QByteArray LineProperty(TContactLine::TKind kind)
{
    switch (kind) {
    case TContactLine::TKind::Phone:
        return "TEL;TYPE=WORK,VOICE:";
    case TContactLine::TKind::Mobile:
        return "TEL;TYPE=CELL:";
    case TContactLine::TKind::Fax:
        return "TEL;TYPE=FAX:";
    case TContactLine::TKind::EMail:
        return "EMAIL:";
    case TContactLine::TKind::Web:
        break;
    }
    return "URL:";
}

QList<TContact> ReadVCardLines(QByteArrayView bytes, bool unicode, TAnsiCodePage codePage)
{
    QList<TContact> contacts;
    TReader reader(contacts, unicode, codePage);
    TUnfolder logical;
    bool pending = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes.at(end) != '\n' && bytes.at(end) != '\r')
            ++end;
        const QByteArrayView physical = bytes.sliced(start, end - start);
        start = end + (end + 1 < bytes.size() && bytes.at(end) == '\r' && bytes.at(end + 1) == '\n' ? 2 : 1);

        if (pending && logical.SoftBreak()) {
            logical.Join(physical);
        } else if (pending && (physical.startsWith(' ') || physical.startsWith('\t'))) {
            // vCard 2.1 folds before a blank that belongs to the value; later
            // versions add the blank.
            logical.Append(reader.OldVersion() ? physical : physical.sliced(1));
        } else {
            if (pending)
                reader.Line(logical.Line());
            logical.Start(physical);
            pending = true;
        }
    }
    if (pending)
        reader.Line(logical.Line());
    reader.Finish();
    return contacts;
}

} // namespace

bool TContactAddress::IsEmpty() const
{
    return (PostOfficeBox + Extended + Street + Locality + Region + PostalCode + Country).trimmed().isEmpty();
}

TAnsiCodePage AnsiCodePageOfLanguage(const QString &languageCode)
{
    for (const char *code : {"cze", "slk", "ung"}) {
        if (languageCode == QLatin1String(code))
            return TAnsiCodePage::Windows1250;
    }
    return TAnsiCodePage::Windows1252;
}

QList<TContact> ReadVCards(const QByteArray &bytes, TAnsiCodePage codePage)
{
    // A byte-order mark: UTF-16 is read as the UTF-8 it becomes, UTF-8
    // without its mark.
    const bool little = bytes.startsWith("\xFF\xFE");
    if (little || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return ReadVCardLines(QString(decoder.decode(QByteArrayView(bytes).sliced(2))).toUtf8(), true, codePage);
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return ReadVCardLines(QByteArrayView(bytes).sliced(3), false, codePage);
    return ReadVCardLines(bytes, false, codePage);
}

QString WebAddressWithScheme(const QString &address)
{
    const QString trimmed = address.trimmed();
    // "www.example.org:8080" names a port, not a scheme.
    static const QRegularExpression scheme(QStringLiteral(R"(^[A-Za-z][A-Za-z0-9+.-]*:[^0-9])"));
    if (trimmed.isEmpty() || scheme.match(trimmed).hasMatch())
        return trimmed;
    return QStringLiteral("https://") + trimmed;
}

QByteArray WriteVCard(const TContact &contact)
{
    const QString formattedName = FormattedNameOf(contact);
    if (formattedName.isEmpty())
        return {};
    QByteArray out;
    AddLine(out, "BEGIN:VCARD");
    AddLine(out, "VERSION:3.0");
    AddLine(out, "N:" + Escaped(contact.FamilyName) + ';' + Escaped(contact.GivenName) + ';'
                     + Escaped(contact.AdditionalNames) + ';' + Escaped(contact.HonorificPrefixes) + ';'
                     + Escaped(contact.HonorificSuffixes));
    AddLine(out, "FN:" + Escaped(formattedName));
    if (!contact.Title.isEmpty())
        AddLine(out, "TITLE:" + Escaped(contact.Title));
    if (!contact.Role.isEmpty())
        AddLine(out, "ROLE:" + Escaped(contact.Role));
    if (!contact.Organization.isEmpty())
        AddLine(out, "ORG:" + Escaped(contact.Organization));
    const TContactAddress &a = contact.Address;
    if (!a.IsEmpty()) {
        AddLine(out, "ADR;TYPE=WORK:" + Escaped(a.PostOfficeBox) + ';' + Escaped(a.Extended) + ';' + Escaped(a.Street)
                         + ';' + Escaped(a.Locality) + ';' + Escaped(a.Region) + ';' + Escaped(a.PostalCode) + ';'
                         + Escaped(a.Country));
    }
    for (const TContactLine &line : contact.Lines) {
        const bool web = line.Kind == TContactLine::TKind::Web;
        AddLine(out, LineProperty(line.Kind) + Escaped(web ? WebAddressWithScheme(line.Value) : line.Value));
    }
    if (!contact.Note.isEmpty())
        AddLine(out, "NOTE:" + Escaped(contact.Note));
    AddLine(out, "END:VCARD");
    return out;
}
