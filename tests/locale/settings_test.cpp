#include "common/ScriptedDialogs.h"
#include "locale/uHMRegistry.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>

#include <memory>

namespace {

// The program's settings as stored, read past THMRegIniFile.
QSettings StoredSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ornak", "Tessaro");
}

class SettingsTest : public ::testing::Test
{
protected:
    SettingsTest() { QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ornak", "Tessaro").clear(); }
    ~SettingsTest() override { QLocale::setDefault(previous); }

    void UseLocale(const QLocale &locale) { QLocale::setDefault(locale); }

    QLocale previous;
    THMRegIniFile &settings = Settings();
};

} // namespace

TEST_F(SettingsTest, EveryValueIsStoredAsText)
{
    UseLocale(QLocale(QLocale::German, QLocale::Germany));
    settings.WriteInteger("", "Sprache", -12);
    settings.WriteBool("Assistent", "DontShowAgain", true);
    settings.WriteBool("Daten\\Default", "LinienAnzeigen", false);
    settings.WriteFloat("Druckposition\\PDF", "FOffsetX", 1.5);
    settings.WriteFloat("Druckposition\\PDF", "FOffsetY", 0.1 + 0.2);
    settings.WriteString("Daten\\Default", "Adresse", "Alleestr. 95\r\n98765 Musterdorf\r\n");

    QSettings stored = StoredSettings();
    EXPECT_EQ(stored.value("Sprache"), QVariant(QString("-12")));
    EXPECT_EQ(stored.value("Assistent/DontShowAgain"), QVariant(QString("1")));
    EXPECT_EQ(stored.value("Daten/Default/LinienAnzeigen"), QVariant(QString("0")));
    EXPECT_EQ(stored.value("Druckposition/PDF/FOffsetX"), QVariant(QString("1,5")));
    EXPECT_EQ(stored.value("Druckposition/PDF/FOffsetY"), QVariant(QString("0,3")));
    EXPECT_EQ(settings.ReadString("Daten\\Default", "Adresse", ""), "Alleestr. 95\r\n98765 Musterdorf\r\n");
    EXPECT_EQ(settings.GetKeyPath(""), "Software\\Ornak\\Tessaro");
    EXPECT_EQ(settings.GetKeyPath("Daten\\Default"), "Software\\Ornak\\Tessaro\\Daten\\Default");
}

TEST_F(SettingsTest, MalformedNumbersReadAsTheDefault)
{
    settings.WriteString("", "Sprache", "abc");
    EXPECT_EQ(settings.ReadInteger("", "Sprache", -99), -99);
    settings.WriteString("", "Sprache", " 7 ");
    EXPECT_EQ(settings.ReadInteger("", "Sprache", -99), 7);
    settings.WriteString("Assistent", "DontShowAgain", "2");
    EXPECT_TRUE(settings.ReadBool("Assistent", "DontShowAgain", false));
    settings.WriteString("Assistent", "DontShowAgain", "ja");
    EXPECT_FALSE(settings.ReadBool("Assistent", "DontShowAgain", false));
    settings.WriteString("Druckposition\\X", "FOffsetX", "1,5 mm");
    EXPECT_EQ(settings.ReadFloat("Druckposition\\X", "FOffsetX", -3.0), -3.0);
}

TEST_F(SettingsTest, ReadsNeverCreateValues)
{
    EXPECT_EQ(settings.ReadString("Position", "Left", "leer"), "leer");
    EXPECT_EQ(settings.ReadInteger("Position", "Left", -3599), -3599);
    EXPECT_TRUE(settings.ReadBool("Daten\\Default", "LinienAnzeigen", true));
    EXPECT_EQ(settings.ReadFloat("Druckposition\\PDF", "FOffsetX", 0.5), 0.5);
    EXPECT_TRUE(StoredSettings().allKeys().isEmpty());
}

TEST_F(SettingsTest, NestedSectionsAreSeparateKeys)
{
    settings.WriteString("Daten", "Titel", "oben");
    settings.WriteString("Daten\\Default", "Titel", "unten");
    EXPECT_EQ(settings.ReadString("Daten", "Titel", ""), "oben");
    EXPECT_EQ(settings.ReadString("Daten\\Default", "Titel", ""), "unten");
    EXPECT_EQ(settings.ReadString("", "Titel", "keiner"), "keiner");
}

TEST_F(SettingsTest, OffsetsSurviveAChangeOfDecimalSeparator)
{
    UseLocale(QLocale(QLocale::German, QLocale::Germany));
    settings.WriteFloat("Druckposition\\Laser", "FOffsetX", -2.5);
    UseLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(settings.ReadFloat("Druckposition\\Laser", "FOffsetX", 0), -2.5);
    settings.WriteFloat("Druckposition\\Laser", "FOffsetY", 19.5);
    EXPECT_EQ(StoredSettings().value("Druckposition/Laser/FOffsetY"), QVariant(QString("19.5")));
    UseLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(settings.ReadFloat("Druckposition\\Laser", "FOffsetY", 0), 19.5);
}

TEST_F(SettingsTest, InstallDirNamesTheProgramFolder)
{
    WriteInstallDir();
    const QString dir = settings.ReadString("", "InstallDir", "");
    EXPECT_TRUE(dir.startsWith(QCoreApplication::applicationDirPath()));
    EXPECT_TRUE(dir.endsWith('/'));
}

TEST_F(SettingsTest, AnInstanceStartedWhileAnotherRunsIsWarnedOnce)
{
    TScriptedDialogs dialogs;
    auto first = std::make_unique<TInstanceLock>();
    EXPECT_FALSE(first->OtherInstanceRunning());
    ReportOtherInstance(*first);
    EXPECT_TRUE(dialogs.Messages.empty());
    {
        const TInstanceLock second;
        EXPECT_TRUE(second.OtherInstanceRunning());
        ReportOtherInstance(second);
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Warning);
        EXPECT_TRUE(dialogs.Messages[0].Text.startsWith(QString::fromUtf8("Tessaro ist schon geöffnet.")));
    }
    first.reset();
    EXPECT_FALSE(TInstanceLock().OtherInstanceRunning());
}
