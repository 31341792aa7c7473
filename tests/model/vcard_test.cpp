#include "model/uCardContact.h"
#include "model/uCardQRCode.h"
#include "model/uContactFile.h"
#include "model/uDocument.h"
#include "model/uMeCard.h"
#include "model/uVCard.h"

#include "common/FileAccessLimits.h"
#include "common/ScriptedDialogs.h"
#include "common/TestFiles.h"
#include "locale/ulocalize.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ctime>

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
    EXPECT_EQ(FDocument.Beruf(), (QStringList{"Statiker und Tragwerksplaner", QString::fromUtf8("Büro Müller GmbH, Planung")}));
    EXPECT_EQ(FDocument.Firma(), QString::fromUtf8("Büro Müller GmbH, Planung"));
    // The work address, not the first one.
    EXPECT_EQ(FDocument.Adresse(),
              (QStringList{QString::fromUtf8("Straße des 17. Juni 1"), "Hinterhaus", "10623 Berlin", "Deutschland"}));
    EXPECT_EQ(FDocument.TelefonFax(),
              (QStringList{"Tel: +49 30 1234567", "Mobil: +49 171 7654321", "Fax: +49 30 1234568",
                           "Web: http://www.example.org", "E-Mail: juergen.mueller@example.org",
                           QString::fromUtf8("Termine – nach Vereinbarung")}));
    EXPECT_TRUE(FDocument.Modified());
    EXPECT_TRUE(FDialogs.Messages.empty());
}

TEST_F(ContactFile, ImportsAFoldedVersion30FileOfAnAddressBook)
{
    ASSERT_TRUE(ImportContactFile(FDocument, Write("book.vcf", Version30)));
    EXPECT_EQ(FDocument.Titel(), "");
    EXPECT_EQ(FDocument.Name(), QString::fromUtf8("Amélie Dubois"));
    EXPECT_EQ(FDocument.Beruf(), (QStringList{"Architecte, urbaniste", QString::fromUtf8("Atelier Lumière")}));
    EXPECT_EQ(FDocument.Adresse(), (QStringList{QString::fromUtf8("8 place de l'Opéra"), "69001 Lyon", "France"}));
    EXPECT_EQ(FDocument.TelefonFax(),
              (QStringList{"E-Mail: amelie.dubois@example.org", "Mobil: +33 6 12 34 56 78", "Tel: +33 1 23 45 67 89",
                           "Web: https://www.example.org/atelier", "Rendez-vous", "sur demande"}));
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
              (QStringList{QString::fromUtf8("Jürgen Müller (Büro Müller GmbH, Planung, +49 30 1234567)"),
                           QString::fromUtf8("Amélie Dubois (Atelier Lumière, amelie.dubois@example.org)"),
                           QString::fromUtf8("Prof. Dr. Jan Novák (+420-541-123-456)")}));

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
                             "E-Mail: heinz@example.org", "Web: www.example.org",
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
    EXPECT_EQ(Fields(other), Fields(FDocument));
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

// Processor time in milliseconds: unlike the wall clock it does not grow
// when other programs load the machine.
qint64 CpuMs()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
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
    EXPECT_LT(CpuMs() - start, 1000);
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
