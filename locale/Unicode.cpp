#include "locale/Unicode.h"

#include <QStringDecoder>

#include <stdexcept>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsLineBreak(char16_t c)
{
    return c == 10 || c == 11 || c == 12 || c == 13 || c == 0x2028 || c == 0x2029;
}

} // namespace

QString DecodeCp1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

QString DecodeAnsiText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeCp1252(bytes);
}

QStringList SplitTextLines(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == 0)
            break;
        if (!IsLineBreak(c))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == 13 && i + 1 < n && text.at(i + 1).unicode() == 10)
            ++i;
        start = i + 1;
    }
    if (i > start)
        lines.append(text.mid(start, i - start));
    return lines;
}

void TWideStrings::LoadFromStream(QIODevice &stream)
{
    QByteArray bytes = stream.readAll();
    const auto b0 = bytes.size() >= 2 ? static_cast<unsigned char>(bytes[0]) : 0;
    const auto b1 = bytes.size() >= 2 ? static_cast<unsigned char>(bytes[1]) : 0;
    const bool little = b0 == 0xFF && b1 == 0xFE;
    const bool big = b0 == 0xFE && b1 == 0xFF;
    FUnicode = little || big;
    if (FUnicode) {
        const qsizetype units = (bytes.size() - 2) / 2;
        QString text(units, Qt::Uninitialized);
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData()) + 2;
        bool swapping = big;
        for (qsizetype i = 0; i < units; ++i, p += 2) {
            char16_t c = char16_t(p[0] | (p[1] << 8));
            // The byte swap of a big-endian text stops at its first zero character.
            if (swapping) {
                c = char16_t((c >> 8) | (c << 8));
                if (c == 0)
                    swapping = false;
            }
            text[i] = QChar(c);
        }
        SetText(text);
    } else {
        SetText(DecodeAnsiText(bytes));
    }
    ++FUpdates;
}

QString TWideStringList::Get(int index) const
{
    if (index < 0 || index >= FLines.size())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return FLines.at(index);
}

void TWideStringList::SetText(const QString &text)
{
    FLines = SplitTextLines(text);
}
