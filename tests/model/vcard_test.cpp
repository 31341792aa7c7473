#include "model/uAddressFormat.h"
#include "model/uCardContact.h"
#include "model/uCardQRCode.h"
#include "model/uContactFile.h"
#include "model/uDocument.h"
#include "model/uMeCard.h"
#include "model/uPersonName.h"
#include "model/uVCard.h"

#include "common/CpuTime.h"
#include "common/FileAccessLimits.h"
#include "common/ScriptedDialogs.h"
#include "common/TestFiles.h"
#include "locale/ulocalize.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using TKind = TContactLine::TKind;

// As a mail program writes it: Latin-1 named, Windows-1252 meant,
// quoted-printable with soft line breaks, bare parameter types.
const QByteArray Version21 =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;LANGUAGE=de;CHARSET=ISO-8859-1:M\xfcller;J\xfcrgen;;Dipl.-Ing.\r\n"
    "FN;CHARSET=ISO-8859-1:J\xfcrgen M\xfcller\r\n"
    "ORG;CHARSET=ISO-8859-1:B\xfcro M\xfcller GmbH;Planung\r\n"
    "TITLE:Statiker und\r\n"
    " Tragwerksplaner\r\n"
    "TEL;WORK;VOICE:+49 30 1234567\r\n"
    "TEL;CELL;VOICE:+49 171 7654321\r\n"
    "TEL;WORK;FAX:+49 30 1234568\r\n"
    "ADR;HOME:;;Am Hang 3;Potsdam;;14467;Deutschland\r\n"
    "ADR;WORK;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:;;Stra=DFe des 17. Juni 1=0D=0A=\r\n"
    "Hinterhaus;Berlin;;10623;Deutschland\r\n"
    "URL;WORK:http://www.example.org\r\n"
    "EMAIL;PREF;INTERNET:juergen.mueller@example.org\r\n"
    "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Termine =96 nach Vereinbarung\r\n"
    "END:VCARD\r\n";

// As a desktop address book writes it: grouped properties, repeated type
// parameters, escapes, a photo, lines folded even inside a character.
const QByteArray Version30 =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "PRODID:-//Example//Address Book 13.0//EN\r\n"
    "N:Dubois;Am\xc3\xa9lie;;;\r\n"
    "FN:Am\xc3\xa9lie Dubois\r\n"
    "ORG:Atelier Lumi\xc3\xa8re;\r\n"
    "TITLE:Architecte\\, urbaniste\r\n"
    "item1.EMAIL;type=INTERNET;type=pref:amelie.dubois@example.org\r\n"
    "item1.X-ABLabel:_$!<Other>!$_\r\n"
    "TEL;type=CELL;type=VOICE;type=pref:+33 6 12 34 56 78\r\n"
    "TEL;type=WORK;type=VOICE:+33 1 23 45 67 89\r\n"
    "item2.ADR;type=HOME:;;12 rue de la Paix;Paris;;75002;France\r\n"
    "item3.ADR;type=WORK;type=pref:;;8 place de l'Op\xc3\r\n"
    " \xa9ra;Lyon;;69001;France\r\n"
    "item4.URL;type=pref:https\\://www.example.org/atelier\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkICQkKDA8MCgsOCwkJDRENDg8QEBEQCgwSExIQEw8QEBD/\r\n"
    " 2wBDAQMDAwQDBAgEBAgQCwkLEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBD/wAARCAABAAEDASIAAhEBAxEB\r\n"
    "NOTE:Rendez-vous\\nsur demande\r\n"
    "END:VCARD\r\n";

// vCard 4.0: uri-valued phones, quoted parameters holding colons, several
// honorific prefixes, LF line ends.
const QByteArray Version40 =
    "BEGIN:VCARD\n"
    "VERSION:4.0\n"
    "FN:Prof. Dr. Jan Nov\xc3\xa1k\n"
    "N:Nov\xc3\xa1k;Jan;;Prof.,Dr.;\n"
    "TITLE:L\xc3\xa9ka\xc5\x99\n"
    "TEL;VALUE=uri;TYPE=\"voice,work\":tel:+420-541-123-456\n"
    "TEL;VALUE=uri;TYPE=cell:tel:+420-777-123-456\n"
    "EMAIL;TYPE=work:jan.novak@example.org\n"
    "ADR;TYPE=work;GEO=\"geo:50.08,14.42\";LABEL=\"V\xc3\xa1\x63lavsk\xc3\xa9 n\xc3\xa1m. 1\":;;V\xc3\xa1\x63lavsk\xc3\xa9 "
    "n\xc3\xa1m. 1;Praha 1;;110 00;\xc4\x8c\x65sk\xc3\xa1 republika\n"
    "END:VCARD\n";

class ContactFile : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = FDir.filePath(name);
        EXPECT_TRUE(WriteAll(path, bytes));
        return path;
    }

    // The card fields a contact fills.
    static QList<QStringList> Fields(const TDocument &document)
    {
        return {{document.Titel()}, {document.Name()}, document.Beruf(), {document.Firma()}, document.Adresse(),
                document.TelefonFax()};
    }

    QTemporaryDir FDir;
    TScriptedDialogs FDialogs;
    TDocument FDocument;
};

