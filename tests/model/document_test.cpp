#include "model/uDocument.h"

#include "common/ScriptedDialogs.h"
#include "locale/uHMRegistry.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

QString SaveLogo(const QTemporaryDir &dir, const QString &name, QRgb colour)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path, "BMP"));
    return path;
}

TEST(Document, FirstStartShowsTheGermanSampleCard)
{
    TDocument document;
    document.LoadFromRegistry("NeverWritten");
    EXPECT_EQ(document.Name(), "Heinz Mustermann");
    EXPECT_EQ(document.Titel(), "Dr. med.");
    EXPECT_EQ(document.Adresse(), (QStringList{"Alleestr. 95", "98765 Musterdorf"}));
    EXPECT_EQ(document.TelefonFax().size(), 3);
    EXPECT_TRUE(document.BackText1().isEmpty());
    EXPECT_EQ(document.Kartentyp(), TDocument::Standardkarte);
    EXPECT_FALSE(document.MitRueckseite());
    EXPECT_EQ(document.Kartenlayout().Name, "100");
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(document.Bogenlayout(), TBogenlayout());
}

TEST(Document, RegistryRoundTripAndStoredEmptyName)
{
    QTemporaryDir dir;
    const QString back = SaveLogo(dir, "back.bmp", qRgb(0, 0, 0));
    {
        TDocument document;
        document.SetName("");
        document.SetTitel("Prof.");
        document.SetFirma("Muster AG");
        document.SetNachname("van Beek");
        document.SetAdresse({"Weg 1", "", "12345 Ort"});
        document.SetMitRueckseite(true);
        document.SetKartentyp(TDocument::Klappkarte);
        TBogenlayout sheet;
        sheet.SetFolding();
        sheet.CardHeight = 54;
        document.SetBogenlayout(sheet);
        document.SetKlappTextInnen({"innen"});
        document.SelectLayout(document.Layouts().Items(document.Layouts().IndexOfName("103")));
        document.LogoRueckseite.LoadFromFile(back);
        document.Fontname = "Liberation Serif";
        document.LinienAnzeigen = false;
        document.TextZentrierenRueckseite = true;
        document.SetQRCode({true, TQRCodeSettings::TInhalt::URL, "example.org", true, TQRCodeSettings::ObenLinks, 12.5f});
        document.SaveToRegistry("RoundTrip");
        EXPECT_FALSE(document.Modified());
    }
    TDocument document;
    document.LoadFromRegistry("RoundTrip");
    EXPECT_EQ(document.Name(), ""); // an empty stored name is stored data, not the sample card
    EXPECT_EQ(document.Titel(), "Prof.");
    EXPECT_EQ(document.Firma(), "Muster AG");
    EXPECT_EQ(document.Nachname(), "van Beek");
    EXPECT_EQ(document.Adresse(), (QStringList{"Weg 1", "", "12345 Ort"}));
    EXPECT_TRUE(document.MitRueckseite());
    EXPECT_EQ(document.Kartentyp(), TDocument::Klappkarte);
    EXPECT_EQ(document.Bogenlayout().CardHeight, 54); // the last sheet comes back with the card
    EXPECT_EQ(document.KlappTextInnen(), QStringList{"innen"});
    EXPECT_EQ(document.Kartenlayout().Name, "103");
    EXPECT_EQ(document.LogoRueckseite.FileName(), back);
    EXPECT_EQ(document.Fontname, "Liberation Serif");
    EXPECT_FALSE(document.LinienAnzeigen);
    EXPECT_TRUE(document.TextZentrierenRueckseite);
    EXPECT_EQ(document.QRCode(),
              (TQRCodeSettings{true, TQRCodeSettings::TInhalt::URL, "example.org", true, TQRCodeSettings::ObenLinks, 12.5f}));
    EXPECT_FALSE(document.Modified());

    // Settings of an older version name no sheet: the card type's preset.
    Settings().EraseSection("Daten\\RoundTrip\\Bogen");
    TDocument older;
    older.LoadFromRegistry("RoundTrip");
    TBogenlayout folding;
    folding.SetFolding();
    EXPECT_EQ(older.Bogenlayout(), folding);
}

