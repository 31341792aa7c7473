#pragma once

#include "support/uProfileIni.h"

#include <QString>

#include <functional>

// How the card shows its QR code: whether, with what content, in which form
// and error correction, on which side, in which corner and how large.
// Stored in card files and with the last card data as texts; missing or
// unreadable values take what older versions did without them, so that
// their files print as before. New settings choose for themselves.
struct TQRCodeSettings
{
    enum class TInhalt { VCard, URL };
    // Automatisch: the first corner the card's text leaves free.
    enum TEcke { ObenLinks, ObenRechts, UntenLinks, UntenRechts, Automatisch };
    // How the contact is written. Automatisch: the vCard, or the compact
    // form when the vCard's modules would be too small to scan.
    enum class TForm { VCard, MeCard, Automatisch };
    // Automatisch: L for a contact, whose modules matter more on a card
    // than its damage tolerance; M for a web address.
    enum class TFehlerkorrektur { L, M, Q, H, Automatisch };

    static constexpr float MinGroesse = 12; // mm
    static constexpr float MaxGroesse = 30;
    static constexpr float DefaultGroesse = 18;
    // Longer addresses are cut where they are read, as card files cut every
    // value: none fits into a code.
    static constexpr qsizetype MaxURLLength = TProfileIniFile::MaxValueLength;

    bool Anzeigen = false;
    TInhalt Inhalt = TInhalt::VCard;
    QString URL;
    bool Rueckseite = false;
    int Ecke = Automatisch;
    // The edge length of the code itself, without its white quiet zone.
    float Groesse = DefaultGroesse;
    TForm Form = TForm::Automatisch;
    TFehlerkorrektur Fehlerkorrektur = TFehlerkorrektur::Automatisch;

    bool operator==(const TQRCodeSettings &) const = default;

    // Value of a key, a null string when there is none.
    using TReader = std::function<QString(const QString &key)>;
    using TWriter = std::function<void(const QString &key, const QString &value)>;
    // Keys "Anzeigen", "Inhalt", "URL", "Seite", "Ecke", "Groesse", and the
    // newer "EckeAutomatisch", "Form", "Fehlerkorrektur", which older
    // versions skip: an automatic corner leaves them "Ecke" bottom right.
    static TQRCodeSettings Read(const TReader &read);
    void Write(const TWriter &write) const;
};
