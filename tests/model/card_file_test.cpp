#include "model/uDocument.h"

#include "common/FileSizeLimit.h"
#include "common/ScriptedDialogs.h"

#include "common/TestFiles.h"
#include "common/TestSheets.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

class CardFile : public ::testing::Test
{
protected:
    void SetUp() override { document.LoadFromRegistry("CardFileTest"); }

    QTemporaryDir dir;
    QString path = dir.filePath("Karte.tsx");
    TDocument document;
};

TEST_F(CardFile, RoundTripOfEveryField)
{
    QImage logo(30, 30, QImage::Format_RGB32);
    logo.fill(Qt::red);
    const QString logoPath = dir.filePath("logo.png");
    ASSERT_TRUE(logo.save(logoPath));

    document.SetName("Erika Musterfrau");
    document.SetTitel("Dipl.-Ing.");
    document.SetAdresse({"Hauptstr. 1", "", "   12345 Ort"});
    document.SetBeruf({"Architektin", "##NOENTRY##", "hidden"});
    document.SetTelefonFax({"Tel 1"});
    document.SetMitRueckseite(true);
    document.SetKartentyp(TDocument::Klappkarte);
    document.SetBackText1({QString::fromUtf8("Rückseite")});
    document.SetBackText2({"b2"});
    document.SetKlappTextInnen({"innen"});
    document.SetKlappTextAussen({"aussen", "2"});
    document.SelectLayout(document.Layouts().Items(document.Layouts().IndexOfName("104")));
    document.LinienAnzeigen = false;
    document.TextZentrierenRueckseite = true;
    document.Logo.LoadFromFile(logoPath);
    ASSERT_TRUE(document.SaveToFile(path));
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(document.FileName(), path);

    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.startsWith("[Daten]\r\nName=Erika Musterfrau\r\nTitel=Dipl.-Ing.\r\nFirma=\r\nBeruf0="));
    EXPECT_TRUE(text.contains("Adresse0=Hauptstr. 1\r\nAdresse1=\r\nAdresse2=   12345 Ort\r\nTelefonFaxEMail0"));
    EXPECT_FALSE(text.contains("Adresse3"));
    EXPECT_FALSE(text.contains("[Font]"));
    EXPECT_TRUE(text.contains("Logodatei=" + logoPath.toUtf8() + "\r\n[Layout]\r\nName=104\r\n[Linien]"));

    TDocument loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Name(), "Erika Musterfrau");
    EXPECT_EQ(loaded.Titel(), "Dipl.-Ing.");
    EXPECT_EQ(loaded.Adresse(), (QStringList{"Hauptstr. 1", "", "12345 Ort"}));
    EXPECT_EQ(loaded.Beruf(), QStringList{"Architektin"}); // the marker line ends the list
    EXPECT_EQ(loaded.TelefonFax(), QStringList{"Tel 1"});
    EXPECT_TRUE(loaded.MitRueckseite());
    EXPECT_EQ(loaded.Kartentyp(), TDocument::Klappkarte);
    EXPECT_EQ(loaded.BackText1(), QStringList{QString::fromUtf8("Rückseite")});
    EXPECT_EQ(loaded.KlappTextAussen(), (QStringList{"aussen", "2"}));
    EXPECT_EQ(loaded.Kartenlayout().Name, "104");
    EXPECT_TRUE(loaded.Fontname.isEmpty());
    EXPECT_FALSE(loaded.LinienAnzeigen);
    EXPECT_TRUE(loaded.TextZentrierenRueckseite);
    EXPECT_EQ(loaded.Logo.FileName(), logoPath);
    EXPECT_TRUE(loaded.LogoRueckseite.IsEmpty());
    EXPECT_FALSE(loaded.Modified());

    document.Fontname = "Liberation Mono";
    ASSERT_TRUE(document.SaveToFile(path));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Fontname, "Liberation Mono");
}

// Only a card whose family name is more than its last word stores one; a
// file without it leaves none from the card shown before.
TEST_F(CardFile, CompanyAndNachnameComeBackAndOlderFilesHaveNoNachname)
{
    document.SetName("Jan van der Berg");
    document.SetFirma("Berg & Partner");
    document.SetNachname("van der Berg");
    ASSERT_TRUE(document.SaveToFile(path));
    EXPECT_TRUE(ReadAll(path).contains("\r\nFirma=Berg & Partner\r\nNachname=van der Berg\r\nBeruf0="));
    TDocument loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Firma(), "Berg & Partner");
    EXPECT_EQ(loaded.Nachname(), "van der Berg");

    const QString older = dir.filePath("Alt.tsx");
    ASSERT_TRUE(WriteAll(older, "[Daten]\r\nName=Erika Musterfrau\r\nFirma=Muster AG\r\n"));
    ASSERT_TRUE(loaded.LoadFromFile(older));
    EXPECT_EQ(loaded.Firma(), "Muster AG");
    EXPECT_TRUE(loaded.Nachname().isEmpty());
}

