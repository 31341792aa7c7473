#include "model/uBogenkatalog.h"

#include "locale/uHMRegistry.h"
#include "locale/uNumberText.h"
#include "locale/ulocalize.h"
#include "support/uCustomIni.h"
#include "support/uMemIni.h"
#include "support/uResources.h"

#include <cmath>

namespace {

const QString CatalogueType = QStringLiteral("BOGEN");
// The user's own sheets: "Kartenboegen\1", "Kartenboegen\2", ...
const QString CustomSection = QStringLiteral("Kartenboegen");
const QString KartentypKey = QStringLiteral("Kartentyp");

struct TDefaultText
{
    const char *Key;
    const char *Text;
};

constexpr TDefaultText SheetDefaults[] = {
    {"ID_BOGENEINTRAG", "%s: %d Karten %s × %s mm (%d × %d)"},
    {"ID_BOGENDETAILS", "Ränder: links %s mm, oben %s mm; von Karte zu Karte %s × %s mm"},
    {"ID_PAPIERLETTER", "US-Letter"},
    {"ID_PAPIEREIGEN", "%s × %s mm"},
    {"ID_BOGENKEINEKARTEN", "Der Bogen braucht mindestens eine Spalte und eine Zeile."},
    {"ID_BOGENPAPIER", "Das Papier muss zwischen %s und %s mm breit und hoch sein."},
    {"ID_BOGENKARTE", "Eine Karte muss mindestens %s mm breit und hoch sein."},
    {"ID_BOGENRAND", "Die Ränder dürfen nicht negativ sein."},
    {"ID_BOGENUEBERLAPPUNG",
     "Die Karten überlappen sich: von Karte zu Karte sind es %s × %s mm, eine Karte ist aber %s × %s mm groß."},
    {"ID_BOGENAUSSERHALB",
     "Die Karten reichen über das Papier hinaus: sie brauchen %s × %s mm, das Papier ist %s × %s mm groß."},
    {"ID_BOGENWERT", "Der Wert \"%s\" des Kartenbogens fehlt oder ist keine Zahl."},
};

QString SheetText(const char *key, const QVariantList &args = {})
{
    return FormatDefaultText(QLatin1String(key), args);
}

// Stored numbers: a point as decimal separator, as short as the value allows.
QString StoredNumber(float value)
{
    return QString::number(double(value), 'g', 7);
}

bool ReadLength(const TSheetValueReader &read, const QString &key, float &value)
{
    double number = 0;
    if (!TryStrToFloat(read(key), number, QChar('.')) || !std::isfinite(number) || std::fabs(number) > 1e6)
        return false;
    value = float(number);
    return true;
}

// Only decimal digits: the hexadecimal forms of the classic reader ("0x2",
// "$5") would turn a typing slip into a sheet of another shape.
bool ReadCount(const TSheetValueReader &read, const QString &key, int &value)
{
    bool ok = false;
    value = read(key).toInt(&ok, 10);
    return ok;
}

QString CustomEntrySection(int index)
{
    return CustomSection + QLatin1Char('\\') + QString::number(index + 1);
}

} // namespace

void RegisterSheetTexts()
{
    for (const TDefaultText &text : SheetDefaults)
        RegisterDefaultText(QString::fromUtf8(text.Key), QString::fromUtf8(text.Text));
}

QString LengthText(float mm)
{
    return NumberText(double(mm), 3);
}

void WriteSheet(const TBogenlayout &sheet, const TSheetValueWriter &write)
{
    write(QStringLiteral("Name"), sheet.Name);
    write(QStringLiteral("PapierBreite"), StoredNumber(sheet.SheetWidth));
    write(QStringLiteral("PapierHoehe"), StoredNumber(sheet.SheetHeight));
    write(QStringLiteral("KarteBreite"), StoredNumber(sheet.CardWidth));
    write(QStringLiteral("KarteHoehe"), StoredNumber(sheet.CardHeight));
    write(QStringLiteral("Spalten"), QString::number(sheet.Columns));
    write(QStringLiteral("Zeilen"), QString::number(sheet.Rows));
    write(QStringLiteral("RandLinks"), StoredNumber(sheet.MarginLeft));
    write(QStringLiteral("RandOben"), StoredNumber(sheet.MarginTop));
    write(QStringLiteral("AbstandX"), StoredNumber(sheet.PitchX()));
    write(QStringLiteral("AbstandY"), StoredNumber(sheet.PitchY()));
}