TEST_F(ContactFile, ImportsAVersion21FileOfAMailProgram)
{
    ASSERT_TRUE(ImportContactFile(FDocument, Write("outlook.vcf", Version21)));
    EXPECT_EQ(FDocument.Titel(), "Dipl.-Ing.");
    EXPECT_EQ(FDocument.Name(), QString::fromUtf8("Jürgen Müller"));
    EXPECT_EQ(FDocument.Beruf(), QStringList{"Statiker und Tragwerksplaner"});
    EXPECT_EQ(FDocument.Firma(), QString::fromUtf8("Büro Müller GmbH, Planung"));
    // The work address, not the first one, and no country line for a German user.
    EXPECT_EQ(FDocument.Adresse(), (QStringList{QString::fromUtf8("Straße des 17. Juni 1"), "Hinterhaus", "10623 Berlin"}));
    EXPECT_EQ(FDocument.TelefonFax(),
              (QStringList{"Tel: +49 30 1234567", "Mobil: +49 171 7654321", "Fax: +49 30 1234568",
                           "Web: http://www.example.org", "E-Mail: juergen.mueller@example.org"}));
    EXPECT_TRUE(FDocument.Modified());
    EXPECT_TRUE(FDialogs.Messages.empty());
}

TEST_F(ContactFile, ImportsAFoldedVersion30FileOfAnAddressBook)
{
    ASSERT_TRUE(ImportContactFile(FDocument, Write("book.vcf", Version30)));
    EXPECT_EQ(FDocument.Titel(), "");
    EXPECT_EQ(FDocument.Name(), QString::fromUtf8("Amélie Dubois"));
    EXPECT_EQ(FDocument.Beruf(), QStringList{"Architecte, urbaniste"});
    EXPECT_EQ(FDocument.Firma(), QString::fromUtf8("Atelier Lumière"));
    EXPECT_EQ(FDocument.Adresse(), (QStringList{QString::fromUtf8("8 place de l'Opéra"), "69001 Lyon", "France"}));
    EXPECT_EQ(FDocument.TelefonFax(),
              (QStringList{"E-Mail: amelie.dubois@example.org", "Mobil: +33 6 12 34 56 78", "Tel: +33 1 23 45 67 89",
                           "Web: https://www.example.org/atelier"}));
}

TEST_F(ContactFile, ImportsAVersion40File)
{
    ASSERT_TRUE(ImportContactFile(FDocument, Write("v4.vcf", Version40)));
    // The title has its own field, so the name goes without it.
    EXPECT_EQ(FDocument.Titel(), "Prof. Dr.");
    EXPECT_EQ(FDocument.Name(), QString::fromUtf8("Jan Novák"));
    EXPECT_EQ(FDocument.Beruf(), QStringList{QString::fromUtf8("Lékař")});
    EXPECT_EQ(FDocument.Adresse(),
              (QStringList{QString::fromUtf8("Václavské nám. 1"), "110 00 Praha 1", QString::fromUtf8("Česká republika")}));
    EXPECT_EQ(FDocument.TelefonFax(), (QStringList{"Tel: +420-541-123-456", "Mobil: +420-777-123-456",
                                                   "E-Mail: jan.novak@example.org"}));
}

TEST_F(ContactFile, TheUserPicksOneOfSeveralContacts)
{
    // Something before the first card, an empty card and a card nested in another are no contacts.
    const QString path = Write("three.vcf", "garbage\r\n" + Version21 + "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n"
                                                + Version30 + Version40);
    const QList<QStringList> before = Fields(FDocument);
    ASSERT_FALSE(ImportContactFile(FDocument, path)) << "the choice was cancelled";
    EXPECT_EQ(Fields(FDocument), before);
    EXPECT_FALSE(FDocument.Modified());
    ASSERT_EQ(FDialogs.ChoiceItems.size(), 1u);
    EXPECT_EQ(FDialogs.ChoiceItems[0],
              (QStringList{QString::fromUtf8("Jürgen Müller (Büro Müller GmbH, Planung, juergen.mueller@example.org)"),
                           QString::fromUtf8("Amélie Dubois (Atelier Lumière, amelie.dubois@example.org)"),
                           QString::fromUtf8("Prof. Dr. Jan Novák (jan.novak@example.org)")}));

    FDialogs.Choices.push_back(1);
    ASSERT_TRUE(ImportContactFile(FDocument, path));
    EXPECT_EQ(FDocument.Name(), QString::fromUtf8("Amélie Dubois"));

    const QByteArray nested = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Chef\r\nAGENT:\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n"
                              "FN:Sekret\xe4rin\r\nEND:VCARD\r\nTEL:0301\r\nEND:VCARD\r\n";
    const QList<TContact> contacts = ReadVCards(nested);
    ASSERT_EQ(contacts.size(), 1);
    EXPECT_EQ(contacts[0].FormattedName, "Chef");
    EXPECT_EQ(contacts[0].Lines, (QList<TContactLine>{{TKind::Phone, "0301"}}));
}

// The program's own chooser, driven from the keyboard: what is typed keeps
// the items holding every word, regardless of case and accents; Enter takes
// the marked one, at first the first match, and nothing when none is left.
TEST(ContactChooser, TypingFiltersTheListAndEnterTakesTheMarkedMatch)
{
    const QStringList items{QString::fromUtf8("Jürgen Müller (Büro Müller GmbH, juergen@example.org)"),
                            QString::fromUtf8("Amélie Dubois (Atelier Lumière, amelie@example.org)"),
                            QString::fromUtf8("Jan Novák (jan.novak@example.org)"),
                            QStringLiteral("Anna Muller (Planung AG, anna@example.org)")};
    const auto choose = [&items](const QString &typed, int arrowsDown = 0) {
        QTimer::singleShot(0, [typed, arrowsDown] {
            QWidget *dialog = QApplication::activeModalWidget();
            auto *search = dialog ? dialog->findChild<QLineEdit *>() : nullptr;
            ASSERT_NE(search, nullptr);
            QTest::keyClicks(search, typed);
            for (int i = 0; i < arrowsDown; ++i)
                QTest::keyClick(search, Qt::Key_Down);
            QTest::keyClick(search, Qt::Key_Return);
            if (dialog->isVisible())
                QTest::keyClick(search, Qt::Key_Escape);
        });
        return Dialogs().ChooseItem(QStringLiteral("Kontakt importieren"), QStringLiteral("Welcher?"), items);
    };
    EXPECT_EQ(choose(QString()), 0);
    EXPECT_EQ(choose(QStringLiteral("MULLER")), 0);
    EXPECT_EQ(choose(QStringLiteral("muller planung")), 3);
    EXPECT_EQ(choose(QStringLiteral("lumiere")), 1) << "the company";
    EXPECT_EQ(choose(QStringLiteral("novak@")), 2) << "the e-mail address";
    EXPECT_EQ(choose(QStringLiteral("muller"), 1), 3) << "the arrow keys move among the matches";
    EXPECT_EQ(choose(QStringLiteral("niemand")), -1);
}

