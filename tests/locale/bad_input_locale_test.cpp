#include "LocalizerTestSupport.h"

#include "common/FileSizeLimit.h"
#include "common/OtherInstance.h"
#include "common/ScriptedDialogs.h"
#include "common/TestFiles.h"
#include "locale/uHMRegistry.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

QByteArray Utf16(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

// Settings stores made fresh for each case, over the settings file itself
// as the user's machine may have left it.
class BadSettingsFile : public ::testing::Test
{
protected:
    BadSettingsFile()
    {
        Settings().Flush();
        FSaved = ReadAll(FPath);
        QDir().mkpath(QFileInfo(FPath).absolutePath());
    }
    ~BadSettingsFile() override
    {
        if (QFileInfo(FPath).isDir())
            QDir(FPath).removeRecursively();
        WriteAll(FPath, FSaved);
    }

    const QString FPath = QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ornak", "Tessaro").fileName();
    QByteArray FSaved;
};

// A file damaged beyond parsing could never be written back whole, so
// nothing would be stored again: it is put aside for the user, who is told
// once, and the settings start afresh.
TEST_F(BadSettingsFile, UnparsableFileIsSetAsideAndTheSettingsStartAfresh)
{
    const QByteArray damaged = "[Daten]\nFontname=Liberation Sans\n" + RandomBytes(4096, 7);
    ASSERT_TRUE(WriteAll(FPath, damaged));
    TScriptedDialogs dialogs;
    {
        THMRegIniFile settings;
        EXPECT_EQ(settings.ReadString("Daten", "Fontname", "?"), "?");
        settings.WriteInteger("Position", "Left", 120);
        settings.Flush();
        ReportSetAsideSettings(settings);
        ReportSetAsideSettings(settings);
    }
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Warning);
    EXPECT_EQ(dialogs.Messages[0].Text, QString::fromUtf8("Die Einstellungsdatei konnte nicht gelesen werden und "
                                                          "wurde als %1.broken beiseitegelegt. Die Einstellungen "
                                                          "beginnen von vorn.").arg(FPath));
    EXPECT_EQ(ReadAll(FPath + ".broken"), damaged);
    QFile::remove(FPath + ".broken");
    const THMRegIniFile again;
    EXPECT_EQ(again.ReadInteger("Position", "Left", -1), 120);
}

TEST_F(BadSettingsFile, FolderInPlaceOfTheFileGivesDefaultsAndKeepsValuesForTheSession)
{
    QFile::remove(FPath);
    ASSERT_TRUE(QDir().mkpath(FPath));
    THMRegIniFile settings;
    EXPECT_EQ(settings.ReadInteger("", "Sprache", 99), 99);
    settings.WriteInteger("", "Sprache", 3);
    EXPECT_NO_THROW(settings.Flush());
    EXPECT_EQ(settings.ReadInteger("", "Sprache", 99), 3);
    EXPECT_TRUE(QFileInfo(FPath).isDir());
}

// A write that cannot reach the file says why, once per attempt; when the
// way is clear again, every later write is kept, not only the first.
TEST_F(BadSettingsFile, FailedWriteSaysWhyAndLaterWritesAreKeptAgain)
{
    THMRegIniFile settings;
    int failures = 0;
    QObject::connect(&settings.Events(), &TSettingsEvents::WriteFailed, [&] { ++failures; });
    settings.WriteInteger("Position", "Left", 1);
    EXPECT_TRUE(settings.Flush());
    ASSERT_TRUE(QFile::remove(FPath) && QDir().mkpath(FPath));
    settings.WriteInteger("Position", "Left", 2);
    TFileError error;
    EXPECT_FALSE(settings.Flush(&error));
    EXPECT_EQ(error.Kind, TFileError::NotAFile);
    EXPECT_EQ(failures, 1);

    ASSERT_TRUE(QDir(FPath).removeRecursively());
    settings.WriteInteger("Position", "Top", 3);
    EXPECT_TRUE(settings.Flush());
    settings.WriteInteger("Position", "Width", 4);
    EXPECT_TRUE(settings.Flush());
    TOtherInstance other;
    EXPECT_EQ(other.Settings().ReadInteger("Position", "Left", -1), 2);
    EXPECT_EQ(other.Settings().ReadInteger("Position", "Width", -1), 4);
    EXPECT_EQ(failures, 1);
}

// A full disk while the settings are written, whether asked for or done by
// the store itself from the event loop, leaves the previous file as it was.
TEST_F(BadSettingsFile, FullDiskLeavesThePreviousFileIntact)
{
    ASSERT_TRUE(WriteAll(FPath, "[Daten]\nFontname=Liberation Sans\n[Druckposition]\nPDF=0.5\n"));
    const QByteArray before = ReadAll(FPath);
    THMRegIniFile settings;
    const QString longAddress(6000, QChar('x'));
    {
        const TFileSizeLimit fullDisk(before.size() + 512);
        settings.WriteString("Daten", "Adresse", longAddress);
        EXPECT_FALSE(settings.Flush());
        EXPECT_EQ(ReadAll(FPath), before);
        settings.WriteString("Daten", "Adresse", longAddress + 'y');
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        EXPECT_EQ(ReadAll(FPath), before);
    }
    // With room again, the next change is stored beside the old values.
    settings.WriteInteger("Position", "Left", 120);
    settings.Flush();
    const THMRegIniFile again;
    EXPECT_EQ(again.ReadString("Daten", "Fontname", "?"), "Liberation Sans");
    EXPECT_EQ(again.ReadInteger("Position", "Left", -1), 120);
}

// A language resource damaged on its way to the user: the program keeps
// working, and every text the resource does not give comes from the
// program's own German defaults.
class BrokenLanguage : public ::testing::Test
{
protected:
    BrokenLanguage()
    {
        RemoveProgramValue("Sprache");
        localizer.SetDefault("TTestForm", "BtnWeiter.Caption", "Weiter >>");
        localizer.SetDefault("TTestForm", "Test.Caption", "Testfenster");
    }
    void WriteResource(const QByteArray &bytes) { ASSERT_TRUE(WriteAll(languages.Path() + "/LANG/101", bytes)); }

    TTestLanguages languages;
    TLocalizer localizer{QStringList{"/opt/tessaro/tessaro"}};
    TLocalizerOverride installed{localizer};
};

TEST_F(BrokenLanguage, GarbageGivesTheGermanDefaults)
{
    WriteResource(RandomBytes(8192, 11));
    ASSERT_NO_THROW(localizer.SetLanguage(1));
    EXPECT_EQ(localizer.LanguageIndex(), 1);
    EXPECT_EQ(localizer.GetText("TTestForm", "BtnWeiter.Caption"), "Weiter >>");
    EXPECT_EQ(localizer.GetText("TTestForm", "Test.Caption"), "Testfenster");
}

TEST_F(BrokenLanguage, TruncatedResourceKeepsTheTextsBeforeTheCut)
{
    QByteArray bytes = Utf16("[TTestForm]\r\nTest.Caption=Test window\r\nBtnWeiter.Caption=Ne");
    bytes.chop(1); // an odd byte count: the last character is cut in half
    WriteResource(bytes);
    ASSERT_NO_THROW(localizer.SetLanguage(1));
    EXPECT_EQ(localizer.GetText("TTestForm", "Test.Caption"), "Test window");
    EXPECT_EQ(localizer.GetText("TTestForm", "BtnWeiter.Caption"), "N");
}

} // namespace