// Stored card data give back no more than a card file does: a name of
// millions of characters in a tampered settings file would print for minutes.
TEST(Document, StoredLinesAreCutWhereACardFileCutsThem)
{
    Settings().WriteString("Daten\\Lang", "VorNachname", QString(20000, 'n'));
    Settings().WriteString("Daten\\Lang", "Adresse", "Weg 1\r\n" + QString(3000, 'a'));
    TDocument document;
    document.LoadFromRegistry("Lang");
    EXPECT_EQ(document.Name(), QString(2047, 'n'));
    EXPECT_EQ(document.Adresse(), (QStringList{"Weg 1", QString(2047, 'a')}));
}

TEST(Document, MissingLogoGivesOneMessageAndTheBackLogoIsStillRead)
{
    QTemporaryDir dir;
    const QString back = SaveLogo(dir, "back.bmp", qRgb(0, 0, 0));
    Settings().WriteString("Daten\\Logos", "VorNachname", "X");
    Settings().WriteString("Daten\\Logos", "Logodatei", dir.filePath("deleted.bmp"));
    Settings().WriteString("Daten\\Logos", QString::fromUtf8("LogodateiRückseite"), back);

    TScriptedDialogs dialogs;
    TDocument document;
    document.LoadFromRegistry("Logos");
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_TRUE(dialogs.Messages[0].Text.contains(dir.filePath("deleted.bmp")));
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_TRUE(document.Logo.IsEmpty());
    EXPECT_FALSE(document.LogoRueckseite.IsEmpty());
    // The faded copy follows the logo: black becomes 217 grey.
    const TDIB &watermark = document.LogoRueckseiteWatermark();
    ASSERT_FALSE(watermark.IsEmpty());
    EXPECT_EQ(watermark.Header().biBitCount, 24);

    // A file that is no picture gives the other message.
    const QString broken = dir.filePath("broken.bmp");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    Settings().WriteString("Daten\\Logos", "Logodatei", broken);
    document.LoadFromRegistry("Logos");
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_TRUE(dialogs.Messages[1].Text.contains(broken));
    EXPECT_TRUE(dialogs.Messages[1].Text.contains(QString::fromUtf8("geöffnet")));
    EXPECT_TRUE(dialogs.Messages[0].Text.contains("gefunden"));
    EXPECT_TRUE(document.Logo.IsEmpty());
}

TEST(Document, FieldTextsAndModifiedRules)
{
    TDocument document;
    document.LoadFromRegistry("Fields");
    document.SetTitel("");
    document.SetBeruf({});
    QStringList lines;
    document.GetFieldTexts({"Titel"}, lines);
    EXPECT_EQ(lines, QStringList{""});
    lines.clear();
    document.GetFieldTexts({"Beruf"}, lines);
    EXPECT_TRUE(lines.isEmpty());
    lines.clear();
    document.GetFieldTexts({"adresse", "TELEFONFAX", "unknown", "Name"}, lines);
    EXPECT_EQ(lines, (QStringList{"Alleestr. 95", "98765 Musterdorf", "Tel: 0199/12345678", "Fax: 0199/12345679",
                                  document.TelefonFax().at(2), "Heinz Mustermann"}));

    // The company closes the profession block, once, where the layouts have
    // the profession: no layout has a place of its own for it.
    document.SetFirma("Muster AG");
    for (const auto &[beruf, shown] : {std::pair{QStringList{}, QStringList{"Muster AG"}},
                                       std::pair{QStringList{"Arzt", "Sport"}, QStringList{"Arzt", "Sport", "Muster AG"}},
                                       std::pair{QStringList{" Muster AG", "Arzt"}, QStringList{" Muster AG", "Arzt"}}}) {
        document.SetBeruf(beruf);
        lines.clear();
        document.GetFieldTexts({"Beruf", "Firma"}, lines);
        EXPECT_EQ(lines, shown + QStringList{"Muster AG"}) << beruf.join('|').toStdString();
    }

    TDocument fresh;
    fresh.LoadFromRegistry("Fields2");
    fresh.SetKlappTextInnen({"x"});
    fresh.SetKlappTextAussen({"y"});
    fresh.SetKartentyp(TDocument::Klappkarte);
    fresh.SelectLayout(fresh.Layouts().Items(1));
    EXPECT_FALSE(fresh.Modified());
    fresh.SetMitRueckseite(true);
    EXPECT_TRUE(fresh.Modified());
    for (const auto set : {&TDocument::SetFirma, &TDocument::SetNachname}) {
        fresh.SetModified(false);
        (fresh.*set)("x");
        EXPECT_TRUE(fresh.Modified());
    }
}

