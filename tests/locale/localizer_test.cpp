#include "LocalizerTestSupport.h"

#include "common/ScriptedDialogs.h"
#include "locale/uEnvironmentLanguage.h"
#include "locale/uFileErrorText.h"
#include "locale/uHMRegistry.h"
#include "support/uAtomicFile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeySequence>
#include <QTranslator>

namespace {

const char *const English = "[TTestForm]\n"
                            "Test.Caption=Test window\n"
                            "BtnWeiter.Caption=Next >>\n"
                            "BtnWeiter.Hint=To the next page\n"
                            "gbGruppe.Caption=Group\n"
                            "laName.Caption=Name:#13#10(first and last)\n"
                            "tsSeite.Caption=Page\n"
                            "cbListe.Items0=one\n"
                            "cbListe.Items1=two\n"
                            "cbListe.Items2=three\n"
                            "mnuDatei.Caption=&File\n"
                            "mnuDateiNeu.Caption=&New\n"
                            "ID_KARTEN=Please insert %d sheets\n"
                            "Weiter=HM2001 kein String\n"
                            "\n"
                            "[Default]\n"
                            "XSmkcBkSp=Backspace\n"
                            "XSmkcCtrl=Control+\n"
                            "IDS_mtWarning=Attention\n"
                            "IDS_mbYes=Yes\n"
                            "\n";

// Lacks the button's caption.
const char *const Italian = "[TTestForm]\n"
                            "gbGruppe.Caption=Gruppo\n"
                            "\n";

class LocalizerTest : public ::testing::Test
{
protected:
    LocalizerTest()
    {
        RemoveProgramValue("Sprache");
        languages.Write(1, English);
        languages.Write(2, "[TTestForm]\nBtnWeiter.Caption=Suivant >>\n\n");
        languages.Write(3, Italian);
    }

    TTestLanguages languages;
    TLocalizer localizer{QStringList{"/opt/tessaro/tessaro"}};
    TLocalizerOverride installed{localizer};
};

} // namespace

TEST_F(LocalizerTest, LookupFallsBackToTheRegisteredDefault)
{
    EXPECT_EQ(GetSectionText("TMaster", "ID_UNBEKANNT"), "kein Defaultwert definiert");
    RegisterSectionDefault("TMaster", "ID_DRUCK1", "Bitte legen Sie %d Visitenkartenbogen in den Drucker ein");
    EXPECT_EQ(GetSectionText("tmaster", "id_druck1"), "Bitte legen Sie %d Visitenkartenbogen in den Drucker ein");

    // Escaped and real line breaks in a default give the same text.
    RegisterDefaultText("Zeilen1", "eins#13#10zwei");
    RegisterDefaultText("Zeilen2", "eins\r\nzwei");
    EXPECT_EQ(GetDefaultText("Zeilen1"), "eins\r\nzwei");
    EXPECT_EQ(GetDefaultText("Zeilen2"), "eins\r\nzwei");
    EXPECT_EQ(localizer.Defaults().ReadString("Default", "Zeilen2", ""), "eins#13#10zwei");
    EXPECT_EQ(FormatDefaultText("Zeilen1", {}), "eins\r\nzwei");
}

TEST_F(LocalizerTest, TranslationsOverrideDefaultsExceptTheMarker)
{
    TTestForm form;
    localizer.SetLanguage(1);
    EXPECT_EQ(localizer.LanguageIndex(), 1);
    EXPECT_EQ(localizer.GetLanguageCode(), "eng");
    EXPECT_EQ(form.FormatText("ID_KARTEN", {3}), "Please insert 3 sheets");
    // The marker counts as no text: the default registered by the form shows.
    EXPECT_EQ(form.GetText("Weiter"), "Weiter");
    EXPECT_EQ(form.laName->text(), "Name:\r\n(first and last)");
}

