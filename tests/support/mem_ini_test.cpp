#include "support/uMemIni.h"

#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

namespace {

struct FromLines : TMyMemIniFile
{
    explicit FromLines(const QStringList &lines) { SetStrings(lines); }
};

TEST(MemIni, ParsingKeepsLinesVerbatim)
{
    FromLines ini({"x=before any header", " [Karte]", "[Karte]", "Name = x", "k==v", "k=", "noequals",
                          "; comment", "", "[A]x", "[]", "e=1"});
    EXPECT_EQ(ini.ReadString("Karte", "Name", "def"), "def"); // the key is "Name "
    EXPECT_EQ(ini.ReadString("Karte", "Name ", "def"), " x");
    EXPECT_EQ(ini.ReadString("Karte", "k", "def"), "=v");
    EXPECT_EQ(ini.ReadString("", "e", "def"), "1");

    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"Karte", ""}));

    QStringList values;
    ini.ReadSectionValues("karte", values);
    EXPECT_EQ(values, (QStringList{"Name = x", "k==v", "k=", "noequals", "[A]x"}));
    QStringList keys;
    ini.ReadSection("KARTE", keys);
    EXPECT_EQ(keys, (QStringList{"Name ", "k", "k", "", ""}));

    // A line starting with a blank before the first header is dropped.
    FromLines leading({" [Karte]", "a=1"});
    ini.ReadSections(sections);
    leading.ReadSections(sections);
    EXPECT_TRUE(sections.isEmpty());
}

TEST(MemIni, RepeatedHeadersMergeAndFirstMatchWins)
{
    FromLines ini({"[A]", "k=1", "[B]", "b=2", "[a]", "k=2", "m=3"});
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"A", "B"}));
    EXPECT_EQ(ini.ReadString("A", "K", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "m", ""), "3");

    ini.WriteString("A", "K", "9");
    QStringList values;
    ini.ReadSectionValues("A", values);
    EXPECT_EQ(values, (QStringList{"K=9", "k=2", "m=3"}));

    ini.DeleteKey("A", "k");
    EXPECT_EQ(ini.ReadString("A", "k", ""), "2");
    ini.WriteString("C", "new", "x");
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"A", "B", "C"}));
    ini.EraseSection("b");
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"A", "C"}));
}

TEST(MemIni, CaseInsensitiveNamesIncludeUmlauts)
{
    FromLines ini({QString::fromUtf8("[RÜCKSEITE]"), QString::fromUtf8("Größe=1")});
    EXPECT_EQ(ini.ReadString(QString::fromUtf8("Rückseite"), QString::fromUtf8("GRÖSSE"), "no"), "no");
    EXPECT_EQ(ini.ReadString(QString::fromUtf8("Rückseite"), QString::fromUtf8("GRÖßE"), "no"), "1");
}

TEST(MemIni, TypedReaders)
{
    FromLines ini({"[S]", "hex=0x1F", "dollar=$10", "neg=-12", "bad=12a", "empty=", "f=14,5", "p=14.5",
                          "big=99999999999", "b=2", "z=0"});
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("S", "bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "big", 7), 7);
    EXPECT_TRUE(ini.ReadBool("S", "b", false));
    EXPECT_FALSE(ini.ReadBool("S", "z", true));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "empty", 2.5), 2.5);
    {
        TDecimalSeparatorScope comma(',');
        EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", 0), 14.5);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "p", 1), 1); // a point falls back to the default
    }
    {
        TDecimalSeparatorScope point('.');
        EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "p", 0), 14.5);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", 1), 1);
    }
}

TEST(MemIni, DecimalSeparatorIsRestoredAfterAnException)
{
    const QChar before = CurrentDecimalSeparator();
    try {
        TDecimalSeparatorScope comma(before == ',' ? '.' : ',');
        EXPECT_NE(CurrentDecimalSeparator(), before);
        throw std::runtime_error("template broken");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(CurrentDecimalSeparator(), before);
}

TEST(MemIni, BigEndianTwinAndEightBitStreams)
{
    const QString text = QStringLiteral("[A]\r\nk=v\r\n");
    for (const QByteArray &bytes : {Utf16WithMark(text, QStringConverter::Utf16LE),
                                    Utf16WithMark(text, QStringConverter::Utf16BE), text.toLatin1()}) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        TMyMemIniFile ini;
        ini.LoadFromStream(buffer);
        EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
    }
}

TEST(MemIni, RenderingAndMerging)
{
    FromLines ini({"[A]", "a=1", "[B]", "b=2"});
    QStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(lines, (QStringList{"[A]", "a=1", "", "[B]", "b=2", ""}));

    QBuffer merge;
    merge.setData("[A]\r\na=new\nc=3\r[D]\r\nd=4");
    merge.open(QIODevice::ReadOnly);
    ini.MergeFromStream(merge);
    EXPECT_EQ(ini.ReadString("A", "a", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "c", ""), "3");
    EXPECT_EQ(ini.ReadString("D", "d", ""), "4");
    QStringList values;
    ini.ReadSectionValues("A", values);
    EXPECT_EQ(values, (QStringList{"a=1", "a=new", "c=3"}));

    QTemporaryDir dir;
    const QString path = dir.filePath("out.ini");
    ini.SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("[A]\r\na=1\r\na=new\r\nc=3\r\n\r\n[B]"));

    TMyMemIniFile loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.ReadString("D", "d", ""), "4");
    loaded.LoadFromFile(dir.filePath("missing.ini"));
    QStringList sections;
    loaded.ReadSections(sections);
    EXPECT_TRUE(sections.isEmpty());

    EXPECT_THROW(ini.SaveToFile(dir.filePath("no/such/folder/x.ini")), EIniFileException);
}

} // namespace