TEST_F(CardFile, SheetIsStoredWithItsWholeGeometryAndComesBack)
{
    document.SetKartentyp(TDocument::Standardkarte);
    document.SetBogenlayout(Letter3x4());
    ASSERT_TRUE(document.SaveToFile(path));
    EXPECT_TRUE(ReadAll(path).contains("[Bogen]\r\nName=Letter 3x4\r\nPapierBreite=215.9\r\nPapierHoehe=279.4\r\n"
                                       "KarteBreite=63.5\r\nKarteHoehe=50.8\r\nSpalten=3\r\nZeilen=4\r\n"
                                       "RandLinks=9.525\r\nRandOben=19.05\r\nAbstandX=66.675\r\nAbstandY=63.5\r\n"));
    TDocument loaded;
    loaded.SetKartentyp(TDocument::Klappkarte);
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Bogenlayout(), Letter3x4());

    // A file of an older version prints on its card type's sheet.
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\nKartentyp=1\r\n"));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    TBogenlayout folding;
    folding.SetFolding();
    EXPECT_EQ(loaded.Bogenlayout(), folding);
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\nKartentyp=0\r\n"));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Bogenlayout(), TBogenlayout());
}

TEST_F(CardFile, SheetThatCannotWorkRefusesTheFileAndTheCardStays)
{
    TScriptedDialogs dialogs;
    document.SetName("shown");
    document.SetBogenlayout(Letter3x4());
    const QByteArray card = "[Daten]\r\nName=B\r\nKartentyp=0\r\n[Bogen]\r\nName=x\r\nPapierBreite=210\r\n"
                            "PapierHoehe=297\r\nKarteBreite=85\r\nKarteHoehe=55\r\nRandLinks=15\r\nRandOben=10\r\n"
                            "AbstandX=95\r\n";
    const std::pair<QByteArray, QString> cases[] = {
        {card + "AbstandY=55\r\nSpalten=2\r\nZeilen=0\r\n",
         "Der Bogen braucht mindestens eine Spalte und eine Zeile."},
        {card + "AbstandY=50\r\nSpalten=2\r\nZeilen=5\r\n",
         QString::fromUtf8("Die Karten überlappen sich: von Karte zu Karte sind es 95 × 50 mm, eine Karte ist aber "
                           "85 × 55 mm groß.")},
        {card + "AbstandY=55\r\nSpalten=3\r\nZeilen=5\r\n",
         QString::fromUtf8("Die Karten reichen über das Papier hinaus: sie brauchen 290 × 285 mm, das Papier ist "
                           "210 × 297 mm groß.")},
        {card + "AbstandY=fünf\r\nSpalten=2\r\nZeilen=5\r\n",
         "Der Wert \"AbstandY\" des Kartenbogens fehlt oder ist keine Zahl."},
        // Counts are decimal: "0x2" and "$5" are no numbers a user writes.
        {card + "AbstandY=55\r\nSpalten=0x2\r\nZeilen=5\r\n",
         "Der Wert \"Spalten\" des Kartenbogens fehlt oder ist keine Zahl."},
        {card + "AbstandY=55\r\nSpalten=2\r\nZeilen=$5\r\n",
         "Der Wert \"Zeilen\" des Kartenbogens fehlt oder ist keine Zahl."},
    };
    for (const auto &[bytes, reason] : cases) {
        ASSERT_TRUE(WriteAll(path, bytes));
        dialogs.Messages.clear();
        EXPECT_FALSE(document.LoadWithMessage(path));
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        EXPECT_EQ(dialogs.Messages[0].Text.toStdString(), ("Die Datei \"" + path +
                                                "\" beschreibt einen Kartenbogen, auf dem nicht gedruckt werden "
                                                "kann:\r\n" + reason).toStdString());
        EXPECT_EQ(document.Name(), "shown");
        EXPECT_EQ(document.Bogenlayout(), Letter3x4());
        EXPECT_TRUE(document.FileName().isEmpty());
    }
}