TEST_F(ContactFile, BadFilesAreReportedAndChangeNothing)
{
    QDir(FDir.path()).mkdir("folder.vcf");
    QStringList files{Write("empty.vcf", ""), Write("random.vcf", RandomBytes(4096, 24)),
                      Write("hollow.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nEND:VCARD\r\n"),
                      FDir.filePath("folder.vcf"), FDir.filePath("missing.vcf")};
    // The kernel's log is a regular file whose read waits for news.
    if (QFileInfo("/proc/kmsg").isReadable())
        files << "/proc/kmsg";
    const QList<QStringList> before = Fields(FDocument);
    for (const QString &path : files) {
        FDialogs.Messages.clear();
        EXPECT_FALSE(ImportContactFile(FDocument, path)) << path.toStdString();
        ASSERT_EQ(FDialogs.Messages.size(), 1u) << path.toStdString();
        EXPECT_EQ(FDialogs.Messages[0].Type, TMsgDlgType::Error);
        EXPECT_TRUE(FDialogs.Messages[0].Text.contains(path)) << FDialogs.Messages[0].Text.toStdString();
        EXPECT_EQ(Fields(FDocument), before);
        EXPECT_FALSE(FDocument.Modified());
    }
}

// A card file holds 4 MB; what a contact brings beyond would be saved into
// a file that cannot be opened again.
TEST_F(ContactFile, ContactTooLargeForACardFileIsCutAndSaysSo)
{
    QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Viele Nummern\r\n";
    for (int i = 0; i < 2500; ++i)
        card += "TEL:" + QByteArray::number(i).rightJustified(2000, '0') + "\r\n";
    const QString path = Write("many.vcf", card + "END:VCARD\r\n");
    ASSERT_TRUE(ImportContactFile(FDocument, path));
    const qsizetype kept = FDocument.TelefonFax().size();
    EXPECT_GT(kept, 1900);
    EXPECT_LT(kept, 2500);
    EXPECT_TRUE(FDocument.TelefonFax().back().endsWith(QByteArray::number(kept - 1)));
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_EQ(FDialogs.Messages[0].Type, TMsgDlgType::Warning);
    EXPECT_EQ(FDialogs.Messages[0].Text,
              QString::fromUtf8("Der Kontakt aus \"%1\" ist umfangreicher, als eine Visitenkartendatei fassen kann: "
                                "Die letzten %2 der 2500 Zeilen für Telefon, Fax und E-Mail wurden weggelassen.")
                  .arg(path)
                  .arg(2500 - kept));

    const QString saved = FDir.filePath("many.tsx");
    ASSERT_TRUE(FDocument.SaveToFile(saved));
    TDocument again;
    ASSERT_TRUE(again.LoadFromFile(saved));
    EXPECT_EQ(again.TelefonFax(), FDocument.TelefonFax());
}

// A full disk is told as one, however large the file that did not fit.
TEST_F(ContactFile, ExportOntoAFullDiskSaysSoWhateverItsSize)
{
    const QString disk = FDir.filePath("disk");
    ASSERT_TRUE(QDir(FDir.path()).mkdir("disk"));
    const TFullDisk full(disk, 64);
    if (!full.Mounted())
        GTEST_SKIP() << "a file system of its own needs root";
    QFile filler(disk + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'x')) > 0) {
    }
    // A page left: the disk takes the start of either file.
    ASSERT_TRUE(filler.resize(filler.size() - 4096));
    filler.close();
    FDocument.SetName("Erika Mustermann");
    for (const int lines : {200, 2000}) {
        SCOPED_TRACE(lines);
        FDocument.SetTelefonFax(QStringList(lines, "Tel: 030 1234567"));
        FDialogs.Messages.clear();
        FDialogs.Files.push_back(disk + "/erika.vcf");
        EXPECT_FALSE(ExportContact(FDocument));
        ASSERT_EQ(FDialogs.Messages.size(), 1u);
        EXPECT_EQ(FDialogs.Messages[0].Text.toStdString(),
                  ("Die Datei " + disk + "/erika.vcf konnte nicht gespeichert werden.\r\n"
                   + QString::fromUtf8("Auf dem Datenträger ist nicht genug Platz.")).toStdString());
    }
}

TEST_F(ContactFile, ExportThenImportGivesTheSameCard)
{
    FDocument.SetTitel("Dr. med.");
    FDocument.SetName("Heinz Mustermann");
    FDocument.SetBeruf({QString::fromUtf8("Arzt für Allgemeinmedizin"), "Sportmedizin; Reisemedizin"});
    FDocument.SetAdresse({"Praxis am Park", "Alleestr. 95", "98765 Musterdorf", "Deutschland"});
    FDocument.SetTelefonFax({"Tel: 0199/12345678", "Mobil: 0171/1234567", "Fax: 0199/12345679",
                             "E-Mail: heinz@example.org", "Web: https://www.example.org",
                             QString::fromUtf8("Sprechzeiten Montag bis Freitag von 8 bis 12 Uhr, außer an Feiertagen, "
                                               "und nach Vereinbarung \\ Notdienst")});
    const QString path = FDir.filePath("Heinz");
    FDialogs.Files.push_back(path);
    ASSERT_TRUE(ExportContact(FDocument));
    EXPECT_EQ(FDialogs.FileRequests.back().FileName, "Heinz Mustermann.vcf");

    const QByteArray written = ReadAll(path + ".vcf");
    for (const QByteArray &line : written.split('\n')) {
        EXPECT_LE(line.size(), 76) << line.toStdString(); // 75 and the CR
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << "a character cut by the folding";
    }

    TDocument other;
    other.SetName("Jemand anders");
    other.SetTelefonFax({"Tel: 1"});
    ASSERT_TRUE(ImportContactFile(other, path + ".vcf"));
    // All but the own country and the lines that went into the note, which
    // an imported card never shows.
    QList<QStringList> expected = Fields(FDocument);
    expected[4].removeLast();
    expected[5].removeLast();
    EXPECT_EQ(Fields(other), expected);
}

