#include "locale/ulocalize.h"
#include "support/uResources.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace {

// Every key the program looks up in a language text, by section.
const QStringList MasterComponentKeys = {
    "Master.Caption", "GroupBox4.Caption", "gbLayoutDetails.Caption", "Label1.Caption", "chLinien.Caption",
    "gbPersDaten.Caption", "laTele.Caption", "laAdresse.Caption", "laBeruf.Caption", "laName.Caption",
    "Label10.Caption", "Label9.Caption", "BtnFirmenlogo.Caption", "BtnEntfernen.Caption",
    "gbDruckbereich.Caption", "BtnDruckPosUp.Hint", "BtnDruckPosDown.Hint", "BtnDruckPosRight.Hint",
    "BtnDruckPosLeft.Hint", "BtnDruckPosCenter.Hint", "BtnTestseiteDrucken.Caption",
    "BtnDruckpositionAnpassen.Caption", "gbDrucker.Caption", "Label3.Caption", "Label5.Caption",
    "Label6.Caption", "BtnEigenschaften.Caption", "GroupBox1.Caption", "Label8.Caption", "BtnWeiter.Caption",
    "BtnZurueck.Caption", "mnuDatei.Caption", "mnuDateiNeu.Caption", "mnuDateiOeffnen.Caption",
    "mnuDateiSpeichern.Caption", "mnuDateiSpeichernUnter.Caption", "mnuDateiDrucken.Caption",
    "mnuDateiDruckereinrichtung.Caption", "mnuDateiBeenden.Caption", "mnuSprache.Caption",
    "mnuSpracheDeu.Caption", "mnuSpracheEng.Caption", "mnuSpracheFra.Caption", "mnuSpracheIta.Caption",
    "mnuSpracheNed.Caption", "mnuSpracheSpa.Caption", "mnuSprachePor.Caption", "mnuSpracheUng.Caption",
    "mnuSpracheCze.Caption", "mnuSpracheSlk.Caption", "tsEigeneDaten.Caption", "tsRueckseite.Caption",
    "tsLayout.Caption", "tsDrucken.Caption", "cbKartebeidseitig.Caption", "gbRueckseite.Caption",
    "laTextfeld2.Caption", "laTextfeld1.Caption", "cbTextZentrierenRueckseite.Caption",
    "mnuWeitereOrnakVisitenkarten.Caption", "mnuOrnakVisitenkartenzubehoerkatalog.Caption",
    "mnuHilfe.Caption", "mnuAssistentBeimStartAnzeigen.Caption", "mnuAssistentanzeigen.Caption",
    "mnuAssistentverbergen.Caption", "mnuHilfeInfo.Caption", "tsVisitenkartentyp.Caption",
    "GroupBox3.Caption", "rbStandardkarte.Caption", "rbKlappvisitenkarte.Caption", "GroupBox5.Caption",
    "rbEinseitig.Caption", "rbBeidseitig.Caption", "Label7.Caption", "Label4.Caption", "gbExtraText.Caption",
    "gbExtraTextRueckseite.Caption", "gbLogoRueckseite.Caption", "Label2.Caption",
    "BtnLogoEinfuegenRueckseite.Caption", "BtnLogoEntfernenRueckseite.Caption",
};

const QStringList MasterFreeKeys = {
    "ID_PROGRAMMNAME", "Weiter", "Drucken", "Eigene Daten", "Layout", "ID_DRUCK1", "ID_DRUCK2",
    "ID_DRUCKPOS1", "ID_DRUCKPOS2", "ID_DRUCKPOS3", "ID_DRUCKPOS4", "ID_DRUCKPOS5", "ID_DRUCKPOS6",
    "ID_TESTDRUCK1", "ID_OHNE", "ID_SAVE", "ID_ANZKARTEN", "ID_AlleDateien", "ID_LOGOLADEN",
    "ID_FILENOTFOUND", "ID_NOACROBAT", "ID_VORDERSEITE", "ID_RÜCKSEITE", "ID_BEIDSEITIG", "Vorderseite",
    "Rückseite", "ID_DRUCKFORTSCHRITT", "ID_PDFDRUCKEN", "ID_PDFDATEIEN", "ID_PDFKOMMENTAR", "ID_DRUCKERFEHLT",
    "ID_DRUCKERNIMMTNICHTAN", "ID_DRUCKFEHLGESCHLAGEN", "ID_KEINENEUESEITE", "ID_PDFNICHTANGELEGT",
    "ID_PDFNICHTSCHREIBBAR", "ID_KEINTREIBER", "ID_KOPIENIMDRUCK",
};

class GermanTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::unique_ptr<QIODevice> stream = Resources::Open("LANG", "100");
        ASSERT_TRUE(stream);
        texts.LoadFromStream(*stream);
    }

    TMyMemIniFile texts;
};

void ExpectTexts(const TMyMemIniFile &texts, const QString &section, const QStringList &keys)
{
    const QString marker = QString::fromUtf16(MissingTextMarker);
    for (const QString &key : keys) {
        const QString value = texts.ReadString(section, key, marker);
        EXPECT_NE(value, marker) << qPrintable(section) << " / " << qPrintable(key);
    }
}

} // namespace

TEST_F(GermanTexts, IsUtf16WithByteOrderMarkAndCrLfLines)
{
    const QByteArray bytes = Resources::Load("LANG", "100");
    ASSERT_GE(bytes.size(), 2);
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFE", 2));
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                                            (bytes.size() - 2) / 2);
    EXPECT_EQ(text.count('\n'), text.count("\r\n"));
    EXPECT_TRUE(text.endsWith("\r\n\r\n"));
}

