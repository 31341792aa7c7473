#include "MasterTestSupport.h"

#include "locale/ulocalize.h"
#include "ui/FHelpWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

namespace {

// Takes the addresses the desktop would open instead of starting a browser.
class TUrlRecorder : public QObject
{
    Q_OBJECT

public:
    TUrlRecorder()
    {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "Open");
    }
    ~TUrlRecorder() override
    {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }

    QList<QUrl> Urls;

public slots:
    void Open(const QUrl &url) { Urls << url; }
};

class MenuTest : public MasterTest
{
protected:
    void TearDown() override
    {
        if (Localizer().LanguageIndex() != 0)
            Localizer().SetLanguage(0);
    }

    static QStringList CheckedLanguages(const TMaster &master)
    {
        QStringList checked;
        for (const QAction *item : Get<QMenu>(master, "mnuSprache")->actions())
            if (item->isChecked())
                checked << item->objectName();
        return checked;
    }
};

TEST_F(MenuTest, LanguageItemsAreRadioItemsTaggedInTableOrder)
{
    auto master = Create();
    const QList<QAction *> items = Get<QMenu>(*master, "mnuSprache")->actions();
    ASSERT_EQ(items.size(), LanguageCount);
    const char *names[] = {"mnuSpracheDeu", "mnuSpracheEng", "mnuSpracheFra", "mnuSpracheIta", "mnuSpracheSpa",
                           "mnuSprachePor", "mnuSpracheNed", "mnuSpracheUng", "mnuSpracheCze", "mnuSpracheSlk"};
    for (int i = 0; i < LanguageCount; ++i) {
        EXPECT_EQ(items[i]->objectName(), QLatin1String(names[i]));
        EXPECT_EQ(items[i]->data().toInt(), i);
        EXPECT_TRUE(items[i]->isCheckable());
    }
    EXPECT_EQ(items[2]->text(), QStringLiteral("Französisch"));
    EXPECT_TRUE(CheckedLanguages(*master).isEmpty()) << "no language is checked before one is chosen";
}

TEST_F(MenuTest, EnglishIsStoredCheckedAloneAndUsedOnTheNextStart)
{
    auto master = Create();
    auto *news = Get<QAction>(*master, "mnuNewsUpdates");
    EXPECT_TRUE(news->isVisible());
    Get<QAction>(*master, "mnuSpracheFra")->trigger();
    EXPECT_FALSE(news->isVisible());
    Get<QAction>(*master, "mnuSpracheEng")->trigger();

    EXPECT_EQ(Settings().ReadInteger(QString(), QStringLiteral("Sprache"), -1), 1);
    EXPECT_EQ(CheckedLanguages(*master), QStringList{QStringLiteral("mnuSpracheEng")});
    EXPECT_EQ(Get<QMenu>(*master, "mnuDatei")->title(), QStringLiteral("&File"));
    EXPECT_FALSE(news->isVisible());

    Get<QAction>(*master, "mnuSpracheDeu")->trigger();
    EXPECT_TRUE(news->isVisible());
    EXPECT_EQ(Get<QMenu>(*master, "mnuDatei")->title(), QStringLiteral("&Datei"));
    Get<QAction>(*master, "mnuSpracheEng")->trigger();
    master.reset();
    Localizer().SetLanguage(0);

    master = Create();
    EXPECT_EQ(Localizer().LanguageIndex(), 1);
    EXPECT_EQ(Get<QMenu>(*master, "mnuDatei")->title(), QStringLiteral("&File"));
    EXPECT_FALSE(Get<QAction>(*master, "mnuNewsUpdates")->isVisible());
}

TEST_F(MenuTest, WebLinksOpenTheLanguagesAddresses)
{
    auto master = Create();
    TUrlRecorder recorder;
    Get<QAction>(*master, "mnuWeitereOrnakVisitenkarten")->trigger();
    Get<QAction>(*master, "mnuOrnakVisitenkartenzubehoerkatalog")->trigger();
    Get<QAction>(*master, "mnuNewsUpdates")->trigger();
    ASSERT_EQ(recorder.Urls.size(), 3);
    EXPECT_EQ(recorder.Urls[0], QUrl(QStringLiteral("https://www.example.org/visitenkarten")));
    EXPECT_EQ(recorder.Urls[1], QUrl(QStringLiteral("https://www.example.org/visitenkartenzubehoer")));
    EXPECT_TRUE(recorder.Urls[2].query().contains(QStringLiteral("utm_medium=Software")));
    EXPECT_FALSE(Get<QAction>(*master, "mnuPravendoSoftware")->isVisible());
}

TEST_F(MenuTest, MissingPdfNamesTheFullPathInQuotes)
{
    auto master = Create();
    TUrlRecorder recorder;
    Get<QAction>(*master, "mnuPravendoSoftware")->trigger();
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/pdf/Software.pdf");
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_EQ(FDialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_EQ(FDialogs.Messages[0].Text,
              QStringLiteral("Die Datei \"%1\" konnte nicht gefunden werden.").arg(path));
    EXPECT_TRUE(recorder.Urls.isEmpty());
}

TEST_F(MenuTest, HelpMenuFollowsTheAssistant)
{
    auto master = Create();
    auto *menu = Get<QMenu>(*master, "mnuHilfe");
    auto *atStart = Get<QAction>(*master, "mnuAssistentBeimStartAnzeigen");
    auto *show = Get<QAction>(*master, "mnuAssistentanzeigen");
    auto *hide = Get<QAction>(*master, "mnuAssistentverbergen");
    THelpWindow &assistant = master->Assistant();
    emit menu->aboutToShow();
    EXPECT_FALSE(atStart->isChecked());
    EXPECT_TRUE(show->isEnabled());
    EXPECT_FALSE(hide->isEnabled());

    atStart->trigger();
    EXPECT_FALSE(assistant.GetDontShowAgain());
    EXPECT_TRUE(assistant.isVisible());
    emit menu->aboutToShow();
    EXPECT_TRUE(atStart->isChecked());
    EXPECT_FALSE(show->isEnabled());
    EXPECT_TRUE(hide->isEnabled());

    hide->trigger();
    EXPECT_TRUE(assistant.isHidden());
    emit menu->aboutToShow();
    show->trigger();
    EXPECT_TRUE(assistant.isVisible());
    emit menu->aboutToShow();
    atStart->trigger();
    EXPECT_TRUE(assistant.GetDontShowAgain());
    EXPECT_TRUE(assistant.isVisible()) << "unchecking only stores the choice";
}

} // namespace

#include "menu_language_help_test.moc"