// What address books file of the card comes back onto it: the company, a
// family name with particles and one the card names in its Nachname, an
// address in its country's form.
TEST_F(ContactFile, CompanyNamesAndForeignAddressComeBackThroughTheVCard)
{
    FDocument.SetTitel("Dr.");
    FDocument.SetBeruf({"Architekt"});
    FDocument.SetFirma("Berg & Partner, Architekten");
    FDocument.SetAdresse({"1600 Main Street, Suite 400", "Springfield, IL 62701", "USA"});
    FDocument.SetTelefonFax({"Tel: +1 217 555 0142", "Web: https://www.example.com/kontakt?a=1;b=2,3"});
    const QStringList fields{"Titel", "Name", "Beruf", "Adresse", "TelefonFax"};
    for (const auto &[name, nachname, n] :
         {std::tuple{"Jan van der Berg", "", "N:van der Berg;Jan;;Dr.;"},
          std::tuple{"María José García López", "García López", "N:García López;María José;;Dr.;"}}) {
        SCOPED_TRACE(name);
        FDocument.SetName(QString::fromUtf8(name));
        FDocument.SetNachname(QString::fromUtf8(nachname));
        const QByteArray bytes = WriteVCard(ContactOfCard(FDocument));
        EXPECT_TRUE(QString::fromUtf8(bytes).contains(QString::fromUtf8(n) + "\r\n")) << bytes.toStdString();
        EXPECT_TRUE(bytes.contains("\r\nORG:Berg & Partner\\, Architekten\r\n"));

        const QList<TContact> read = ReadVCards(bytes);
        ASSERT_EQ(read.size(), 1);
        EXPECT_EQ(read[0].Address,
                  (TContactAddress{"", "", "1600 Main Street, Suite 400", "Springfield", "IL", "62701", "USA"}));
        TDocument other;
        PutContactOnCard(other, read[0]);
        EXPECT_EQ(other.Firma(), FDocument.Firma());
        EXPECT_EQ(other.Nachname(), FDocument.Nachname());
        // The card prints as before: the company once, after the profession.
        QStringList shown;
        QStringList before;
        other.GetFieldTexts(fields, shown);
        FDocument.GetFieldTexts(fields, before);
        EXPECT_EQ(shown, before);
        EXPECT_EQ(ContactOfCard(other), ContactOfCard(FDocument));
    }
}

