#pragma once

#include <QByteArray>
#include <QString>

class TDocument;

// Registers the German defaults of the contact file commands.
void RegisterContactFileTexts();

// Puts a contact of a vCard file on the card, the one the user picks when
// the file holds several. A file that cannot be read or holds no contact is
// reported and changes nothing. True when the card changed; it is then no
// longer tied to the card file it came from.
bool ImportContactFile(TDocument &document, const QString &path);
// The same for vCard data dropped from an address book rather than a file.
bool ImportContactData(TDocument &document, const QByteArray &vcards);
// Puts the contact at `index` (from 0) of a vCard file on the card without
// asking; the message that says why not, empty when the card changed.
QString ImportContactAt(TDocument &document, const QString &path, qsizetype index);
// Whether the file holds vCards, judged by its content and name as the
// desktop judges it, so a file manager's "Open with" is understood.
bool IsContactFile(const QString &path);
// Asks for the vCard file to import; empty when the user cancels.
QString ChooseContactFile(const TDocument &document);
// Asks for a file and writes the card's vCard into it; a failed write is
// reported. True when the file was written.
bool ExportContact(const TDocument &document);
