#pragma once

#include "model/uBogenlayout.h"
#include "model/uKartenlayout.h"
#include "model/uQRCodeSettings.h"
#include "render/uDIB.h"
#include "render/uDIBFilter.h"
#include "support/uAtomicFile.h"

#include <QString>
#include <QStringList>

#include <vector>

class TCustomIniFile;

// One value of the card data as the settings keep it.
struct TStoredValue
{
    QString Section;
    QString Name;
    QString Value;

    friend bool operator==(const TStoredValue &, const TStoredValue &) = default;
};
using TStoredValues = std::vector<TStoredValue>;

// Registers the document's German default texts and the sample card of the
// "Adresse" section with the localizer; called once at program start.
void RegisterDocumentTexts();

// Everything the user decides about the card: texts, logos, card type,
// sides, layout, font and switches. It owns the offered templates, a private
// copy of the chosen one and the sheet layout. Text setters mark the
// document modified; the folding-card texts, the card type and the layout
// choice do not.
class TDocument
{
public:
    // Card types.
    static constexpr int Standardkarte = 0;
    static constexpr int Klappkarte = 1;

    // Loads all templates and selects the first.
    TDocument();
    TDocument(const TDocument &) = delete;
    TDocument &operator=(const TDocument &) = delete;

    const TKartenlayout &Kartenlayout() const { return FKartenlayout; }
    const TBogenlayout &Bogenlayout() const { return FBogenlayout; }
    const TKartenlayoutList &Layouts() const { return FLayouts; }

    const QStringList &Adresse() const { return FAdresse; }
    const QStringList &TelefonFax() const { return FTelefonFax; }
    const QStringList &Beruf() const { return FBeruf; }
    const QStringList &BackText1() const { return FBackText1; }
    const QStringList &BackText2() const { return FBackText2; }
    const QStringList &KlappTextInnen() const { return FKlappTextInnen; }
    const QStringList &KlappTextAussen() const { return FKlappTextAussen; }
    const QString &Titel() const { return FTitel; }
    const QString &Name() const { return FName; }
    const QString &Firma() const { return FFirma; }
    // The family name within Name, when the last word alone is not it;
    // empty for most cards.
    const QString &Nachname() const { return FNachname; }
    bool MitRueckseite() const { return FMitRueckseite; }
    int Kartentyp() const { return FKartentyp; }
    TCardFormat CardFormat() const { return {FBogenlayout, FKartentyp == Klappkarte}; }
    bool Modified() const { return FModified; }
    const QString &FileName() const { return FFileName; }

    void SetTitel(const QString &value);
    void SetName(const QString &value);
    void SetFirma(const QString &value);
    void SetNachname(const QString &value);
    void SetAdresse(const QStringList &lines);
    void SetBeruf(const QStringList &lines);
    void SetTelefonFax(const QStringList &lines);
    void SetBackText1(const QStringList &lines);
    void SetBackText2(const QStringList &lines);
    void SetKlappTextInnen(const QStringList &lines);
    void SetKlappTextAussen(const QStringList &lines);
    void SetMitRueckseite(bool value);
    // 1 is the folding card on the folding sheet; every other value is the
    // standard card on the standard sheet.
    void SetKartentyp(int value);
    // Another sheet for the card type; like the card type, no edit.
    void SetBogenlayout(const TBogenlayout &sheet) { FBogenlayout = sheet; }
    void SetModified(bool value) { FModified = value; }
    const TQRCodeSettings &QRCode() const { return FQRCode; }
    // A change marks the document modified.
    void SetQRCode(const TQRCodeSettings &value);

    // The current layout becomes a deep copy of the template.
    void SelectLayout(const TKartenlayout &layout);
    // Appends the lines of each data field ("Titel", "Adresse", ...) in order.
    // The profession ("Beruf") ends with the company, unless one of its
    // lines already names it.
    void GetFieldTexts(const QStringList &names, QStringList &lines) const;
    // Rebuilds the offered templates; the current layout is a copy and stays.
    void LoadLayouts(bool landscapeOnly);

    void LoadFromRegistry(const QString &profile);
    void SaveToRegistry(const QString &profile);
    // What SaveToRegistry writes, without writing it.
    TStoredValues RegistryValues(const QString &profile) const;
    // The card data of the window's sessions, profile "Default".
    void LoadDefault();
    void SaveDefault();
    TStoredValues DefaultValues() const;
    // Empties the texts, logos and file name and switches the QR code off;
    // card type, sides, font, switches and layout stay.
    void Clear();
    // The card is no longer the one of its file: the next Save asks for a name.
    void ForgetFileName() { FFileName.clear(); }

    // Card-data files (.tsx).
    bool SaveToFile(const QString &path);
    bool LoadFromFile(const QString &path);
    // LoadFromFile, saying so in a message box when the file is refused.
    bool LoadWithMessage(const QString &path);
    // Why the last LoadFromFile refused a card file whose sheet cannot be
    // printed on; empty for any other outcome.
    const QString &LoadError() const { return FLoadError; }
    // Why the last LoadFromFile could not read the file at all (no
    // permission, a failed read), in the program's language; empty when it
    // was read or refused for what it holds.
    QString ReadFailure() const;
    // Drops the last lines of the phone field that a card file can no
    // longer hold (TProfileIniFile::MaxFileSize); returns how many.
    qsizetype FitTelefonFaxToCardFile();
    bool Open();
    bool Save();
    bool SaveAs();

    // Written directly by the main window, without marking the document.
    QString Fontname;
    bool LinienAnzeigen = true;
    bool TextZentrierenRueckseite = false;
    // The logos; their faded copies follow every change by themselves.
    TDIB Logo;
    TDIB LogoRueckseite;
    // Front and back often show the same picture: Picture (one of the two
    // logos) takes the other's when that shows FileName as it is now, rather
    // than reading the file again. False when it does not.
    bool ShareLogoFile(TDIB &picture, const QString &fileName) const;
    const TDIB &LogoWatermark() const;
    const TDIB &LogoRueckseiteWatermark() const;

private:
    // Loads the picture from the stored file name, reporting a missing or
    // unreadable file in a message box; the picture is empty then.
    void LoadLogo(TDIB &picture, const QString &fileName);
    void WriteCardKeys(TCustomIniFile &ini) const;
    bool WriteCardFile(const QString &path, TFileError &error) const;
    bool SaveWithMessage(const QString &path);
    QString FileFilter() const;

    TKartenlayout FKartenlayout;
    TBogenlayout FBogenlayout;
    QStringList FAdresse;
    QStringList FTelefonFax;
    QString FTitel;
    QString FFirma;
    QString FNachname;
    QStringList FBeruf;
    QString FName;
    TKartenlayoutList FLayouts;
    bool FModified = false;
    TWatermark FLogoWatermark;
    bool FMitRueckseite = false;
    QStringList FBackText1;
    QStringList FBackText2;
    QStringList FKlappTextInnen;
    QStringList FKlappTextAussen;
    TWatermark FLogoRueckseiteWatermark;
    int FKartentyp = Standardkarte;
    QString FFileName;
    TFileError FSaveError; // why the last SaveToFile failed
    TFileError FReadError; // why the last LoadFromFile could not read
    QString FLoadError;
    TQRCodeSettings FQRCode;
};

// A multi-line text as stored: every line followed by CR LF.
QString JoinLines(const QStringList &lines);