TEST(CardContact, SampleCardAsVCard)
{
    TDocument document;
    document.LoadFromRegistry("NeverWritten");
    QStringList lines = document.TelefonFax();
    document.SetTelefonFax(lines << QString::fromUtf8("Mo–Fr 9–17 Uhr"));
    const QString card = QString::fromUtf8(WriteVCard(ContactOfCard(document)));
    EXPECT_TRUE(card.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
    EXPECT_TRUE(card.endsWith("END:VCARD\r\n"));
    for (const char *line :
         {"N:Mustermann;Heinz;;Dr. med.;", "FN:Heinz Mustermann", "TITLE:Arzt für Allgemeinmedizin",
          "ADR;TYPE=WORK:;;Alleestr. 95;Musterdorf;;98765;", "TEL;TYPE=WORK,VOICE:0199/12345678",
          "TEL;TYPE=FAX:0199/12345679", "EMAIL:heinz.mustermann@example.org", "NOTE:Mo–Fr 9–17 Uhr"})
        EXPECT_TRUE(card.contains(QString::fromUtf8(line) + "\r\n")) << line;
}

TEST(CardContact, QRCodeHoldsAnOpenableWebAddress)
{
    TDocument document;
    TQRCodeSettings code;
    code.Inhalt = TQRCodeSettings::TInhalt::URL;
    for (const auto &[typed, held] : {std::pair{"", ""}, std::pair{"  ", ""}, std::pair{"example.org/karte", "https://example.org/karte"},
                                      std::pair{"example.org:8080/a", "https://example.org:8080/a"},
                                      std::pair{"http://example.org", "http://example.org"},
                                      std::pair{"mailto:erika@example.org", "mailto:erika@example.org"}}) {
        code.URL = typed;
        document.SetQRCode(code);
        EXPECT_EQ(QRCodeText(document, code.Form), QByteArray(held)) << typed;
    }
}

TEST(CardContact, AddressLinesOfTheProgramsCountries)
{
    const struct
    {
        QStringList Lines;
        TContactAddress Address;
    } cases[] = {
        {{"Hauptstr. 1", "D-12345 Neustadt", "Deutschland"}, {"", "", "Hauptstr. 1", "Neustadt", "", "D-12345", "Deutschland"}},
        {{"Keizersgracht 1", "1015 CJ Amsterdam"}, {"", "", "Keizersgracht 1", "Amsterdam", "", "1015 CJ", ""}},
        {{"Rua Augusta 10", "1100-053 Lisboa"}, {"", "", "Rua Augusta 10", "Lisboa", "", "1100-053", ""}},
        {{"Hlavná 5", "040 01 Košice", "Slovensko"}, {"", "", "Hlavná 5", "Košice", "", "040 01", "Slovensko"}},
        {{"Via Roma 1", "10121 Torino", "TO", "Italia"}, {"", "", "Via Roma 1", "Torino", "TO", "10121", "Italia"}},
        {{"75002 Paris"}, {"", "", "", "Paris", "", "75002", ""}},
        // No town line the program knows: all of it is the street.
        {{"1600 Main Street", "Springfield, IL 62701"}, {"", "", "1600 Main Street\nSpringfield, IL 62701", "", "", "", ""}},
    };
    for (const auto &c : cases) {
        TDocument document;
        document.SetAdresse(c.Lines);
        EXPECT_EQ(ContactOfCard(document).Address, c.Address) << c.Lines.join(" | ").toStdString();
    }
}

TEST(CardContact, PhoneLinesAsUsersTypeThem)
{
    const std::pair<const char *, std::optional<TContactLine>> lines[] = {
        {"Tél. : 04 65 71 12 34", TContactLine{TKind::Phone, "04 65 71 12 34"}},
        {"Tel. 011 1234567", TContactLine{TKind::Phone, "011 1234567"}},
        {"Telefon (Büro): 030 123", TContactLine{TKind::Phone, "030 123"}},
        {"Handy 0171 1234567", TContactLine{TKind::Mobile, "0171 1234567"}},
        {"Telefax: 030 124", TContactLine{TKind::Fax, "030 124"}},
        {"Correo: javier@example.org", TContactLine{TKind::EMail, "javier@example.org"}},
        {"Internet: www.example.org", TContactLine{TKind::Web, "www.example.org"}},
        {"www.example.org", TContactLine{TKind::Web, "www.example.org"}},
        {"https://example.org/a,b", TContactLine{TKind::Web, "https://example.org/a,b"}},
        {"erika@example.org", TContactLine{TKind::EMail, "erika@example.org"}},
        {"+49 (0)30 123456", TContactLine{TKind::Phone, "+49 (0)30 123456"}},
        {"Telefon:", std::nullopt},
        {"Mo–Fr 9–17 Uhr", std::nullopt},
        {"Sprechzeiten: nach Vereinbarung", std::nullopt},
    };
    for (const auto &[text, expected] : lines)
        EXPECT_EQ(ReadContactLine(QString::fromUtf8(text)), expected) << text;
}

TEST(CardContact, ImportedLinesOfEveryLanguageReadBack)
{
    const TContactLine lines[] = {{TKind::Phone, "+49 30 123456"}, {TKind::Mobile, "+49 171 123456"},
                                  {TKind::Fax, "+49 30 123457"}, {TKind::EMail, "erika@example.org"},
                                  {TKind::Web, "www.example.org"}};
    TDocument document; // registers the German defaults
    for (int language = 0; language < LanguageCount; ++language) {
        Localizer().SetLanguage(language);
        for (const TContactLine &line : lines)
            EXPECT_EQ(ReadContactLine(ContactLineText(line)), line)
                << LanguageTable[language].Code << ": " << ContactLineText(line).toStdString();
    }
    Localizer().SetLanguage(0);
}

TEST(VCard, ByteOrderMarksOfUtf8AndUtf16AreRead)
{
    const QList<TContact> plain = ReadVCards(Version40);
    ASSERT_EQ(plain.size(), 1);
    const QString text = QString::fromUtf8(Version40);
    for (const QByteArray &bytes : {"\xEF\xBB\xBF" + Version40, Utf16WithMark(text, QStringConverter::Utf16LE),
                                    Utf16WithMark(text, QStringConverter::Utf16BE)})
        EXPECT_EQ(ReadVCards(bytes), plain) << bytes.left(4).toHex().toStdString();
}

// Every value stops at the 2047 characters of a card file, and reading takes
// time in proportion to the file: 2 MB of lines folded onto one took half a
// minute when each fold looked at the whole line again.
TEST(VCard, LongValuesAreCutAndFoldedLinesReadInLinearTime)
{
    const QByteArray note = "NOTE;ENCODING=QUOTED-PRINTABLE:" + QByteArray(1000000, 'n') + "=\r\n" + QByteArray(10, 'n');
    const qint64 start = CpuMs();
    QList<TContact> read =
        ReadVCards("BEGIN:VCARD\r\nFN:" + QByteArray(5000, 'f') + "\r\nTEL:" + QByteArray(3000, '1') + "\r\n" + note
                   + "\r\nEND:VCARD\r\n");
    QByteArray folded = "BEGIN:VCARD\r\nFN:Gefaltet\r\nX-LEER=\r\n";
    for (int i = 0; i < 500000; ++i)
        folded += " =\r\n";
    read += ReadVCards(folded + "TEL:0301\r\nEND:VCARD\r\n");
    EXPECT_LT(CpuMs() - start, CpuBudgetMs(1000));
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[0].FormattedName, QString(2047, 'f'));
    EXPECT_EQ(read[0].Lines, (QList<TContactLine>{{TKind::Phone, QString(2047, '1')}}));
    EXPECT_EQ(read[0].Note, QString(2047, 'n'));
    EXPECT_EQ(read[1].Lines, (QList<TContactLine>{{TKind::Phone, "0301"}}));
}

