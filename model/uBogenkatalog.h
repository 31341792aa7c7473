#pragma once

#include "model/uBogenlayout.h"

#include <QList>
#include <QString>

#include <functional>

class THMRegIniFile;

// Registers the German defaults of the sheet texts; safe to call again.
void RegisterSheetTexts();

// A sheet as card files and settings store it: its name and always the whole
// geometry, lengths in millimetres with a point, pitches rather than gaps.
// A reader gives a null string for a key that is not stored.
using TSheetValueReader = std::function<QString(const QString &key)>;
using TSheetValueWriter = std::function<void(const QString &key, const QString &value)>;
void WriteSheet(const TBogenlayout &sheet, const TSheetValueWriter &write);
// Empty when the sheet was read and can be printed on; otherwise why not,
// in the user's language. The sheet is only changed when it was read.
QString ReadSheet(const TSheetValueReader &read, TBogenlayout &sheet);

// Why the sheet cannot be printed on, in the user's language; empty when it can.
QString SheetProblemText(const TBogenlayout &sheet);
// "A4: 10 Karten 85 × 55 mm (2 × 5)", numbers in the user's locale.
QString SheetDescription(const TBogenlayout &sheet);
// "Ränder: links 15 mm, oben 10 mm; von Karte zu Karte 95 × 55 mm"
QString SheetDetails(const TBogenlayout &sheet);
// "A4", "US-Letter" or the paper's size.
QString PaperName(float width, float height);
// A length as the user reads it: the program's language, no trailing zeros.
QString LengthText(float mm);

inline constexpr float LetterWidth = 215.9f; // mm
inline constexpr float LetterHeight = 279.4f;

// One sheet on offer and the card type it is for.
struct TBogenEintrag
{
    TBogenlayout Bogen;
    int Kartentyp = 0;
    bool Eigener = false; // the user's own sheet, kept in the settings
};

// The sheets on offer: the presets of both card types, the built-in sheets
// of the resources, then the user's own sheets from the settings, which
// every running instance of the program shares.
class TBogenkatalog
{
public:
    explicit TBogenkatalog(THMRegIniFile &settings);
    TBogenkatalog();

    const QList<TBogenEintrag> &Sheets() const { return FSheets; }
    // The entry for that card type with the sheet's name and geometry; -1 when none.
    int IndexOf(const TBogenlayout &sheet, int kartentyp) const;
    // The user's own sheet of that name; -1 when none.
    int IndexOfCustom(const QString &name) const;

    // Keeps a sound sheet of the user under its name, replacing one of that
    // name, and returns its index. Both change the own sheets as stored
    // now, so the sheets other instances saved meanwhile stay and show.
    int SaveCustom(const TBogenEintrag &entry);
    void RemoveCustom(const QString &name);

private:
    void LoadBuiltIn();
    void LoadCustom();
    void WriteCustom() const;
    // Applies the change to the own sheets as stored now, and stores them.
    void UpdateCustom(const std::function<void()> &change);

    THMRegIniFile &FSettings;
    QList<TBogenEintrag> FSheets;
};