TEST(Document, SameLogoOnBothSidesIsKeptOnceAndOnlyItsFadedCopyIsFaded)
{
    QTemporaryDir dir;
    const QString logo = SaveLogo(dir, "logo.bmp", qRgb(0, 0, 0));
    Settings().WriteString("Daten\\Beide", "VorNachname", "X");
    Settings().WriteString("Daten\\Beide", "Logodatei", logo);
    Settings().WriteString("Daten\\Beide", QString::fromUtf8("LogodateiRückseite"), logo);
    TDocument document;
    document.LoadFromRegistry("Beide");
    EXPECT_TRUE(document.LogoRueckseite.SharesPixelsWith(document.Logo));
    EXPECT_EQ(&document.LogoRueckseiteWatermark(), &document.LogoWatermark());
    EXPECT_EQ(UnpackImage(document.LogoWatermark().Handle()).pixel(5, 5), qRgb(217, 217, 217));
    EXPECT_EQ(UnpackImage(document.Logo.Handle()).pixel(5, 5), qRgb(0, 0, 0));

    // Another back logo leaves the front and its faded copy as they were.
    document.LogoRueckseite.LoadFromFile(SaveLogo(dir, "back.bmp", qRgb(200, 0, 0)));
    EXPECT_FALSE(document.LogoRueckseite.SharesPixelsWith(document.Logo));
    EXPECT_EQ(UnpackImage(document.LogoRueckseiteWatermark().Handle()).pixel(5, 5), qRgb(247, 217, 217));
    EXPECT_EQ(UnpackImage(document.LogoWatermark().Handle()).pixel(5, 5), qRgb(217, 217, 217));

    // Once the front's file has changed on disk, the back must read it anew.
    document.Logo.LoadFromFile(logo);
    EXPECT_TRUE(document.ShareLogoFile(document.LogoRueckseite, logo));
    SaveLogo(dir, "logo.bmp", qRgb(0, 0, 200));
    QFile changed(logo);
    ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
    ASSERT_TRUE(changed.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    changed.close();
    EXPECT_FALSE(document.ShareLogoFile(document.LogoRueckseite, logo));
}

TEST(Document, ClearKeepsCardTypeSidesAndLayout)
{
    QTemporaryDir dir;
    TDocument document;
    document.LoadFromRegistry("Clear");
    document.SetKartentyp(TDocument::Klappkarte);
    document.SetMitRueckseite(true);
    document.SelectLayout(document.Layouts().Items(document.Layouts().IndexOfName("121")));
    document.Logo.LoadFromFile(SaveLogo(dir, "logo.bmp", qRgb(10, 20, 30)));
    document.SetFirma("Muster AG");
    document.SetNachname("van Beek");
    ASSERT_FALSE(document.LogoWatermark().IsEmpty());
    document.Clear();
    EXPECT_TRUE(document.Name().isEmpty());
    EXPECT_TRUE(document.Firma().isEmpty());
    EXPECT_TRUE(document.Nachname().isEmpty());
    EXPECT_TRUE(document.Adresse().isEmpty());
    EXPECT_TRUE(document.Logo.IsEmpty());
    EXPECT_TRUE(document.LogoWatermark().IsEmpty());
    EXPECT_EQ(document.Kartentyp(), TDocument::Klappkarte);
    EXPECT_TRUE(document.MitRueckseite());
    EXPECT_EQ(document.Kartenlayout().Name, "121");
    EXPECT_FALSE(document.Modified());
}

TEST(Document, CurrentLayoutSurvivesRebuildingTheList)
{
    TDocument document;
    document.SelectLayout(document.Layouts().Items(document.Layouts().IndexOfName("111")));
    const int figures = int(document.Kartenlayout().Elements.Count());
    document.LoadLayouts(true);
    EXPECT_EQ(document.Layouts().IndexOfName("111"), -1);
    EXPECT_EQ(document.Kartenlayout().Name, "111");
    EXPECT_EQ(int(document.Kartenlayout().Elements.Count()), figures);
}

} // namespace
