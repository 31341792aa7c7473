#include "model/uDocument.h"

#include "locale/Unicode.h"
#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "model/uBogenkatalog.h"
#include "model/uCardContact.h"
#include "model/uContactFile.h"
#include "render/uDIBFilter.h"
#include "support/uProfileIni.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString NoEntry = QStringLiteral("##NOENTRY##");
const QString DefaultProfile = QStringLiteral("Default");
const QString SampleSection = QStringLiteral("Adresse");
// The QR code's values beside the other card data, unknown to older versions.
const QString QRCodeValuePrefix = QStringLiteral("QRCode");

QString RegistrySection(const QString &profile)
{
    return QStringLiteral("Daten\\") + profile;
}

QString RegistrySheetSection(const QString &profile)
{
    return RegistrySection(profile) + QStringLiteral("\\Bogen");
}

// Stored card data are held to what a card file gives back: no card holds
// longer lines, and printing them would take minutes.
QString Bounded(const QString &line)
{
    return line.left(TProfileIniFile::MaxValueLength);
}

QStringList BoundedLines(const QString &text)
{
    QStringList lines = SplitTextLines(text);
    for (QString &line : lines)
        line.truncate(TProfileIniFile::MaxValueLength);
    return lines;
}

} // namespace

void RegisterDocumentTexts()
{
    RegisterCardContactTexts();
    RegisterContactFileTexts();
    RegisterDefaultText(QStringLiteral("ID_NOLOGOFILE"), QString::fromUtf8("Die Logodatei %s konnte nicht gefunden werden."));
    RegisterDefaultText(QStringLiteral("ID_CANNOTOPENLOGOFILE"), QString::fromUtf8("Die Logodatei %s konnte nicht geöffnet werden"));
    RegisterDefaultText(QStringLiteral("ID_CANNOTSAVEFILE"),
                        QString::fromUtf8("Die Datei %s konnte nicht gespeichert werden.\r\n%s"));
    RegisterDefaultText(QStringLiteral("ID_NOCARDFILE"),
                        QString::fromUtf8("Die Datei \"%s\" konnte nicht als Visitenkartendatei gelesen werden."));
    RegisterDefaultText(QStringLiteral("ID_KARTENICHTLESBAR"),
                        QString::fromUtf8("Die Datei \"%s\" konnte nicht gelesen werden.\r\n%s"));
    RegisterDefaultText(QStringLiteral("ID_BOGENDATEI"),
                        QString::fromUtf8("Die Datei \"%s\" beschreibt einen Kartenbogen, auf dem nicht gedruckt "
                                          "werden kann:\r\n%s"));
    RegisterDefaultText(QStringLiteral("ID_ALLEDATEIEN"), QString::fromUtf8("Alle Dateien"));
    RegisterDefaultText(QStringLiteral("ID_OPENFILE"), QString::fromUtf8("Datei öffnen"));
    RegisterDefaultText(QStringLiteral("ID_SAVEFILE"), QString::fromUtf8("Datei speichern unter"));

    RegisterSectionDefault(SampleSection, QStringLiteral("Titel"), QString::fromUtf8("Dr. med."));
    RegisterSectionDefault(SampleSection, QStringLiteral("Name"), QString::fromUtf8("Heinz Mustermann"));
    RegisterSectionDefault(SampleSection, QStringLiteral("Beruf"), QString::fromUtf8("Arzt für Allgemeinmedizin"));
    RegisterSectionDefault(SampleSection, QStringLiteral("Adresse"), QString::fromUtf8("Alleestr. 95\r\n98765 Musterdorf"));
    RegisterSectionDefault(SampleSection, QStringLiteral("TelefonFax"),
                           QString::fromUtf8("Tel: 0199/12345678\r\nFax: 0199/12345679\r\nE-Mail: heinz.mustermann@example.org"));
    RegisterSectionDefault(SampleSection, QStringLiteral("BackText1"), QString());
    RegisterSectionDefault(SampleSection, QStringLiteral("BackText2"), QString());
    RegisterSheetTexts();
}

