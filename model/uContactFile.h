#pragma once

#include <QString>

class TDocument;

// Registers the German defaults of the contact file commands.
void RegisterContactFileTexts();

// Puts a contact of a vCard file on the card, the one the user picks when
// the file holds several. A file that cannot be read or holds no contact is
// reported and changes nothing. True when the card changed; it is then no
// longer tied to the card file it came from.
bool ImportContactFile(TDocument &document, const QString &path);
// Asks for the vCard file to import; empty when the user cancels.
QString ChooseContactFile(const TDocument &document);
// Asks for a file and writes the card's vCard into it; a failed write is
// reported. True when the file was written.
bool ExportContact(const TDocument &document);
