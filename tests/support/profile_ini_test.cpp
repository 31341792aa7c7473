#include "support/uProfileIni.h"

#include "common/FileSizeLimit.h"

#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class ProfileIni : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("card.tsx");
};

TEST_F(ProfileIni, WritesCreateReplaceInPlaceAndAppend)
{
    {
        TProfileIniFile ini(path);
        ini.WriteString("Daten", "Name", "Heinz");
        ini.WriteString("Layout", "Name", "100");
        ini.WriteString("Daten", "Titel", "Dr.");
        ini.WriteString("DATEN", "name", "Erika");
    }
    EXPECT_EQ(ReadAll(path), "[Daten]\r\nname=Erika\r\nTitel=Dr.\r\n[Layout]\r\nName=100\r\n");

    // A file written by hand, with blank lines and comments between sections.
    ASSERT_TRUE(WriteAll(path, "; card\r\n[Daten]\r\nName = Heinz\r\n\r\n[Layout]\r\nName=100\r\n"));
    TProfileIniFile ini(path);
    ini.WriteString("Daten", "Beruf0", "Koch");
    EXPECT_EQ(ReadAll(path), "; card\r\n[Daten]\r\nName = Heinz\r\nBeruf0=Koch\r\n\r\n[Layout]\r\nName=100\r\n");
}

TEST_F(ProfileIni, ReadsTrimAndUnquoteWithCaseInsensitiveNames)
{
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\n  Name  =   Heinz Mustermann  \r\nQ=\"  quoted  \"\r\nS='x'\r\nHalf=\"open\r\n"
                   "Inner=a \"b\" c\r\nLong=" + QByteArray(5000, 'x') + "\r\n[ Linien ]\r\nAnzeigen=1\r\n"));
    TProfileIniFile ini(path);
    EXPECT_EQ(ini.ReadString("daten", "NAME", ""), "Heinz Mustermann");
    EXPECT_EQ(ini.ReadString("Daten", "Q", ""), "  quoted  ");
    EXPECT_EQ(ini.ReadString("Daten", "S", ""), "x");
    EXPECT_EQ(ini.ReadString("Daten", "Half", ""), "\"open");
    EXPECT_EQ(ini.ReadString("Daten", "Inner", ""), "a \"b\" c");
    EXPECT_EQ(ini.ReadString("Daten", "Long", ""), QString(2047, 'x')); // what the classic service gives back
    EXPECT_EQ(ini.ReadString("Daten", "Missing", "def"), "def");
    EXPECT_TRUE(ini.ReadBool("Linien", "Anzeigen", false));

    QStringList keys;
    ini.ReadSection("DATEN", keys);
    EXPECT_EQ(keys, (QStringList{"Name", "Q", "S", "Half", "Inner", "Long"}));
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"Daten", "Linien"}));
}

// A value from outside (a tampered settings file, a pasted text) must not
// start keys or sections of its own in the file.
TEST_F(ProfileIni, LineBreaksAreNeverWrittenRaw)
{
    {
        TProfileIniFile ini(path);
        ini.WriteString("Daten", "Logodatei", "a.png\r\n[Font]\r\nName=Evil");
        ini.WriteString("Daten\nX", "Na\rme", "Erika\u2028Musterfrau");
    }
    EXPECT_EQ(ReadAll(path), QString::fromUtf8("[Daten]\r\nLogodatei=a.png[Font]Name=Evil\r\n[DatenX]\r\nName=Erika"
                                               "Musterfrau\r\n").toUtf8());
    const TProfileIniFile ini(path);
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"Daten", "DatenX"}));
    EXPECT_EQ(ini.ReadString("Daten", "Logodatei", ""), "a.png[Font]Name=Evil");
    EXPECT_EQ(ini.ReadString("DatenX", "Name", ""), "ErikaMusterfrau");
}