TEST(VCard, WriterAndReaderKeepEveryField)
{
    TContact contact;
    contact.FormattedName = QString::fromUtf8("Zoë de la Cruz-Ängström");
    contact.FamilyName = QString::fromUtf8("de la Cruz-Ängström");
    contact.GivenName = QString::fromUtf8("Zoë");
    contact.AdditionalNames = "Maria";
    contact.HonorificPrefixes = "Dr.";
    contact.HonorificSuffixes = "MBA";
    contact.Title = "Leiterin; Einkauf\nund Logistik, Nord";
    contact.Role = "Prokuristin";
    contact.Organization = "Muster AG";
    contact.Address = {"Postfach 12", "Haus B", "Weg 1\nHinterhof", "Ort", "Region", "12345", "Land"};
    contact.Lines = {{TKind::Fax, "1"}, {TKind::Phone, "2"}, {TKind::Web, "https://example.org/?a=1,2;b\\c"},
                     {TKind::EMail, "zoe@example.org"}, {TKind::Mobile, "3"}};
    contact.Note = QString(200, QChar(0x00E4)) + "\nback\\slash";
    const QByteArray bytes = WriteVCard(contact);
    for (const QByteArray &line : bytes.split('\n'))
        EXPECT_LE(line.size(), 76);
    const QList<TContact> read = ReadVCards(bytes);
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0], contact);
}

// Contacts as address books write them, onto a business card.

// Beside this file: the folder of test data sits in the tests' folder.
QString Fixture(const char *name)
{
    return QFileInfo(QStringLiteral(TESSARO_TEST_DATA)).path() + QStringLiteral("/model/vcards/") + QLatin1String(name);
}