QString ReadSheet(const TSheetValueReader &read, TBogenlayout &sheet)
{
    RegisterSheetTexts();
    TBogenlayout result;
    result.Name = read(QStringLiteral("Name"));
    float pitchX = 0;
    float pitchY = 0;
    const std::pair<const char *, float *> lengths[] = {
        {"PapierBreite", &result.SheetWidth}, {"PapierHoehe", &result.SheetHeight},
        {"KarteBreite", &result.CardWidth},   {"KarteHoehe", &result.CardHeight},
        {"RandLinks", &result.MarginLeft},    {"RandOben", &result.MarginTop},
        {"AbstandX", &pitchX},                {"AbstandY", &pitchY}};
    for (const auto &[key, value] : lengths)
        if (!ReadLength(read, QLatin1String(key), *value))
            return SheetText("ID_BOGENWERT", {QLatin1String(key)});
    const std::pair<const char *, int *> counts[] = {{"Spalten", &result.Columns}, {"Zeilen", &result.Rows}};
    for (const auto &[key, value] : counts)
        if (!ReadCount(read, QLatin1String(key), *value))
            return SheetText("ID_BOGENWERT", {QLatin1String(key)});
    result.GapX = pitchX - result.CardWidth;
    result.GapY = pitchY - result.CardHeight;
    const QString problem = SheetProblemText(result);
    if (problem.isEmpty())
        sheet = result;
    return problem;
}

QString SheetProblemText(const TBogenlayout &sheet)
{
    RegisterSheetTexts();
    switch (CheckSheet(sheet)) {
    case TSheetProblem::None:
        return QString();
    case TSheetProblem::NoCards:
        return SheetText("ID_BOGENKEINEKARTEN");
    case TSheetProblem::PaperSize:
        return SheetText("ID_BOGENPAPIER", {LengthText(MinPaper), LengthText(MaxPaper)});
    case TSheetProblem::CardSize:
        return SheetText("ID_BOGENKARTE", {LengthText(MinCard)});
    case TSheetProblem::Margin:
        return SheetText("ID_BOGENRAND");
    case TSheetProblem::Overlap:
        return SheetText("ID_BOGENUEBERLAPPUNG", {LengthText(sheet.PitchX()), LengthText(sheet.PitchY()),
                                                  LengthText(sheet.CardWidth), LengthText(sheet.CardHeight)});
    case TSheetProblem::BeyondPaper: {
        const TSinglePoint extent = CardsExtent(sheet);
        return SheetText("ID_BOGENAUSSERHALB", {LengthText(extent.X), LengthText(extent.Y),
                                                LengthText(sheet.SheetWidth), LengthText(sheet.SheetHeight)});
    }
    }
    return QString();
}

QString PaperName(float width, float height)
{
    RegisterSheetTexts();
    if (width == 210 && height == 297)
        return QStringLiteral("A4");
    if (width == LetterWidth && height == LetterHeight)
        return SheetText("ID_PAPIERLETTER");
    return SheetText("ID_PAPIEREIGEN", {LengthText(width), LengthText(height)});
}

QString SheetDescription(const TBogenlayout &sheet)
{
    return SheetText("ID_BOGENEINTRAG", {PaperName(sheet.SheetWidth, sheet.SheetHeight), sheet.Cards(),
                                         LengthText(sheet.CardWidth), LengthText(sheet.CardHeight), sheet.Columns,
                                         sheet.Rows});
}

QString SheetDetails(const TBogenlayout &sheet)
{
    RegisterSheetTexts();
    return SheetText("ID_BOGENDETAILS", {LengthText(sheet.MarginLeft), LengthText(sheet.MarginTop),
                                         LengthText(sheet.PitchX()), LengthText(sheet.PitchY())});
}

