#include "LocalizerTestSupport.h"

#include "common/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

namespace {

QString ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(ResourceWriting, CollectsDesignTextsAndDefaultsKeepingTheFile)
{
    TTestLanguages languages;
    languages.Write(1, "[TTestForm]\nBtnWeiter.Caption=Next >>\n\n");
    const QString program = languages.Path() + "/TessaroOrnak";
    const QString output = languages.Path() + "/TessaroOrnak.txt";
    {
        QFile existing(output);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("[TTestForm]\r\nAlterEintrag=bleibt\r\nBtnWeiter.Caption=alt\r\n\r\n[Eigene]\r\nX=1\r\n");
    }
    TScriptedDialogs dialogs;
    {
        auto localizer = std::make_unique<TLocalizer>(QStringList{program, "/rEsWrItE"});
        TLocalizerOverride installed(*localizer);
        ASSERT_TRUE(localizer->ResWriteMode());
        EXPECT_EQ(localizer->ResourceFileName(), output);

        TTestForm form;
        EXPECT_EQ(form.TextsChangedCount, 1);
        form.SetDefaultText("BtnWeiter.Caption", "Vorgabe");
        RegisterSectionDefault("TTestForm", "ID_ZEILEN", "eins\r\nzwei");

        localizer->SetLanguage(1);
        EXPECT_EQ(form.BtnWeiter->text(), "Weiter >>");
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        EXPECT_EQ(dialogs.Messages[0].Text,
                  "Sprachumschaltung nicht möglich, da Resourcenschreibmodus aktiviert ist");
        localizer.reset();
    }
    EXPECT_EQ(dialogs.Messages.size(), 1u);

    TMyMemIniFile written;
    written.LoadFromFile(output);
    // The collected design text wins over the default of the same key.
    EXPECT_EQ(written.ReadString("TTestForm", "BtnWeiter.Caption", ""), "Weiter >>");
    EXPECT_EQ(written.ReadString("TTestForm", "BtnWeiter.Hint", ""), "Zur nächsten Seite");
    EXPECT_EQ(written.ReadString("TTestForm", "Test.Caption", ""), "Testfenster");
    EXPECT_EQ(written.ReadString("TTestForm", "cbListe.Items1", ""), "zwei");
    EXPECT_EQ(written.ReadString("TTestForm", "ID_KARTEN", ""), "Bitte legen Sie %d Bogen ein");
    EXPECT_EQ(written.ReadString("TTestForm", "ID_ZEILEN", ""), "eins#13#10zwei");
    EXPECT_EQ(written.ReadString("TTestForm", "AlterEintrag", ""), "bleibt");
    EXPECT_EQ(written.ReadString("Eigene", "X", ""), "1");
    EXPECT_FALSE(written.ValueExists("TTestForm", "Ohne Namen"));
    QStringList keyNames;
    written.ReadSection("Default", keyNames);
    EXPECT_EQ(keyNames.size(), 18);
    EXPECT_EQ(written.ReadString("Localizer", "NoLanguageFile", ""), "Die Sprache wird nicht unterstützt");
    EXPECT_TRUE(ReadFile(output).contains("\r\n"));
}

TEST(ResourceWriting, UnwritableFileIsReportedNotThrown)
{
    TTestLanguages languages;
    TScriptedDialogs dialogs;
    const QString program = languages.Path() + "/fehlt/TessaroOrnak";
    EXPECT_NO_THROW({
        TLocalizer localizer(QStringList{program, "/RESWRITE"});
        RegisterSectionDefault("Default", "X", "y");
    });
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_TRUE(dialogs.Messages[0].Text.contains("TessaroOrnak.txt"));
    EXPECT_TRUE(dialogs.Messages[0].Text.endsWith("\nDie Datei kann dort nicht angelegt werden."))
        << dialogs.Messages[0].Text.toStdString();
}

// The file has a fixed name beside the program; a link someone planted
// there is replaced, and the file it points to neither read nor written.
TEST(ResourceWriting, PlantedLinkIsReplacedNotFollowed)
{
    TTestLanguages languages;
    const QString output = languages.Path() + "/TessaroOrnak.txt";
    const QString target = languages.Path() + "/fremd.ini";
    {
        QFile foreign(target);
        ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
        foreign.write("[Geheim]\r\nSchluessel=1\r\n");
    }
    ASSERT_TRUE(QFile::link(target, output));
    TLocalizer(QStringList{languages.Path() + "/TessaroOrnak", "/RESWRITE"});
    EXPECT_EQ(ReadFile(target), "[Geheim]\r\nSchluessel=1\r\n");
    EXPECT_FALSE(QFileInfo(output).isSymLink());
    EXPECT_TRUE(ReadFile(output).contains("[Localizer]"));
    EXPECT_FALSE(ReadFile(output).contains("Geheim"));
}

TEST(ResourceWriting, OnlyTheFirstArgumentSwitchesTheMode)
{
    EXPECT_FALSE(TLocalizer(QStringList{"tessaro", "datei.tsx", "/RESWRITE"}).ResWriteMode());
    EXPECT_FALSE(TLocalizer(QStringList{"tessaro"}).ResWriteMode());
    EXPECT_FALSE(TLocalizer(QStringList{}).ResWriteMode());
}
