#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A person's contact as address books exchange it, independent of the card.

struct TContactAddress
{
    QString PostOfficeBox;
    QString Extended;
    QString Street; // lines separated by "\n"
    QString Locality;
    QString Region;
    QString PostalCode;
    QString Country;

    bool IsEmpty() const;
    bool operator==(const TContactAddress &) const = default;
};

// One way of reaching the person.
struct TContactLine
{
    enum class TKind { Phone, Mobile, Fax, EMail, Web };
    // What the address book says the line is for: home and other private
    // lines do not belong on a business card.
    enum class TUse { Unstated, Work, Private };

    TKind Kind = TKind::Phone;
    QString Value;
    TUse Use = TUse::Unstated;
    // 1 is the most preferred line (up to 100), 0 says nothing.
    int Preference = 0;

    // The same way of reaching the person, however the address book labels it.
    bool operator==(const TContactLine &other) const { return Kind == other.Kind && Value == other.Value; }
};

struct TContact
{
    QString FormattedName; // FN
    QString FamilyName;    // the parts of N
    QString GivenName;
    QString AdditionalNames;
    QString HonorificPrefixes;
    QString HonorificSuffixes;
    QString Title;        // lines separated by "\n"
    QString Role;
    QString Organization; // its units joined with ", "
    TContactAddress Address;
    // Phones, e-mail and web addresses in the order the contact lists them.
    QList<TContactLine> Lines;
    QString Note; // lines separated by "\n"

    bool operator==(const TContact &) const = default;
};

// The 8-bit code page of a file that names no charset and is no UTF-8.
enum class TAnsiCodePage { Windows1252, Windows1250 };

// The code page files of the program's language were written in on the
// original platform: Windows-1250 for Czech, Slovak and Hungarian.
TAnsiCodePage AnsiCodePageOfLanguage(const QString &languageCode);

// Every contact of a vCard file (versions 2.1, 3.0 and 4.0): folded lines,
// quoted-printable values, the charset a property names (else UTF-8, and
// the code page for bytes that are no UTF-8), UTF-8 and UTF-16 after a
// byte-order mark, grouped and parameterised properties. Lines keep their
// use (work, home, or a private label of their group) and preference. Of
// several addresses the work address is taken, else one not private, the
// preferred before the others, else the first. Contacts nested in others
// are skipped. Every value is cut to the 2047 characters a card file holds;
// the time taken grows with the file.
QList<TContact> ReadVCards(const QByteArray &bytes, TAnsiCodePage codePage = TAnsiCodePage::Windows1252);

// The contact as a vCard 3.0 in UTF-8 with CR LF line ends, lines folded
// after 75 bytes; web addresses with a scheme. FN is the formatted name, else
// the parts of N; a contact without any name has no vCard: empty then.
QByteArray WriteVCard(const TContact &contact);

// The web address as a link: "https://" before one that names no scheme.
QString WebAddressWithScheme(const QString &address);
