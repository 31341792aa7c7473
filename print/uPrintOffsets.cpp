#include "print/uPrintOffsets.h"

#include "print/uPrintTexts.h"
#include "render/uScaler.h"

#include <cmath>

namespace {

const QString OffsetX = QStringLiteral("FOffsetX");
const QString OffsetY = QStringLiteral("FOffsetY");
// Values older versions do not know and so leave alone.
const QString BackOffsetX = QStringLiteral("FOffsetXRueckseite");
const QString BackOffsetY = QStringLiteral("FOffsetYRueckseite");

float Clamped(float value)
{
    // A hand-edited "nan" must not survive into the drawing.
    if (std::isnan(value))
        return 0;
    return EnsureRangeSingle(value, -TPrintOffsets::Limit, TPrintOffsets::Limit);
}

void WriteOffsets(THMRegIniFile &settings, const QString &deviceKeyName, const TPrintOffsets &offsets,
                  TPrintSide side)
{
    const QString section = PrintOffsetSection(deviceKeyName);
    const bool back = side == TPrintSide::Back;
    settings.WriteFloat(section, back ? BackOffsetX : OffsetX, offsets.X);
    settings.WriteFloat(section, back ? BackOffsetY : OffsetY, offsets.Y);
}

// No shift, a shift towards the negative side (shown as its amount) or the positive one.
QString OffsetText(float value, const char *zeroKey, const char *negativeKey, const char *positiveKey)
{
    if (value == 0)
        return PrintText(QString::fromLatin1(zeroKey));
    if (value < 0)
        return FormatPrintText(QString::fromLatin1(negativeKey), {double(-value)});
    return FormatPrintText(QString::fromLatin1(positiveKey), {double(value)});
}

} // namespace

TPrintOffsets MovePrintOffsets(const TPrintOffsets &offsets, TOffsetMove move)
{
    TPrintOffsets moved = offsets;
    switch (move) {
    case TOffsetMove::Up:
        moved.Y -= TPrintOffsets::Step;
        break;
    case TOffsetMove::Down:
        moved.Y += TPrintOffsets::Step;
        break;
    case TOffsetMove::Left:
        moved.X -= TPrintOffsets::Step;
        break;
    case TOffsetMove::Right:
        moved.X += TPrintOffsets::Step;
        break;
    case TOffsetMove::Center:
        return {};
    }
    moved.X = Clamped(moved.X);
    moved.Y = Clamped(moved.Y);
    return moved;
}

TPrintOffsets TypedPrintOffsets(double x, double y)
{
    const auto typed = [](double value) {
        return Clamped(float(std::round(value / TPrintOffsets::Step)) * TPrintOffsets::Step);
    };
    return {typed(x), typed(y)};
}

QString PrintOffsetSection(const QString &deviceKeyName)
{
    return QStringLiteral("Druckposition\\") + deviceKeyName;
}

TPrintCorrection LoadPrintCorrection(const QString &deviceKeyName, const THMRegIniFile &settings)
{
    const QString section = PrintOffsetSection(deviceKeyName);
    const auto read = [&](const QString &name, float missing) {
        return Clamped(static_cast<float>(settings.ReadFloat(section, name, missing)));
    };
    const TPrintOffsets front{read(OffsetX, 0), read(OffsetY, 0)};
    return {front, {read(BackOffsetX, front.X), read(BackOffsetY, front.Y)}};
}

void SavePrintOffsets(const QString &deviceKeyName, const TPrintOffsets &offsets, TPrintSide side,
                      THMRegIniFile &settings)
{
    settings.Update([&] { WriteOffsets(settings, deviceKeyName, offsets, side); });
}

void MoveStoredPrintOffsets(const QString &deviceKeyName, TOffsetMove move, TPrintSide side, THMRegIniFile &settings)
{
    settings.Update([&] {
        const TPrintOffsets stored = LoadPrintCorrection(deviceKeyName, settings).Of(side);
        WriteOffsets(settings, deviceKeyName, MovePrintOffsets(stored, move), side);
    });
}

TPrintOffsetTexts ShowPrintOffsets(const TPrintOffsets &offsets)
{
    return {OffsetText(offsets.X, "ID_DRUCKPOS1", "ID_DRUCKPOS2", "ID_DRUCKPOS3"),
            OffsetText(offsets.Y, "ID_DRUCKPOS4", "ID_DRUCKPOS5", "ID_DRUCKPOS6")};
}
