#include "locale/Unicode.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace {

QByteArray Utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

QStringList Load(const QByteArray &bytes, bool *unicode = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TWideStringList list;
    list.LoadFromStream(buffer);
    if (unicode)
        *unicode = list.Unicode();
    return list.Lines();
}

const QString Sample = QStringLiteral("[Karte]\r\nName=Grüße\r\n");
const QStringList SampleLines = {QStringLiteral("[Karte]"), QStringLiteral("Name=Grüße")};

TEST(WideStringList, ByteOrderMarksAndEightBitTextGiveTheSameLines)
{
    bool unicode = false;
    EXPECT_EQ(Load(Utf16(Sample, false), &unicode), SampleLines);
    EXPECT_TRUE(unicode);
    EXPECT_EQ(Load(Utf16(Sample, true), &unicode), SampleLines);
    EXPECT_TRUE(unicode);
    EXPECT_EQ(Load(Sample.toUtf8(), &unicode), SampleLines);
    EXPECT_FALSE(unicode);
    // Not valid UTF-8: the bytes are Windows-1252.
    EXPECT_EQ(Load(QByteArray("[Karte]\r\nName=Gr\xFC\xDF" "e\r\n"), &unicode), SampleLines);
}

TEST(WideStringList, LineTerminators)
{
    TWideStringList list;
    list.SetText(QStringLiteral("a\r\r\nb"));
    EXPECT_EQ(list.Lines(), (QStringList{"a", "", "b"}));

    list.SetText(QString::fromUtf16(u"1\v2\f3\u20284\u20295\n"));
    EXPECT_EQ(list.Lines(), (QStringList{"1", "2", "3", "4", "5"}));

    // Scanning stops at the first NUL; the trailing break adds no empty line.
    list.SetText(QString::fromUtf16(u"x\n\ny", 4) + QChar(0) + QStringLiteral("ignored"));
    EXPECT_EQ(list.Lines(), (QStringList{"x", "", "y"}));
    EXPECT_EQ(list.Get(2), "y");
    EXPECT_THROW(list.Get(3), std::out_of_range);
}

TEST(WideStringList, OddByteAndShortStreams)
{
    EXPECT_EQ(Load(Utf16("ab", false) + 'x'), QStringList{"ab"});
    EXPECT_EQ(Load(QByteArray("z")), QStringList{"z"});
    EXPECT_TRUE(Load(QByteArray()).isEmpty());
}

TEST(AnsiText, Windows1252Fallback)
{
    EXPECT_EQ(DecodeAnsiText("R\xFC" "ckseite \x80"), QString::fromUtf8("Rückseite €"));
    EXPECT_EQ(DecodeAnsiText("R\xC3\xBC" "ckseite"), QString::fromUtf8("Rückseite"));
}

} // namespace