TEST_F(CardFile, QRCodeTravelsInASectionOfItsOwn)
{
    const TQRCodeSettings code{true, TQRCodeSettings::TInhalt::URL, "www.example.org/karte", true,
                               TQRCodeSettings::UntenLinks, 21.5f};
    document.SetModified(false);
    document.SetQRCode(code);
    EXPECT_TRUE(document.Modified());
    ASSERT_TRUE(document.SaveToFile(path));
    EXPECT_TRUE(ReadAll(path).endsWith("\r\n[QRCode]\r\nAnzeigen=1\r\nInhalt=URL\r\nURL=www.example.org/karte\r\nSeite=1\r\n"
                                       "Ecke=2\r\nGroesse=21.5\r\nEckeAutomatisch=0\r\nForm=Automatisch\r\n"
                                       "Fehlerkorrektur=Automatisch\r\n"));
    TDocument loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.QRCode(), code);
    // An automatic corner leaves older versions the corner they chose by default.
    TQRCodeSettings automatic{true, TQRCodeSettings::TInhalt::VCard, {}, false, TQRCodeSettings::Automatisch, 18,
                              TQRCodeSettings::TForm::MeCard, TQRCodeSettings::TFehlerkorrektur::Q};
    document.SetQRCode(automatic);
    ASSERT_TRUE(document.SaveToFile(path));
    EXPECT_TRUE(ReadAll(path).endsWith("Ecke=3\r\nGroesse=18\r\nEckeAutomatisch=1\r\nForm=MECARD\r\nFehlerkorrektur=Q\r\n"));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.QRCode(), automatic);

    // A file of an older version has no code; turned on, it is placed and
    // encoded as that version did: bottom right, a vCard at level M.
    TQRCodeSettings older;
    older.Ecke = TQRCodeSettings::UntenRechts;
    older.Form = TQRCodeSettings::TForm::VCard;
    older.Fehlerkorrektur = TQRCodeSettings::TFehlerkorrektur::M;
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\n"));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.QRCode(), older);

    // Values out of range take their defaults; sizes are held to 12..30 mm.
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\n[QRCode]\r\nAnzeigen=1\r\nInhalt=Bild\r\nSeite=7\r\nEcke=4\r\n"
                               "Groesse=99,5\r\nForm=Bild\r\nFehlerkorrektur=X\r\n"));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    TQRCodeSettings expected = older;
    expected.Anzeigen = true;
    expected.Groesse = TQRCodeSettings::MaxGroesse;
    EXPECT_EQ(loaded.QRCode(), expected);
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\n[QRCode]\r\nGroesse=nan\r\n"));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.QRCode().Groesse, TQRCodeSettings::DefaultGroesse);

    // An address is cut as a card file cuts it, also where the settings hold it.
    const QString endless(100000, 'w');
    const auto read = [&](const QString &key) { return key == "URL" ? endless : QString(); };
    EXPECT_EQ(TQRCodeSettings::Read(read).URL, QString(2047, 'w'));
}

TEST_F(CardFile, ForeignFilesChangeNothing)
{
    ASSERT_TRUE(WriteAll(path, "[Andere]\r\nName=x\r\n"));
    const QString before = document.Name();
    EXPECT_FALSE(document.LoadFromFile(path));
    EXPECT_FALSE(document.LoadFromFile(dir.filePath("missing.tsx")));
    EXPECT_EQ(document.Name(), before);
    EXPECT_TRUE(document.FileName().isEmpty());
}

TEST_F(CardFile, LayoutIsLookedUpAmongThoseOfTheCardRead)
{
    document.SetKartentyp(TDocument::Klappkarte);
    document.SetMitRueckseite(true);
    document.LoadLayouts(true);
    document.SelectLayout(document.Layouts().Items(2));
    const QString current = document.Kartenlayout().Name;

    // A two-sided folding card is offered landscape layouts only.
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\nKartentyp=1\r\nMitRueckseite=1\r\n[Layout]\r\nName=111\r\n"));
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_EQ(document.Kartenlayout().Name, current);

    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\nKartentyp=0\r\nMitRueckseite=0\r\n[Layout]\r\nName=111\r\n"));
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_EQ(document.Kartenlayout().Name, "111");
    EXPECT_GE(document.Layouts().IndexOfName("111"), 0);
}

TEST_F(CardFile, Windows1252FileWithUmlauts)
{
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=J\xFCrgen M\xFCller\r\nAdresse0=K\xF6nigstra\xDF" "e 5\r\n"
                   "[R\xFC" "ckseite]\r\nTextZentrierenR\xFC" "ckseite=1\r\n"));
    ASSERT_TRUE(document.LoadFromFile(path));
    EXPECT_EQ(document.Name(), QString::fromUtf8("Jürgen Müller"));
    EXPECT_EQ(document.Adresse(), QStringList{QString::fromUtf8("Königstraße 5")});
    EXPECT_TRUE(document.TextZentrierenRueckseite);
}

TEST_F(CardFile, SecondSaveKeepsTheFirstVersionAsBackup)
{
    document.SetName("first");
    ASSERT_TRUE(document.SaveToFile(path));
    document.SetName("second");
    ASSERT_TRUE(document.SaveToFile(path));
    EXPECT_TRUE(ReadAll(dir.filePath("Karte.bak")).contains("Name=first"));
    EXPECT_TRUE(ReadAll(path).contains("Name=second"));
}