TEST_F(LocalizerTest, FormIsTranslatedByComponentName)
{
    TTestForm form;
    EXPECT_EQ(form.RegisterCount, 1);
    EXPECT_EQ(form.TextsChangedCount, 2); // once by the localizer, once by the form
    EXPECT_EQ(form.BtnWeiter->text(), "Weiter >>"); // nothing loaded yet

    localizer.SetLanguage(1);
    EXPECT_EQ(form.windowTitle(), "Test window");
    EXPECT_EQ(form.BtnWeiter->text(), "Next >>");
    EXPECT_EQ(form.BtnWeiter->toolTip(), "To the next page");
    EXPECT_EQ(form.gbGruppe->title(), "Group");
    EXPECT_EQ(form.pcMain->tabText(0), "Page");
    ASSERT_EQ(form.cbListe->count(), 3);
    EXPECT_EQ(form.cbListe->itemText(0), "one");
    EXPECT_EQ(form.cbListe->itemText(2), "three");
    EXPECT_EQ(form.mnuDatei->title(), "&File");
    EXPECT_EQ(form.mnuDateiNeu->text(), "&New");
    EXPECT_EQ(form.Unnamed->text(), "Ohne Namen");
    EXPECT_EQ(form.TextsChangedCount, 3);

    // A language without the caption keeps the previous language's text.
    localizer.SetLanguage(3);
    EXPECT_EQ(form.BtnWeiter->text(), "Next >>");
    EXPECT_EQ(form.gbGruppe->title(), "Gruppo");
}

TEST_F(LocalizerTest, OwnedFormsAreTranslatedUnderTheirOwnSection)
{
    QWidget owner;
    owner.setObjectName("Owner");
    auto *child = new TTestForm(&owner);
    languages.Write(2, "[QWidget]\nTest.Caption=Faux\n\n[TTestForm]\nTest.Caption=Fenêtre\n\n");
    localizer.SetLanguage(2);
    EXPECT_EQ(child->windowTitle(), "Fenêtre");
}

TEST_F(LocalizerTest, SwitchToAMissingLanguageChangesNothing)
{
    localizer.SetLanguage(1);
    localizer.SetLanguage(5);
    localizer.SetLanguage(12);
    EXPECT_EQ(localizer.LanguageIndex(), 1);
    EXPECT_FALSE(localizer.IsLanguageAvailable(-1));
    EXPECT_FALSE(localizer.IsLanguageAvailable(10));
    EXPECT_TRUE(localizer.IsLanguageAvailable(3));
}

TEST_F(LocalizerTest, UnreadableLanguageRaisesTheLocalizedError)
{
    languages.WriteUnreadable(1);
    try {
        localizer.SetLanguage(1);
        FAIL() << "no error raised";
    } catch (const std::runtime_error &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "Die Sprache wird nicht unterstützt: eng");
    }
    EXPECT_EQ(localizer.LanguageIndex(), 1);
    QStringList sections;
    localizer.Translations().ReadSections(sections);
    EXPECT_TRUE(sections.isEmpty());

    // At start the same failure is swallowed.
    Settings().WriteInteger("", "Sprache", 1);
    EXPECT_NO_THROW(localizer.SelectStartLanguage());
}

