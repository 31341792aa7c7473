#pragma once

#include "support/uProfileIni.h"

#include <QString>

#include <functional>

// How the card shows its QR code: whether, with what content, on which side,
// in which corner and how large. Stored in card files and with the last card
// data as texts; missing or unreadable values take their defaults.
struct TQRCodeSettings
{
    enum class TInhalt { VCard, URL };
    enum TEcke { ObenLinks, ObenRechts, UntenLinks, UntenRechts };

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
    int Ecke = UntenRechts;
    // The edge length of the code itself, without its white quiet zone.
    float Groesse = DefaultGroesse;

    bool operator==(const TQRCodeSettings &) const = default;

    // Value of a key, a null string when there is none.
    using TReader = std::function<QString(const QString &key)>;
    using TWriter = std::function<void(const QString &key, const QString &value)>;
    // Keys "Anzeigen", "Inhalt", "URL", "Seite", "Ecke", "Groesse".
    static TQRCodeSettings Read(const TReader &read);
    void Write(const TWriter &write) const;
};