QString JoinLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

TDocument::TDocument()
{
    RegisterDocumentTexts();
    QObject::connect(&Logo, &TDIB::PictureChanged, [this] { FLogoWatermark.Invalidate(); });
    QObject::connect(&LogoRueckseite, &TDIB::PictureChanged, [this] { FLogoRueckseiteWatermark.Invalidate(); });
    LoadLayouts(false);
    if (FLayouts.Count() > 0)
        SelectLayout(FLayouts.Items(0));
}

const TDIB &TDocument::LogoWatermark() const
{
    return FLogoWatermark.Of(Logo);
}

const TDIB &TDocument::LogoRueckseiteWatermark() const
{
    // The same picture on both sides has one faded copy.
    if (LogoRueckseite.SharesPixelsWith(Logo))
        return LogoWatermark();
    return FLogoRueckseiteWatermark.Of(LogoRueckseite);
}

void TDocument::SetTitel(const QString &value)
{
    FTitel = value;
    FModified = true;
}

void TDocument::SetName(const QString &value)
{
    FName = value;
    FModified = true;
}

void TDocument::SetFirma(const QString &value)
{
    FFirma = value;
    FModified = true;
}

void TDocument::SetNachname(const QString &value)
{
    FNachname = value;
    FModified = true;
}

void TDocument::SetAdresse(const QStringList &lines)
{
    FAdresse = lines;
    FModified = true;
}

void TDocument::SetBeruf(const QStringList &lines)
{
    FBeruf = lines;
    FModified = true;
}

void TDocument::SetTelefonFax(const QStringList &lines)
{
    FTelefonFax = lines;
    FModified = true;
}

void TDocument::SetBackText1(const QStringList &lines)
{
    FBackText1 = lines;
    FModified = true;
}

void TDocument::SetBackText2(const QStringList &lines)
{
    FBackText2 = lines;
    FModified = true;
}

void TDocument::SetKlappTextInnen(const QStringList &lines)
{
    FKlappTextInnen = lines;
}

void TDocument::SetKlappTextAussen(const QStringList &lines)
{
    FKlappTextAussen = lines;
}

void TDocument::SetMitRueckseite(bool value)
{
    FMitRueckseite = value;
    FModified = true;
}

void TDocument::SetKartentyp(int value)
{
    // The sheet always follows the card type, so that every caller (the
    // window, printing from the command line) prints what the card is; a
    // type no sheet exists for is a standard card.
    FKartentyp = value == Klappkarte ? Klappkarte : Standardkarte;
    if (FKartentyp == Klappkarte)
        FBogenlayout.SetFolding();
    else
        FBogenlayout.SetStandard();
}

void TDocument::SetQRCode(const TQRCodeSettings &value)
{
    if (value == FQRCode)
        return;
    FQRCode = value;
    FModified = true;
}

void TDocument::SelectLayout(const TKartenlayout &layout)
{
    FKartenlayout.Assign(layout);
}

