#pragma once

#include "model/uVCard.h"

#include <QByteArray>
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

// The card's contact: its name split at the last blank, the title as the
// honorific prefix, the profession as job title, the company, the address
// lines as one address (street, postal code and town where the lines show
// them) and every line of the phone field ReadContactLine understands; the
// others become the note.
TContact ContactOfCard(const TDocument &document);
// Title, name, profession, company, address and phone field from the
// contact; the rest of the card stays. The card counts as changed.
void PutContactOnCard(TDocument &document, const TContact &contact);
