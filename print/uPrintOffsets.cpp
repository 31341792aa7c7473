#include "print/uPrintOffsets.h"

#include "locale/uHMRegistry.h"
#include "print/uPrintTexts.h"
#include "render/uScaler.h"

#include <cmath>

namespace {

const QString OffsetX = QStringLiteral("FOffsetX");
const QString OffsetY = QStringLiteral("FOffsetY");

float Clamped(float value)
{
    // A hand-edited "nan" must not survive into the drawing.
    if (std::isnan(value))
        return 0;
    return EnsureRangeSingle(value, -TPrintOffsets::Limit, TPrintOffsets::Limit);
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

QString PrintOffsetSection(const QString &deviceKeyName)
{
    return QStringLiteral("Druckposition\\") + deviceKeyName;
}

TPrintOffsets LoadPrintOffsets(const QString &deviceKeyName)
{
    const QString section = PrintOffsetSection(deviceKeyName);
    return {Clamped(static_cast<float>(Settings().ReadFloat(section, OffsetX, 0))),
            Clamped(static_cast<float>(Settings().ReadFloat(section, OffsetY, 0)))};
}

void SavePrintOffsets(const QString &deviceKeyName, const TPrintOffsets &offsets)
{
    const QString section = PrintOffsetSection(deviceKeyName);
    Settings().WriteFloat(section, OffsetX, offsets.X);
    Settings().WriteFloat(section, OffsetY, offsets.Y);
}

TPrintOffsetTexts ShowPrintOffsets(const TPrintOffsets &offsets)
{
    return {OffsetText(offsets.X, "ID_DRUCKPOS1", "ID_DRUCKPOS2", "ID_DRUCKPOS3"),
            OffsetText(offsets.Y, "ID_DRUCKPOS4", "ID_DRUCKPOS5", "ID_DRUCKPOS6")};
}