TEST_F(CardFile, FailedSaveIsReportedAndLosesNothing)
{
    TScriptedDialogs dialogs;
    document.SetName("first");
    EXPECT_FALSE(document.Save()); // no file name yet: the dialog is cancelled
    EXPECT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(document.Modified());

    ASSERT_TRUE(document.SaveToFile(path));
    ASSERT_TRUE(document.SaveToFile(path));
    const QByteArray first = ReadAll(path);
    const QByteArray backup = ReadAll(dir.filePath("Karte.bak"));
    ASSERT_FALSE(backup.isEmpty());
    document.SetName(QString(5000, 'x'));
    {
        TFileSizeLimit full(200);
        EXPECT_FALSE(document.Save());
    }
    EXPECT_TRUE(document.Modified());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
    // The system's own words ("File too large") are English; the user reads the program's.
    EXPECT_EQ(dialogs.Messages[0].Text, "Die Datei " + path + " konnte nicht gespeichert werden.\r\n"
                                        + QString::fromUtf8("Die Datei konnte nicht vollständig geschrieben werden."));
    EXPECT_EQ(ReadAll(path), first);
    EXPECT_EQ(ReadAll(dir.filePath("Karte.bak")), backup);

    // A folder that does not exist.
    dialogs.Files.push_back(dir.filePath("no/such/folder/card"));
    EXPECT_FALSE(document.SaveAs());
    EXPECT_TRUE(document.Modified());
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_TRUE(dialogs.Messages[1].Text.contains(dir.filePath("no/such/folder/card.tsx")));
}

// Its own name would be its backup's: the backup gets another name, and
// the card file is never deleted to make room for it.
TEST_F(CardFile, CardFileNamedLikeABackupKeepsItselfAndItsBackup)
{
    const QString bakPath = dir.filePath("Karte.bak");
    document.SetName("first");
    ASSERT_TRUE(document.SaveToFile(bakPath));
    document.SetName("second");
    ASSERT_TRUE(document.SaveToFile(bakPath));
    EXPECT_TRUE(ReadAll(bakPath).contains("Name=second"));
    EXPECT_TRUE(ReadAll(dir.filePath("Karte.bak.bak")).contains("Name=first"));

    document.SetName(QString(5000, 'x'));
    {
        TFileSizeLimit full(200);
        EXPECT_FALSE(document.SaveToFile(bakPath));
    }
    EXPECT_TRUE(ReadAll(bakPath).contains("Name=second"));
    EXPECT_TRUE(ReadAll(dir.filePath("Karte.bak.bak")).contains("Name=first"));
}

// Whoever reads a card, the sheet is the one of its type; a type no sheet
// exists for is a standard card, and is written back as one.
TEST_F(CardFile, SheetFollowsTheCardTypeRead)
{
    TBogenlayout folding;
    folding.SetFolding();
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=A\r\nKartentyp=1\r\n"));
    TDocument loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Bogenlayout(), folding);

    for (const char *type : {"2", "-1", "256"}) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(WriteAll(path, QByteArray("[Daten]\r\nName=A\r\nKartentyp=") + type + "\r\n"));
        ASSERT_TRUE(loaded.LoadFromFile(path));
        EXPECT_EQ(loaded.Kartentyp(), TDocument::Standardkarte);
        EXPECT_EQ(loaded.Bogenlayout(), TBogenlayout());
        ASSERT_TRUE(loaded.SaveToFile(path));
        EXPECT_TRUE(ReadAll(path).contains("\r\nKartentyp=0\r\n"));
    }
}

TEST_F(CardFile, OpenAndSaveAsThroughTheDialogs)
{
    TScriptedDialogs dialogs;
    dialogs.Files = {dir.filePath("Neu"), QString(), dir.filePath("Neu.tsx")};
    document.SetName("dialog");
    EXPECT_TRUE(document.SaveAs());
    EXPECT_EQ(document.FileName(), dir.filePath("Neu.tsx")); // the default extension was added
    EXPECT_EQ(dialogs.FileRequests[0].DefaultSuffix, "tsx");
    EXPECT_TRUE(dialogs.FileRequests[0].Filter.startsWith("*.tsx (*.tsx);;Alle Dateien"));

    EXPECT_FALSE(document.Open()); // cancelled
    document.SetName("changed");
    EXPECT_TRUE(document.Open());
    EXPECT_EQ(document.Name(), "dialog");
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(dialogs.FileRequests[1].Title, QString::fromUtf8("Datei öffnen"));
}

} // namespace