TEST_F(LocalizerTest, StartLanguageFollowsTheUserLocale)
{
    localizer.SelectStartLanguage(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(localizer.LanguageIndex(), 2);
    EXPECT_EQ(GetSectionText("TTestForm", "BtnWeiter.Caption"), "Suivant >>");
}

TEST_F(LocalizerTest, StartLanguageFallsBackToGermanWhenItExists)
{
    // Japanese has no row: German, which these resources lack, so nothing is loaded.
    localizer.SelectStartLanguage(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(localizer.LanguageIndex(), 0);
    EXPECT_TRUE(localizer.FrameworkTexts().isEmpty());

    languages.Write(0, "[TTestForm]\nBtnWeiter.Caption=Weiter >>\n\n");
    localizer.SelectStartLanguage(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(localizer.FrameworkTexts().size(), FrameworkTextCount);
}

TEST_F(LocalizerTest, StoredStartLanguageWinsOverTheLocale)
{
    Settings().WriteInteger("", "Sprache", 3);
    localizer.SelectStartLanguage(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(localizer.LanguageIndex(), 3);
    EXPECT_EQ(GetSectionText("TTestForm", "gbGruppe.Caption"), "Gruppo");
}

TEST_F(LocalizerTest, StoredOutOfRangeLanguageLoadsNothing)
{
    TTestForm form;
    Settings().WriteInteger("", "Sprache", 12);
    localizer.SelectStartLanguage(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(localizer.GetLanguageCode(), "deu");
    EXPECT_EQ(form.BtnWeiter->text(), "Weiter >>");
}

TEST(EnvironmentLanguage, FollowsGettextsOrderAndFallsBackToEnglish)
{
    const auto language = [](std::initializer_list<std::pair<const char *, const char *>> variables) {
        QProcessEnvironment environment;
        for (const auto &[name, value] : variables)
            environment.insert(QLatin1String(name), QLatin1String(value));
        return EnvironmentLanguage(environment);
    };
    EXPECT_EQ(language({{"LANG", "fr_FR.UTF-8"}}), 2);
    EXPECT_EQ(language({{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "cs_CZ"}}), 8);
    EXPECT_EQ(language({{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "cs_CZ"}, {"LC_ALL", "de_AT@euro"}}), 0);
    EXPECT_EQ(language({{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "ja:nl:de"}}), 6);
    EXPECT_EQ(language({{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}), 1) << "the C locale ignores LANGUAGE";
    EXPECT_EQ(language({{"LANG", "ja_JP.UTF-8"}}), 1);
    EXPECT_EQ(language({}), 1);
}

TEST_F(LocalizerTest, FrameworkTextsReachQtAndTheMessageBoxes)
{
    TScriptedDialogs dialogs;
    ShowMessageBox(TMsgDlgType::Warning, "vorher");
    localizer.SetLanguage(1);
    ShowMessageBox(TMsgDlgType::Warning, "nachher");
    ShowMessageBox(TMsgDlgType::Error, "ohne Text");
    ASSERT_EQ(dialogs.Messages.size(), 3u);
    EXPECT_EQ(dialogs.Messages[0].Caption, "Warning");
    EXPECT_EQ(dialogs.Messages[1].Caption, "Attention");
    // The error caption has no default: the language lacks it.
    EXPECT_EQ(dialogs.Messages[2].Caption, "kein Defaultwert definiert");

    const QKeySequence shortcut(Qt::CTRL | Qt::Key_Backspace);
    EXPECT_EQ(shortcut.toString(QKeySequence::NativeText), "Control+Backspace");
    // Registered German default for a key the language lacks.
    EXPECT_EQ(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText), "Entf");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
    EXPECT_EQ(localizer.FrameworkTexts().at(22), "Yes");
}

// The program's languages reach Qt's own dialogs through Qt's translations.
TEST(QtTranslations, FollowTheProgramsLanguage)
{
    TLocalizer program{QStringList{"tessaro"}};
    TLocalizerOverride installed{program};
    const auto fileName = [] { return QCoreApplication::translate("QFileDialog", "File &name:"); };
    program.SetLanguage(0);
    EXPECT_EQ(fileName(), "Datei&name:");
    program.SetLanguage(2);
    EXPECT_EQ(fileName(), "&Nom de fichier :");
    program.SetLanguage(1);
    EXPECT_EQ(fileName(), "File &name:");
}

TEST_F(LocalizerTest, FrameworkTextsGoWithTheirLocalizer)
{
    {
        TLocalizer other{QStringList{"tessaro"}};
        TLocalizerOverride otherInstalled{other};
        other.SetLanguage(1);
        EXPECT_EQ(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText), "Entf");
    }
    EXPECT_EQ(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText), "Del");
}

// The system's reasons come in English (or the system's language): inside a
// message they are Qt's translation where Qt has one, else the program's words.
TEST_F(LocalizerTest, FileErrorReasonsAreInTheProgramsLanguage)
{
    const TFileError full{TFileError::NoSpace, "No space left on device"};
    const TFileError tooLarge{TFileError::CannotWrite, "File too large"};
    EXPECT_EQ(FileErrorReason(full), QString::fromUtf8("Auf dem Datenträger ist nicht genug Platz."));

    struct TQtTexts : QTranslator
    {
        bool isEmpty() const override { return false; }
        QString translate(const char *context, const char *text, const char *, int) const override
        {
            return QByteArray(context) == "QIODevice" && QByteArray(text) == "No space left on device"
                       ? QStringLiteral("Kein Speicherplatz mehr verfügbar")
                       : QString();
        }
    } qtTexts;
    QCoreApplication::installTranslator(&qtTexts);
    EXPECT_EQ(FileErrorReason(full), QString::fromUtf8("Kein Speicherplatz mehr verfügbar"));
    EXPECT_EQ(FileErrorReason(tooLarge), QString::fromUtf8("Die Datei konnte nicht vollständig geschrieben werden."));
    QCoreApplication::removeTranslator(&qtTexts);
}

TEST(Escapes, ReplaceEveryOccurrenceWithoutRescanning)
{
    EXPECT_EQ(TLocalizer::EscapeText("a\r\nb\nc\r"), "a#13#10b#10c#13");
    EXPECT_EQ(TLocalizer::UnescapeText("a#13#10b#1310"), "a\r\nb\r10");
    EXPECT_EQ(TLocalizer::UnescapeText("##1313"), "#\r13");
    EXPECT_EQ(TLocalizer::UnescapeText(TLocalizer::EscapeText("x#1y\r\n")), "x#1y\r\n");
}