TEST_F(ContactFile, AddressBooksGiveTheBusinessFieldsOnly)
{
    using TUse = TContactLine::TUse;
    const struct
    {
        const char *File;
        const char *Language;
        QStringList Named; // title, name, company
        QStringList Beruf;
        QStringList Adresse;
        QList<TContactLine> Lines;
    } cases[] = {
        {"evolution-3.0.vcf", "deu", {"Dipl.-Ing.", "Karin Weber", "Weber Statik GmbH, Tragwerksplanung"},
         {"Beratende Ingenieurin"}, {"Speicherstadt 12", "20457 Hamburg"},
         {{TKind::Web, "https://www.weber-statik.example"}, {TKind::Phone, "+49 40 3250 1120"},
          {TKind::Mobile, "+49 171 223 3445"}, {TKind::Fax, "+49 40 3250 1129"},
          {TKind::EMail, "k.weber@weber-statik.example"}}},
        {"thunderbird-4.0.vcf", "deu", {"Arch.", "Giulia Romano", "Studio Romano Architetti, Progettazione"},
         {"Architetto"}, {"Via Montenapoleone 8", "20121 Milano MI", "Italia"},
         {{TKind::EMail, "giulia.romano@studio-romano.example"}, {TKind::Phone, "+39 02 8765 4321"},
          {TKind::Mobile, "+39 347 123 4567"}, {TKind::Fax, "+39 02 8765 4322"},
          {TKind::Web, "https://www.studio-romano.example"}}},
        {"apple-3.0.vcf", "deu", {"", "Sarah Miller", "Miller & Partners LLC"}, {"Senior Partner"},
         {"1600 Main Street", "Suite 400", "Springfield, IL 62701", "United States"},
         {{TKind::EMail, "sarah.miller@millerpartners.example"}, {TKind::Phone, "+1 (217) 555-0142"},
          {TKind::Mobile, "+1 (217) 555-0177"}, {TKind::Web, "https://www.millerpartners.example"}}},
        {"google-3.0.vcf", "deu", {"", "Pierre Lefèvre", "Cabinet Lefèvre"}, {"Avocat associé"},
         {"12 rue de Rivoli", "75004 Paris", "France"},
         {{TKind::EMail, "p.lefevre@cabinet-lefevre.example"}, {TKind::Phone, "+33 1 42 68 53 00"},
          {TKind::Mobile, "+33 6 12 34 56 78"}, {TKind::Web, "https://www.cabinet-lefevre.example"}}},
        {"android-2.1.vcf", "deu", {"", "Javier García López", "Aceites García S.L."}, {"Director comercial"},
         {"Calle Sierpes 25", "41700 Dos Hermanas", "Sevilla", "España"},
         {{TKind::Mobile, "+34 612 345 678"}, {TKind::Phone, "+34 954 123 456"}, {TKind::Fax, "+34 954 123 457"},
          {TKind::EMail, "javier.garcia@aceites-garcia.example"}, {TKind::Web, "https://www.aceites-garcia.example"}}},
        {"nextcloud-4.0.vcf", "deu", {"", "Sanne de Vries", "Studio Groen B.V."}, {"Landschapsarchitect"},
         {"Keizersgracht 123", "1015 CJ Amsterdam", "Nederland"},
         {{TKind::Phone, "+31 20 555 1234"}, {TKind::Mobile, "+31 6 1234 5678"},
          {TKind::EMail, "sanne@studiogroen.example"}, {TKind::EMail, "info@studiogroen.example"},
          {TKind::Web, "https://studiogroen.example"}}},
        {"outlook-2.1-windows-1252.vcf", "deu", {"Mag.", "Andreas Gruber", "Gruber & Söhne Steuerberatung"},
         {"Steuerberater"}, {"Kärntner Straße 12", "1010 Wien", "Österreich"},
         {{TKind::Phone, "+43 1 512 34 56"}, {TKind::Mobile, "+43 664 123 45 67"}, {TKind::Fax, "+43 1 512 34 57"},
          {TKind::Web, "http://www.gruber-steuer.example"}, {TKind::EMail, "a.gruber@gruber-steuer.example"}}},
        {"outlook-2.1-windows-1250.vcf", "cze", {"Ing.", "Věra Dvořáková", "Stavby Dvořák s.r.o."},
         {"Vedoucí projektu"}, {"Masarykova 12", "602 00 Brno"},
         {{TKind::Phone, "+420 541 123 456"}, {TKind::Mobile, "+420 777 123 456"},
          {TKind::Web, "http://www.stavby-dvorak.example"}, {TKind::EMail, "vera.dvorakova@stavby-dvorak.example"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.File);
        for (int language = 0; language < LanguageCount; ++language) {
            if (QLatin1String(LanguageTable[language].Code) == QLatin1String(c.Language))
                Localizer().SetLanguage(language);
        }
        TDocument card;
        ASSERT_TRUE(ImportContactFile(card, Fixture(c.File)));
        QStringList lines;
        for (const TContactLine &line : c.Lines)
            lines << ContactLineText(line);
        const QList<QStringList> expected{{c.Named[0]}, {c.Named[1]}, c.Beruf, {c.Named[2]}, c.Adresse, lines};
        EXPECT_EQ(Fields(card), expected);
    }
    Localizer().SetLanguage(0);

    // What the reader keeps for the choice: the use and rank of each line.
    const QList<TContact> apple = ReadVCards(ReadAll(Fixture("apple-3.0.vcf")));
    ASSERT_EQ(apple.size(), 1);
    QList<std::pair<TUse, int>> uses;
    for (const TContactLine &line : apple[0].Lines)
        uses.append({line.Use, line.Preference});
    EXPECT_EQ(uses, (QList<std::pair<TUse, int>>{{TUse::Work, 1}, {TUse::Private, 0}, {TUse::Work, 1},
                                                  {TUse::Private, 0}, {TUse::Unstated, 0}, {TUse::Private, 0},
                                                  {TUse::Unstated, 1}}));
}

TEST(CardContact, PrivateLinesOnlyWhereAKindHasNothingElse)
{
    const QList<TContact> read = ReadVCards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Erika Mustermann\r\n"
                                            "TEL;TYPE=HOME:030 111\r\nTEL;TYPE=CELL,PERSONAL:0171 222\r\n"
                                            "TEL;TYPE=CELL:0171 333\r\nEMAIL;TYPE=HOME:erika@example.org\r\n"
                                            "NOTE:Nur privat\r\nEND:VCARD\r\n");
    ASSERT_EQ(read.size(), 1);
    TDocument document; // registers the German defaults
    EXPECT_EQ(CardTextsOfContact(read[0], "DE").TelefonFax,
              (QStringList{"Tel: 030 111", "Mobil: 0171 333", "E-Mail: erika@example.org"}));
}

TEST(CardContact, AddressFormsOfTheCountries)
{
    const struct
    {
        TContactAddress Address;
        QStringList Lines;
    } forms[] = {
        {{"", "", "1600 Main Street, Suite 400", "Springfield", "IL", "62701", "USA"},
         {"1600 Main Street, Suite 400", "Springfield, IL 62701", "USA"}},
        {{"", "", "111 Wellington Street", "Ottawa", "ON", "K1A 0A9", "Canada"},
         {"111 Wellington Street", "Ottawa ON K1A 0A9", "Canada"}},
        {{"", "", "10 Downing Street", "London", "", "SW1A 2AA", "United Kingdom"},
         {"10 Downing Street", "London", "SW1A 2AA", "United Kingdom"}},
        {{"", "", "Kossuth Lajos tér 1.", "Budapest", "", "1055", "Magyarország"},
         {"Budapest", "Kossuth Lajos tér 1.", "1055", "Magyarország"}},
        {{"", "", "Via Roma 1", "Torino", "TO", "10121", "Italia"}, {"Via Roma 1", "10121 Torino TO", "Italia"}},
        {{"", "", "Calle Sierpes 25", "Dos Hermanas", "Sevilla", "41700", "España"},
         {"Calle Sierpes 25", "41700 Dos Hermanas", "Sevilla", "España"}},
        {{"", "", "Masarykova 12", "Brno", "", "602 00", "Česko"}, {"Masarykova 12", "602 00 Brno", "Česko"}},
        {{"", "", "Rua Augusta 10", "Lisboa", "", "1100-053", "Portugal"},
         {"Rua Augusta 10", "1100-053 Lisboa", "Portugal"}},
        {{"", "", "Bahnhofstrasse 1", "Zürich", "", "8001", "Schweiz"}, {"Bahnhofstrasse 1", "8001 Zürich", "Schweiz"}},
        {{"", "", "Alleestr. 95", "Musterdorf", "", "98765", ""}, {"Alleestr. 95", "98765 Musterdorf"}},
    };
    for (const auto &f : forms) {
        SCOPED_TRACE(f.Lines.join(" | ").toStdString());
        EXPECT_EQ(LinesOfAddress(f.Address, "DE"), f.Lines);
        EXPECT_EQ(AddressOfLines(f.Lines, "DE"), f.Address);
    }

    // The own country and a region its form has no place for are left out;
    // a bare country code is named in the own language.
    const TContactAddress hamburg{"", "", "Speicherstadt 12", "Hamburg", "Hamburg", "20457", "Deutschland"};
    EXPECT_EQ(LinesOfAddress(hamburg, "DE"), (QStringList{"Speicherstadt 12", "20457 Hamburg"}));
    EXPECT_EQ(LinesOfAddress(hamburg, "FR"), (QStringList{"Speicherstadt 12", "20457 Hamburg", "Deutschland"}));
    const TContactAddress coded{"", "", "1 Main St", "Boston", "MA", "02108", "us"};
    EXPECT_EQ(LinesOfAddress(coded, "FR"), (QStringList{"1 Main St", "Boston, MA 02108", QString::fromUtf8("États-Unis")}));
    EXPECT_EQ(LinesOfAddress({"", "", "Hlavná 5", "Košice", "", "040 01", "SK"}, "SK"),
              (QStringList{"Hlavná 5", "040 01 Košice"}));
    // Without a country line the own country's form reads the lines.
    EXPECT_EQ(AddressOfLines({"10 Downing Street", "London", "SW1A 2AA"}, "GB"),
              (TContactAddress{"", "", "10 Downing Street", "London", "", "SW1A 2AA", ""}));
    EXPECT_EQ(CountryOfLanguage("ung"), "HU");
    EXPECT_EQ(CountryOfName(QString::fromUtf8("  spojené státy ")), "US");
}

// Web addresses are text to vCard readers: their separators are escaped,
// and one without a scheme opens as a web page.
TEST(VCard, WebAddressesAreEscapedAndOpenable)
{
    TContact contact;
    contact.FormattedName = "Erika Musterfrau";
    contact.Lines = {{TKind::Web, "www.example.de/kontakt?a=1;b=2,3"}, {TKind::Web, "ftp://example.org"},
                     {TKind::Web, "example.org:8080/a\\b"}};
    const QByteArray bytes = WriteVCard(contact);
    for (const char *line : {"URL:https://www.example.de/kontakt?a=1\\;b=2\\,3", "URL:ftp://example.org",
                             "URL:https://example.org:8080/a\\\\b"})
        EXPECT_TRUE(bytes.contains(QByteArray("\r\n") + line + "\r\n")) << line;
    const QList<TContact> read = ReadVCards(bytes);
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0].Lines.value(0).Value, "https://www.example.de/kontakt?a=1;b=2,3");
}

