#include "render/uTextMetrics.h"

namespace {

bool &CacheSwitch()
{
    static bool enabled = true;
    return enabled;
}

char32_t CodePoint(QStringView character)
{
    if (CharacterLength(character, 0) == 2)
        return QChar::surrogateToUcs4(character[0], character[1]);
    return character[0].unicode();
}

} // namespace

qsizetype CharacterLength(QStringView text, qsizetype i)
{
    if (i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

qsizetype CharacterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); i += CharacterLength(text, i))
        ++count;
    return count;
}

QFont TMeasuringFont::MeasuringFont(const QFont &logical)
{
    QFont font = logical;
    font.setPixelSize(qRound(logical.pointSizeF() * Resolution / 72));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

TMeasuringFont::TMeasuringFont(const QFont &logical, bool memoise)
    : FMetrics(MeasuringFont(logical))
    , FLineHeight(qRound(FMetrics.height() + FMetrics.leading()))
    , FUnderline(logical.underline())
    , FMemoise(memoise)
{
}

std::shared_ptr<const TMeasuringFont> TMeasuringFont::For(const QFont &logical)
{
    if (!CacheSwitch())
        return std::make_shared<TMeasuringFont>(logical, false);
    static QHash<QString, std::shared_ptr<const TMeasuringFont>> cache;
    // The key of the measuring font itself: equal keys measure equally.
    const QString key = MeasuringFont(logical).key();
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<TMeasuringFont>(logical, true));
    return it.value();
}

void TMeasuringFont::SetCacheEnabled(bool enabled)
{
    CacheSwitch() = enabled;
}

bool TMeasuringFont::CacheEnabled()
{
    return CacheSwitch();
}

TCharWidths TMeasuringFont::CharWidths(QStringView character) const
{
    if (character.isEmpty())
        return {};
    if (!FMemoise)
        return Measure(character);
    const char32_t code = CodePoint(character);
    auto it = FChars.constFind(code);
    if (it == FChars.constEnd())
        it = FChars.insert(code, Measure(character));
    return it.value();
}

TCharWidths TMeasuringFont::Measure(QStringView character) const
{
    TCharWidths widths;
    QRectF ink;
    if (CharacterLength(character, 0) == 1) {
        const QChar c = character[0];
        widths.A = qRound(FMetrics.leftBearing(c));
        widths.Advance = qRound(FMetrics.horizontalAdvance(c));
        widths.C = qRound(FMetrics.rightBearing(c));
        ink = FMetrics.boundingRect(c);
    } else {
        // Bearings are only available per UTF-16 unit: characters beyond
        // them get their plain width.
        const QString pair = character.first(2).toString();
        widths.Advance = qRound(FMetrics.horizontalAdvance(pair));
        ink = FMetrics.boundingRect(pair);
    }
    // An underline is ink under blanks too.
    if (FUnderline)
        ink |= QRectF(0, FMetrics.underlinePos(), 1, FMetrics.lineWidth());
    if (!ink.isEmpty()) {
        widths.InkTop = qRound(FMetrics.ascent() + ink.top());
        widths.InkBottom = qRound(FMetrics.ascent() + ink.bottom());
    }
    return widths;
}

int TMeasuringFont::TextWidth(QStringView text) const
{
    int width = 0;
    for (qsizetype i = 0; i < text.size(); i += CharacterLength(text, i))
        width += CharWidths(text.sliced(i)).Advance;
    return width;
}