TEST_F(GermanTexts, HoldsEveryKeyTheProgramLooksUp)
{
    ExpectTexts(texts, "TMaster", MasterComponentKeys);
    ExpectTexts(texts, "TMaster", MasterFreeKeys);
    ExpectTexts(texts, "THelpWindow", {"HelpWindow.Caption"});
    QStringList frameworkKeys;
    for (const char *key : FrameworkTextKeys)
        frameworkKeys << QLatin1String(key);
    ExpectTexts(texts, "Default", frameworkKeys);
    ExpectTexts(texts, "Default", {"IDS_CANNOTREADPICT", "ID_NOLOGOFILE", "ID_CANNOTOPENLOGOFILE", "ID_LOGOWEGGELASSEN",
                                   "ID_CANNOTSAVEFILE", "ID_NOCARDFILE", "ID_ALLEDATEIEN", "ID_OPENFILE",
                                   "ID_SAVEFILE", "ID_BOGENDATEI", "ID_BOGENEINTRAG", "ID_BOGENDETAILS",
                                   "ID_PAPIERLETTER", "ID_PAPIEREIGEN", "ID_BOGENKEINEKARTEN", "ID_BOGENPAPIER",
                                   "ID_BOGENKARTE", "ID_BOGENRAND", "ID_BOGENUEBERLAPPUNG", "ID_BOGENAUSSERHALB",
                                   "ID_BOGENWERT", "ID_EIGENERBOGEN", "ID_SETTINGSNOTWRITTEN",
                                   "ID_SETTINGSNOTWRITTENEND", "ID_OTHERINSTANCE"});
    ExpectTexts(texts, "TMaster", {"gbBogen.Caption"});
    ExpectTexts(texts, "TBogenDialog", {"BogenDialog.Caption", "lblName.Caption", "lblAbstand.Hint",
                                        "BtnLoeschen.Caption", "ID_PAPIEREIGENES", "ID_BOGENNAME"});
    // The contact and its QR code.
    ExpectTexts(texts, "TMaster",
                {"mnuDateiKontaktImportieren.Caption", "mnuDateiAlsVCardSpeichern.Caption", "gbQRCode.Caption",
                 "chQRCodeAnzeigen.Caption", "lblQRCodeGroesse.Caption", "rbQRCodeVCard.Caption", "rbQRCodeURL.Caption",
                 "lblQRCodeSeite.Caption", "cbQRCodeSeite.Items0", "cbQRCodeSeite.Items1", "lblQRCodeEcke.Caption",
                 "cbQRCodeEcke.Items0", "cbQRCodeEcke.Items1", "cbQRCodeEcke.Items2", "cbQRCodeEcke.Items3"});
    // The calibration of the fronts and the backs.
    ExpectTexts(texts, "TMaster",
                {"rbDruckPosVorderseite.Caption", "rbDruckPosVorderseite.Hint", "rbDruckPosRueckseite.Caption",
                 "rbDruckPosRueckseite.Hint", "laDruckPosX.Caption", "seDruckPosX.Hint", "laDruckPosY.Caption",
                 "seDruckPosY.Hint"});
    ExpectTexts(texts, "Default",
                {"ID_KONTAKT_TELEFON", "ID_KONTAKT_MOBIL", "ID_KONTAKT_FAX", "ID_KONTAKT_EMAIL", "ID_KONTAKT_WEB",
                 "ID_VCARDDATEIEN", "ID_KONTAKTIMPORTIEREN", "ID_KONTAKTSPEICHERN", "ID_KONTAKTWAEHLEN",
                 "ID_KEINKONTAKT", "ID_KONTAKTNICHTLESBAR", "ID_KONTAKTZUGROSS", "ID_QRCODEZUVIEL", "ID_QRCODEKLEIN"});
    ExpectTexts(texts, "Localizer", {"NoLanguageFile"});
    ExpectTexts(texts, "Adresse", {"Titel", "Name", "Beruf", "Adresse", "TelefonFax", "BackText1", "BackText2"});
    ExpectTexts(texts, "PDF", {"Software", "Visitenkarten", "Zubehör"});
    ExpectTexts(texts, "Links", {"Visitenkarten", "Visitenkartenzubehör"});
}

TEST_F(GermanTexts, ComponentKeysComeInTheFormOrder)
{
    QStringList keys;
    texts.ReadSection("TMaster", keys);
    ASSERT_GE(keys.size(), MasterComponentKeys.size());
    EXPECT_EQ(keys.mid(0, MasterComponentKeys.size()), MasterComponentKeys);
}

TEST_F(GermanTexts, GermanVariantsOfTheCodeDefaults)
{
    EXPECT_EQ(texts.ReadString("TMaster", "ID_OHNE", ""), "ohne Logo");
    EXPECT_EQ(texts.ReadString("TMaster", "ID_BEIDSEITIG", ""), "Beidseitig");
    EXPECT_EQ(texts.ReadString("TMaster", "Master.Caption", ""), "Ornak - Tessaro");
    EXPECT_EQ(TLocalizer::UnescapeText(texts.ReadString("Adresse", "Adresse", "")),
              "Alleestr. 95\r\n98765 Musterdorf");
    QString formatted;
    EXPECT_TRUE(TryFormatText(texts.ReadString("TMaster", "ID_DRUCKPOS2", ""), {1.5}, formatted));
}