TEST_F(ProfileIni, FilesLargerThanAnyCardAreRefusedUnread)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Daten]\r\nName=Sparse\r\n");
    ASSERT_TRUE(file.resize(600 * 1024 * 1024)); // sparse: no room on the disk needed
    file.close();
    EXPECT_THROW(TProfileIniFile{path}, EIniFileException);
    // Written again, the last line gets its CR LF.
    ASSERT_TRUE(file.resize(TProfileIniFile::MaxFileSize - 2));
    EXPECT_EQ(TProfileIniFile(path).ReadString("Daten", "Name", ""), "Sparse");
}

// What is written is read again and what is read can be written again: the
// limit counts a file as it is written, in UTF-8 with CR LF.
TEST_F(ProfileIni, TheLimitCountsTheFileAsItIsWritten)
{
    const auto tooLarge = [](const QString &file) {
        try {
            TProfileIniFile ini(file);
        } catch (const EIniFileException &error) {
            return error.Error().Kind == TFileError::TooLarge;
        }
        return false;
    };
    // 101 bytes a line with LF, 102 with CR LF.
    QString text = "[Daten]\n";
    for (int i = 0; i < 41500; ++i)
        text += QString::number(i).rightJustified(8, 'k') + '=' + QString(91, 'v') + '\n';
    ASSERT_LT(text.size(), TProfileIniFile::MaxFileSize);
    ASSERT_TRUE(WriteAll(path, text.toUtf8()));
    EXPECT_TRUE(tooLarge(path));

    // In UTF-16 a file of three megabytes takes six.
    const QString half = text.left(3 * 1024 * 1024).replace('\n', "\r\n");
    ASSERT_TRUE(WriteAll(path, Utf16WithMark(half, QStringConverter::Utf16LE)));
    EXPECT_FALSE(tooLarge(path));

    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=Heinz\r\n"));
    TProfileIniFile ini(path);
    ini.BeginUpdate();
    for (int i = 0; i < 41500; ++i)
        ini.WriteString("Daten", QString::number(i).rightJustified(8, 'k'), QString(91, 'v'));
    try {
        ini.EndUpdate();
        ADD_FAILURE() << "a file that could not be read again was written";
    } catch (const EIniFileException &error) {
        EXPECT_EQ(error.Error().Kind, TFileError::TooLarge);
    }
    EXPECT_EQ(ReadAll(path), "[Daten]\r\nName=Heinz\r\n");
}

TEST_F(ProfileIni, Windows1252FileReadsUmlautsInNamesAndValues)
{
    ASSERT_TRUE(WriteAll(path, "[R\xFC" "ckseite]\r\nText0=Gr\xFC\xDF" "e aus K\xF6ln\r\n"));
    TProfileIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QString::fromUtf8("Rückseite"), "Text0", ""), QString::fromUtf8("Grüße aus Köln"));
    EXPECT_EQ(ini.ReadString(QString::fromUtf8("RÜCKSEITE"), "text0", ""), QString::fromUtf8("Grüße aus Köln"));
}

TEST_F(ProfileIni, BatchedWritesGoToDiskOnce)
{
    TProfileIniFile ini(path);
    ini.BeginUpdate();
    ini.WriteString("Daten", "Name", "Heinz");
    EXPECT_FALSE(QFile::exists(path));
    ini.EndUpdate();
    EXPECT_EQ(ReadAll(path), "[Daten]\r\nName=Heinz\r\n");
}

TEST_F(ProfileIni, RefusedWriteThrowsAndKeepsThePreviousFile)
{
    ASSERT_TRUE(WriteAll(path, "[Daten]\r\nName=Heinz\r\n"));
    const QByteArray before = ReadAll(path);
    {
        TProfileIniFile ini(path);
        TFileSizeLimit full(64);
        EXPECT_THROW(ini.WriteString("Daten", "Adresse0", QString(4000, 'a')), EIniFileException);
    }
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"card.tsx"}); // no temporary left

    TProfileIniFile nowhere(dir.filePath("missing/folder/card.tsx"));
    EXPECT_THROW(nowhere.WriteString("Daten", "Name", "x"), EIniFileException);
}

} // namespace
