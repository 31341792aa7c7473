// Developer tool: writes the vCard of a card-data file, exactly as the
// program saves it as a contact, to standard output, so that scripts can
// check it with other readers.
//
//   cardvcard card.tsx
//
// Exits with 1 when the file cannot be read or the card has no vCard (no
// name). The user's own settings are never read or written.

#include "model/uCardContact.h"
#include "model/uDocument.h"
#include "tools/uToolSettings.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    const TToolSettings settings;
    // A card's logo is looked for as the program would, with its messages.
    QApplication app(argc, argv);
    QTextStream errors(stderr);
    if (argc != 2) {
        errors << "usage: cardvcard card.tsx\n";
        return 2;
    }
    TDocument document;
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!document.LoadFromFile(path)) {
        errors << "cardvcard: cannot load " << path << '\n';
        return 1;
    }
    const QByteArray vcard = WriteVCard(ContactOfCard(document));
    if (vcard.isEmpty()) {
        errors << "cardvcard: the card has no name\n";
        return 1;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(vcard) != vcard.size())
        return 1;
    return 0;
}