TBogenkatalog::TBogenkatalog(THMRegIniFile &settings)
    : FSettings(settings)
{
    LoadBuiltIn();
    LoadCustom();
}

TBogenkatalog::TBogenkatalog()
    : TBogenkatalog(Settings())
{
}

void TBogenkatalog::LoadBuiltIn()
{
    TBogenEintrag standard;
    FSheets.append(standard);
    TBogenEintrag folding;
    folding.Bogen.SetFolding();
    folding.Kartentyp = 1;
    FSheets.append(folding);

    // Every further built-in sheet is one section of the catalogue, named
    // after its geometry; one that cannot be printed on is not offered.
    for (const QString &name : Resources::EnumNames(CatalogueType)) {
        const auto stream = Resources::Open(CatalogueType, name);
        if (!stream)
            continue;
        TMyMemIniFile ini;
        ini.LoadFromStream(*stream);
        QStringList sections;
        ini.ReadSections(sections);
        for (const QString &section : std::as_const(sections)) {
            TBogenEintrag entry;
            const QString problem = ReadSheet(
                [&](const QString &key) {
                    return key == QLatin1String("Name") ? section : ini.ReadString(section, key, QString());
                },
                entry.Bogen);
            entry.Kartentyp = ini.ReadInteger(section, KartentypKey, 0);
            if (problem.isEmpty())
                FSheets.append(entry);
        }
    }
}

void TBogenkatalog::LoadCustom()
{
    const THMRegIniFile &settings = FSettings;
    for (int i = 0;; ++i) {
        const QString section = CustomEntrySection(i);
        if (settings.ReadString(section, QStringLiteral("Name"), QString()).isEmpty())
            return;
        TBogenEintrag entry;
        entry.Eigener = true;
        entry.Kartentyp = settings.ReadInteger(section, KartentypKey, 0);
        const QString problem = ReadSheet(
            [&](const QString &key) { return settings.ReadString(section, key, QString()); }, entry.Bogen);
        if (problem.isEmpty())
            FSheets.append(entry);
    }
}

void TBogenkatalog::WriteCustom() const
{
    THMRegIniFile &settings = FSettings;
    settings.EraseSection(CustomSection);
    int index = 0;
    for (const TBogenEintrag &entry : FSheets) {
        if (!entry.Eigener)
            continue;
        const QString section = CustomEntrySection(index++);
        WriteSheet(entry.Bogen,
                   [&](const QString &key, const QString &value) { settings.WriteString(section, key, value); });
        settings.WriteInteger(section, KartentypKey, entry.Kartentyp);
    }
}

void TBogenkatalog::UpdateCustom(const std::function<void()> &change)
{
    FSettings.Update([&] {
        FSheets.removeIf([](const TBogenEintrag &entry) { return entry.Eigener; });
        LoadCustom();
        change();
        WriteCustom();
    });
}

int TBogenkatalog::IndexOf(const TBogenlayout &sheet, int kartentyp) const
{
    for (qsizetype i = 0; i < FSheets.size(); ++i) {
        const TBogenEintrag &entry = FSheets.at(i);
        if (entry.Kartentyp == kartentyp && entry.Bogen == sheet)
            return int(i);
    }
    return -1;
}

int TBogenkatalog::IndexOfCustom(const QString &name) const
{
    for (qsizetype i = 0; i < FSheets.size(); ++i)
        if (FSheets.at(i).Eigener && FSheets.at(i).Bogen.Name == name)
            return int(i);
    return -1;
}

int TBogenkatalog::SaveCustom(const TBogenEintrag &entry)
{
    TBogenEintrag custom = entry;
    custom.Eigener = true;
    UpdateCustom([&] {
        const int index = IndexOfCustom(custom.Bogen.Name);
        if (index >= 0)
            FSheets[index] = custom;
        else
            FSheets.append(custom);
    });
    return IndexOfCustom(custom.Bogen.Name);
}

void TBogenkatalog::RemoveCustom(const QString &name)
{
    UpdateCustom([&] {
        const int index = IndexOfCustom(name);
        if (index >= 0)
            FSheets.removeAt(index);
    });
}
