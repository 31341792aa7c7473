#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>

#include <memory>

// A, B and C widths of one character in measuring units: A is the space
// before the ink, C the space after it, A + B + C the advance.
struct TCharWidths
{
    int A = 0;
    int Advance = 0;
    int C = 0;
    // Top and bottom of the ink below the top of the character cell; a
    // blank has none (InkTop > InkBottom).
    int InkTop = 0;
    int InkBottom = -1;
};

// The logical font at a fixed 1440 units per inch, unhinted and without
// kerning, so that every width depends only on font, size and text.
class TMeasuringFont
{
public:
    static constexpr int Resolution = 1440;

    // With memoise, each character is measured once and then remembered.
    TMeasuringFont(const QFont &logical, bool memoise);

    // The measuring font for a logical font: shared per family, size and
    // style while the cache is on, a fresh one otherwise.
    static std::shared_ptr<const TMeasuringFont> For(const QFont &logical);
    static void SetCacheEnabled(bool enabled);
    static bool CacheEnabled();

    // Character height plus external leading.
    int LineHeight() const { return FLineHeight; }
    // Widths of the one character (code point) that starts text.
    TCharWidths CharWidths(QStringView character) const;
    // Sum of the characters' advances.
    int TextWidth(QStringView text) const;

private:
    static QFont MeasuringFont(const QFont &logical);
    TCharWidths Measure(QStringView character) const;

    QFontMetricsF FMetrics;
    int FLineHeight;
    bool FUnderline;
    bool FMemoise;
    mutable QHash<char32_t, TCharWidths> FChars;
};

// Length in UTF-16 units of the character at text[i]: a surrogate pair is one
// character.
qsizetype CharacterLength(QStringView text, qsizetype i);
qsizetype CharacterCount(QStringView text);
