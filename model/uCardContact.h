#pragma once

#include "model/uVCard.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

class TDocument;

// Registers the German defaults of the lines a contact puts on the card.
void RegisterCardContactTexts();

// A phone, fax, mobile, e-mail or web line as users type them: a leading
// word in one of the program's languages ("Tel", "Telefon", "Fax",
// "E-Mail", "Web", ...) before a colon, a point or a blank, or a bare web
// address, e-mail address or phone number. Empty for any other line.
std::optional<TContactLine> ReadContactLine(const QString &line);
// The line the card shows for it, with the word of the current language.
QString ContactLineText(const TContactLine &line);

// The card's contact: its name split into given and family name
// (SplitPersonName, with the card's Nachname), the title as the
// honorific prefix, the profession as job title, the company, the address
// lines as one address (street, postal code and town where the lines show
// them) and every line of the phone field ReadContactLine understands; the
// others become the note.
TContact ContactOfCard(const TDocument &document);
// The texts a contact gives a card's fields.
struct TContactCardTexts
{
    QString Titel;
    QString Name;
    // Empty unless the name alone would split into another family name.
    QString Nachname;
    QStringList Beruf;
    QString Firma;
    QStringList Adresse;
    QStringList TelefonFax;

    bool operator==(const TContactCardTexts &) const = default;
};

// What belongs on a business card of the contact: the honorific prefix as
// title, the family name where the name alone does not tell it, the job
// title (else the role) as profession, the company, the address in the form
// of its country without the own country's name (an ISO code, "DE") and the
// work or unstated phone, fax, mobile, e-mail and web lines, labelled in the
// current language, the preferred first; private lines only where a kind has
// nothing else, and never the note.
TContactCardTexts CardTextsOfContact(const TContact &contact, const QString &ownCountry);
// Title, name, family name, profession, company, address and phone field
// from the contact, for the country of the program's language; the rest of
// the card stays. The card counts as changed.
void PutContactOnCard(TDocument &document, const TContact &contact);