// FN is required: it falls back on N, and a contact without either, like a
// card with a title and a company but no name, has no vCard.
TEST(VCard, EveryVCardHasAFormattedName)
{
    TContact contact;
    contact.GivenName = "Erika";
    contact.FamilyName = "Musterfrau";
    EXPECT_TRUE(WriteVCard(contact).contains("\r\nFN:Erika Musterfrau\r\n"));

    TDocument document;
    document.SetName("  ");
    document.SetTitel("Dr.");
    document.SetFirma("Muster AG");
    document.SetTelefonFax({"Tel: 030 123456"});
    EXPECT_TRUE(WriteVCard(ContactOfCard(document)).isEmpty());
}

TEST(PersonName, FamilyNamesWithParticlesOrAsTheCardNamesThem)
{
    const struct
    {
        const char *Name;
        const char *Nachname;
        TPersonName Split;
    } cases[] = {
        {"Heinz Mustermann", "", {"Heinz", "Mustermann"}},
        {" Erika   Musterfrau ", "", {"Erika", "Musterfrau"}},
        {"Cher", "", {"", "Cher"}},
        {"Jan van der Berg", "", {"Jan", "van der Berg"}},
        {"Ana María de la Cruz", "", {"Ana María", "de la Cruz"}},
        {"Karl-Theodor zu Guttenberg", "", {"Karl-Theodor", "zu Guttenberg"}},
        {"Jan Van Der Berg", "", {"Jan", "Van Der Berg"}},
        {"Anna Müller-Lüdenscheidt", "", {"Anna", "Müller-Lüdenscheidt"}},
        // The first word is a given name even where it could be a particle.
        {"Van Morrison", "", {"Van", "Morrison"}},
        {"De la Cruz", "", {"De", "la Cruz"}},
        // Without Nachname two family names side by side look like a middle name and one.
        {"María José García López", "", {"María José García", "López"}},
        {"María José García López", "García López", {"María José", "García López"}},
        {"Kovács János", "Kovács", {"János", "Kovács"}},
        {"Erika Musterfrau", "Mustermann", {"Erika Musterfrau", "Mustermann"}},
        {"Erika Musterfrau", "  ", {"Erika", "Musterfrau"}},
        {" ", "Musterfrau", {"", ""}},
    };
    for (const auto &c : cases) {
        const QString name = c.Name;
        const QString nachname = c.Nachname;
        const TPersonName &expected = c.Split;
        EXPECT_EQ(SplitPersonName(name, nachname), expected) << c.Name << " / " << c.Nachname;
        // What a card needs in its Nachname to give that family name again.
        const QString needed = NachnameForFamilyName(name, expected.FamilyName);
        EXPECT_EQ(SplitPersonName(name, needed).FamilyName, expected.FamilyName) << c.Name;
        EXPECT_EQ(needed.isEmpty(), SplitPersonName(name).FamilyName == expected.FamilyName) << c.Name;
    }
}

// The compact form phones read: every separator inside a value behind a
// backslash, the family name first, nothing it has no field for.
TEST(MeCard, CompactContactEscapesItsSeparatorsAndKeepsWhatItHasFieldsFor)
{
    TContact contact;
    contact.FormattedName = QStringLiteral("Jürgen Müller");
    contact.FamilyName = QStringLiteral("Müller");
    contact.GivenName = QStringLiteral("Jürgen");
    contact.Title = QStringLiteral("Statiker");
    contact.Organization = QStringLiteral("Müller; Söhne");
    contact.Lines = {{TContactLine::TKind::Phone, "030 1234"}, {TContactLine::TKind::Fax, "030 1235"},
                     {TContactLine::TKind::Mobile, "0170 1"}, {TContactLine::TKind::EMail, "j@example.org"},
                     {TContactLine::TKind::Web, "https://example.org/a,b"}};
    contact.Address.Street = QStringLiteral("Hauptstr. 1\nHinterhaus");
    contact.Address.PostalCode = QStringLiteral("12345");
    contact.Address.Locality = QStringLiteral("Berlin");
    contact.Note = QStringLiteral("Mo\\Fr");
    EXPECT_EQ(QString::fromUtf8(WriteMeCard(contact)),
              QString::fromUtf8("MECARD:N:Müller,Jürgen;ORG:Müller\\; Söhne;TEL:030 1234;TEL:0170 1;EMAIL:j@example.org;"
                                "URL:https\\://example.org/a\\,b;ADR:,,Hauptstr. 1 Hinterhaus,Berlin,,12345;"
                                "NOTE:Mo\\\\Fr;;"));

    TContact bare;
    bare.FormattedName = QStringLiteral("Erika");
    EXPECT_EQ(WriteMeCard(bare), QByteArray("MECARD:N:Erika;;"));
}

} // namespace