void TDocument::GetFieldTexts(const QStringList &names, QStringList &lines) const
{
    // Layouts have no place of their own for the company: it is part of the
    // profession block.
    QStringList profession = FBeruf;
    const QString firma = FFirma.trimmed();
    if (!firma.isEmpty()
        && std::none_of(FBeruf.cbegin(), FBeruf.cend(), [&](const QString &line) { return line.trimmed() == firma; }))
        profession.append(FFirma);
    const std::pair<const char *, const QStringList *> lists[] = {
        {"Beruf", &profession},
        {"Adresse", &FAdresse},
        {"TelefonFax", &FTelefonFax},
        {"BackText1", &FBackText1},
        {"BackText2", &FBackText2},
        {"KlappTextInnen1", &FKlappTextInnen},
        {"KlappTextAussen1", &FKlappTextAussen},
    };
    const std::pair<const char *, const QString *> singles[] = {
        {"Titel", &FTitel}, {"Name", &FName}, {"Firma", &FFirma}};
    for (const QString &name : names) {
        for (const auto &[field, text] : singles) {
            if (name.compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                lines.append(*text);
        }
        for (const auto &[field, list] : lists) {
            if (name.compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                lines.append(*list);
        }
    }
}

void TDocument::LoadLayouts(bool landscapeOnly)
{
    FLayouts.LoadFromResources(landscapeOnly);
}

void TDocument::LoadLogo(TDIB &picture, const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
        picture.Clear();
        if (!fileName.isEmpty())
            ShowMessageBox(TMsgDlgType::Error, FormatDefaultText(QStringLiteral("ID_NOLOGOFILE"), {fileName}));
        return;
    }
    // The other side's picture, taken over, was reported when it was read.
    if (ShareLogoFile(picture, fileName))
        return;
    try {
        picture.LoadFromFile(fileName);
    } catch (const std::exception &) {
        ShowMessageBox(TMsgDlgType::Error, FormatDefaultText(QStringLiteral("ID_CANNOTOPENLOGOFILE"), {fileName}));
        picture.Clear();
        return;
    }
    if (const QString leftOut = picture.LeftOutText(); !leftOut.isEmpty())
        ShowMessageBox(TMsgDlgType::Warning, leftOut);
}

bool TDocument::ShareLogoFile(TDIB &picture, const QString &fileName) const
{
    const TDIB &other = &picture == &Logo ? LogoRueckseite : Logo;
    if (!other.ShowsFile(fileName))
        return false;
    picture.Assign(other);
    return true;
}

void TDocument::LoadFromRegistry(const QString &profile)
{
    const THMRegIniFile &settings = Settings();
    const QString section = RegistrySection(profile);
    const QString name = settings.ReadString(section, QStringLiteral("VorNachname"), NoEntry);
    if (name != NoEntry) {
        const auto raw = [&](const QString &key) { return settings.ReadString(section, key, QString()); };
        const auto text = [&](const char *key) { return Bounded(raw(QLatin1String(key))); };
        const auto lines = [&](const char *key) { return BoundedLines(raw(QLatin1String(key))); };
        FAdresse = lines("Adresse");
        FTelefonFax = lines("TelefonFax");
        FBeruf = lines("Beruf");
        FTitel = text("Titel");
        FFirma = text("Firma");
        FNachname = text("Nachname");
        FName = Bounded(name);
        FMitRueckseite = settings.ReadBool(section, QStringLiteral("MitRueckseite"), false);
        FBackText1 = lines("BackText1");
        FBackText2 = lines("BackText2");
        SetKartentyp(settings.ReadInteger(section, QStringLiteral("Kartentyp"), FKartentyp));
        // Settings of an older version name no sheet: the card type's preset stays.
        const QString sheetSection = RegistrySheetSection(profile);
        ReadSheet([&](const QString &key) { return settings.ReadString(sheetSection, key, QString()); },
                  FBogenlayout);
        FKlappTextInnen = lines("KlappVisitenkartenTextInnen");
        FKlappTextAussen = lines("KlappVisitenkartenTextAussen");
        const int index = FLayouts.IndexOfName(text("Kartenlayout"));
        if (index >= 0)
            SelectLayout(FLayouts.Items(index));
        LoadLogo(Logo, text("Logodatei"));
        LoadLogo(LogoRueckseite, Bounded(raw(QString::fromUtf8("LogodateiRückseite"))));
        Fontname = text("Fontname");
        LinienAnzeigen = settings.ReadBool(section, QStringLiteral("LinienAnzeigen"), true);
        TextZentrierenRueckseite = settings.ReadBool(section, QString::fromUtf8("TextZentrierenRückseite"), false);
        FQRCode = TQRCodeSettings::Read([&](const QString &key) {
            return settings.ReadString(section, QRCodeValuePrefix + key, QString());
        });
    } else {
        const auto sample = [](const char *key) { return GetSectionText(SampleSection, QLatin1String(key)); };
        FTitel = sample("Titel");
        FName = sample("Name");
        FFirma.clear();
        FNachname.clear();
        FBeruf = SplitTextLines(sample("Beruf"));
        FAdresse = SplitTextLines(sample("Adresse"));
        FTelefonFax = SplitTextLines(sample("TelefonFax"));
        FBackText1 = SplitTextLines(sample("BackText1"));
        FBackText2 = SplitTextLines(sample("BackText2"));
        FMitRueckseite = false;
        SetKartentyp(Standardkarte);
        FKlappTextInnen.clear();
        FKlappTextAussen.clear();
        if (FLayouts.Count() > 0)
            SelectLayout(FLayouts.Items(0));
    }
    FModified = false;
}

void TDocument::SaveToRegistry(const QString &profile)
{
    THMRegIniFile &settings = Settings();
    for (const TStoredValue &value : RegistryValues(profile))
        settings.WriteString(value.Section, value.Name, value.Value);
    FModified = false;
}

TStoredValues TDocument::RegistryValues(const QString &profile) const
{
    TStoredValues values;
    const QString section = RegistrySection(profile);
    const auto add = [&](const QString &name, const QString &value) { values.push_back({section, name, value}); };
    const auto flag = [](bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); };
    add(QStringLiteral("Adresse"), JoinLines(FAdresse));
    add(QStringLiteral("TelefonFax"), JoinLines(FTelefonFax));
    add(QStringLiteral("Titel"), FTitel);
    add(QStringLiteral("Firma"), FFirma);
    add(QStringLiteral("Beruf"), JoinLines(FBeruf));
    add(QStringLiteral("VorNachname"), FName);
    add(QStringLiteral("Nachname"), FNachname);
    add(QStringLiteral("MitRueckseite"), flag(FMitRueckseite));
    add(QStringLiteral("BackText1"), JoinLines(FBackText1));
    add(QStringLiteral("BackText2"), JoinLines(FBackText2));
    add(QStringLiteral("Kartentyp"), QString::number(FKartentyp));
    add(QStringLiteral("KlappVisitenkartenTextInnen"), JoinLines(FKlappTextInnen));
    add(QStringLiteral("KlappVisitenkartenTextAussen"), JoinLines(FKlappTextAussen));
    add(QStringLiteral("Kartenlayout"), FKartenlayout.Name);
    add(QStringLiteral("Fontname"), Fontname);
    add(QStringLiteral("Logodatei"), Logo.FileName());
    add(QString::fromUtf8("LogodateiRückseite"), LogoRueckseite.FileName());
    add(QStringLiteral("LinienAnzeigen"), flag(LinienAnzeigen));
    add(QString::fromUtf8("TextZentrierenRückseite"), flag(TextZentrierenRueckseite));
    const QString sheetSection = RegistrySheetSection(profile);
    WriteSheet(FBogenlayout,
               [&](const QString &key, const QString &value) { values.push_back({sheetSection, key, value}); });
    FQRCode.Write([&](const QString &key, const QString &value) { add(QRCodeValuePrefix + key, value); });
    return values;
}

void TDocument::LoadDefault()
{
    LoadFromRegistry(DefaultProfile);
    FModified = false;
}

void TDocument::SaveDefault()
{
    SaveToRegistry(DefaultProfile);
    Settings().Flush();
    FModified = false;
}

TStoredValues TDocument::DefaultValues() const
{
    return RegistryValues(DefaultProfile);
}

void TDocument::Clear()
{
    FFileName.clear();
    FTitel.clear();
    FFirma.clear();
    FNachname.clear();
    FName.clear();
    for (QStringList *list : {&FAdresse, &FTelefonFax, &FBeruf, &FBackText1, &FBackText2, &FKlappTextInnen, &FKlappTextAussen})
        list->clear();
    Logo.Clear();
    LogoRueckseite.Clear();
    // A new card has no contact yet a code could hold; its other choices stay.
    FQRCode.Anzeigen = false;
    FModified = false;
}
