#include "MasterTestSupport.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "ui/FHelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextCursor>

QString MasterTest::Page(const TMaster &master)
{
    return Get<QTabWidget>(master, "pcMain")->currentWidget()->objectName();
}

void MasterTest::Click(const TMaster &master, const char *button)
{
    Get<QAbstractButton>(master, button)->click();
}

namespace {

TEST_F(MasterTest, StartsOnEigeneDatenAndGoesBackToTheCardType)
{
    auto master = Create();
    EXPECT_EQ(Page(*master), QStringLiteral("tsEigeneDaten"));
    auto *back = Get<QPushButton>(*master, "BtnZurueck");
    EXPECT_TRUE(back->isEnabled());
    Click(*master, "BtnZurueck");
    EXPECT_EQ(Page(*master), QStringLiteral("tsVisitenkartentyp"));
    EXPECT_FALSE(back->isEnabled());
    Click(*master, "BtnZurueck");
    EXPECT_EQ(Page(*master), QStringLiteral("tsVisitenkartentyp"));
}

TEST_F(MasterTest, BackPageIsInTheSequenceOnlyForTwoSidedCards)
{
    auto master = Create();
    auto *pages = Get<QTabWidget>(*master, "pcMain");
    const int backIndex = pages->indexOf(Get<QWidget>(*master, "tsRueckseite"));
    EXPECT_FALSE(pages->isTabVisible(backIndex));

    Click(*master, "BtnZurueck");
    Click(*master, "rbBeidseitig");
    EXPECT_TRUE(master->Document().MitRueckseite());
    EXPECT_TRUE(pages->isTabVisible(backIndex));
    Click(*master, "BtnWeiter");
    Click(*master, "BtnWeiter");
    EXPECT_EQ(Page(*master), QStringLiteral("tsRueckseite"));
    Click(*master, "BtnWeiter");
    EXPECT_EQ(Page(*master), QStringLiteral("tsLayout"));

    pages->setCurrentIndex(0);
    Click(*master, "rbEinseitig");
    EXPECT_FALSE(pages->isTabVisible(backIndex));
    Click(*master, "BtnWeiter");
    Click(*master, "BtnWeiter");
    EXPECT_EQ(Page(*master), QStringLiteral("tsLayout"));
    Click(*master, "BtnZurueck");
    EXPECT_EQ(Page(*master), QStringLiteral("tsEigeneDaten"));
}

TEST_F(MasterTest, PrintPageTurnsTheNextButtonIntoPrint)
{
    auto master = Create();
    auto *next = Get<QPushButton>(*master, "BtnWeiter");
    EXPECT_EQ(next->text(), QStringLiteral("Weiter >>"));
    Click(*master, "BtnWeiter");
    Click(*master, "BtnWeiter");
    EXPECT_EQ(Page(*master), QStringLiteral("tsDrucken"));
    EXPECT_EQ(next->text(), QStringLiteral("Drucken"));
    Click(*master, "BtnWeiter");
    EXPECT_EQ(Page(*master), QStringLiteral("tsDrucken"));
    Click(*master, "BtnZurueck");
    EXPECT_EQ(next->text(), QStringLiteral("Weiter >>"));
}

TEST_F(MasterTest, EnterBeyondTheLineLimitIsRefused)
{
    auto master = Create();
    auto *memo = Get<QPlainTextEdit>(*master, "meBeruf");
    memo->setFocus();
    memo->setPlainText(QStringLiteral("Arzt\nChirurg"));
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("Notfall"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("Arzt\nChirurg\nNotfall"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Enter);
    QTest::keyClicks(memo, QStringLiteral("dienst"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("Arzt\nChirurg\nNotfalldienst"));
    EXPECT_EQ(master->Document().Beruf(),
              QStringList({QStringLiteral("Arzt"), QStringLiteral("Chirurg"), QStringLiteral("Notfalldienst")}));

    // A long line wraps: its shown lines count.
    memo->setPlainText(QString(200, QLatin1Char('x')));
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText(), QString(200, QLatin1Char('x')));
}

TEST_F(MasterTest, FoldingCardShowsTheExtraTextBetweenDataAndLogo)
{
    auto master = Create();
    auto *extra = Get<QGroupBox>(*master, "gbExtraText");
    auto *data = Get<QGroupBox>(*master, "gbPersDaten");
    auto *logo = Get<QGroupBox>(*master, "gbFirmendaten");
    EXPECT_TRUE(extra->isHidden());
    EXPECT_FALSE(Get<QLabel>(*master, "imgWerbung")->isHidden());
    EXPECT_EQ(logo->y(), data->y() + data->height() + 8);

    Click(*master, "BtnZurueck");
    Click(*master, "rbKlappvisitenkarte");
    EXPECT_EQ(master->Document().Kartentyp(), TDocument::Klappkarte);
    Click(*master, "BtnWeiter");
    EXPECT_FALSE(extra->isHidden());
    QCoreApplication::processEvents(); // the panel's layout places the boxes
    EXPECT_EQ(extra->y(), data->y() + data->height() + 8);
    EXPECT_EQ(logo->y(), extra->y() + extra->height() + 8);
    EXPECT_TRUE(Get<QLabel>(*master, "imgWerbung")->isHidden());
}

TEST_F(MasterTest, TextEndingInALineBreakShowsWithoutTheEmptyLine)
{
    auto master = Create();
    master->Document().SetAdresse({QStringLiteral("Alleestr. 95"), QStringLiteral("98765 Musterdorf")});
    master->DocumentToControls();
    EXPECT_EQ(Get<QPlainTextEdit>(*master, "meAdresse")->toPlainText(),
              QStringLiteral("Alleestr. 95\n98765 Musterdorf"));
    EXPECT_EQ(StripTrailingLineBreak(QStringLiteral("a\r\n\r\n")), QStringLiteral("a\r\n"));
    EXPECT_EQ(StripTrailingLineBreak(QStringLiteral("a\n")), QStringLiteral("a\n"));
}

TEST_F(MasterTest, CardDataAndWindowPositionSurviveARestart)
{
    QRect bounds;
    {
        auto master = Create();
        EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Heinz Mustermann"));
        Get<QLineEdit>(*master, "edName")->setText(QStringLiteral("Erika Musterfrau"));
        master->setGeometry(60, 70, 720, 500);
        bounds = master->geometry();
    }
    auto master = Create();
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Erika Musterfrau"));
    EXPECT_EQ(master->Document().Name(), QStringLiteral("Erika Musterfrau"));
    EXPECT_EQ(master->geometry(), bounds);
}

TEST_F(MasterTest, WindowNeverOpensLargerThanTheScreen)
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    for (const bool stored : {false, true}) {
        if (stored) {
            {
                auto master = Create();
                master->setGeometry(work.right() - 100, 10, work.width() + 400, work.height() + 300);
            }
        }
        auto master = Create();
        EXPECT_TRUE(work.contains(master->frameGeometry())) << "stored: " << stored;
        EXPECT_GE(master->width(), master->minimumSizeHint().width());
    }
}

TEST_F(MasterTest, AssistantAppearsAfterTheFirstActivationUnlessTurnedOff)
{
    Settings().WriteBool(QStringLiteral("Assistent"), QStringLiteral("DontShowAgain"), false);
    {
        auto master = Create();
        master->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(master.get()));
        EXPECT_TRUE(WaitFor([&] { return master->Assistant().isVisible(); }));
        EXPECT_EQ(master->Assistant().Picture(), THelpWindow::PictureEigeneDaten);
        EXPECT_FALSE(master->Assistant().findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());
        master->Assistant().SetDontShowAgain(true);
    }
    auto master = Create();
    master->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(master.get()));
    QCoreApplication::processEvents();
    EXPECT_FALSE(master->Assistant().isVisible());
}

} // namespace

namespace {

TEST_F(MasterTest, CardFileFromTheCommandLineIsShown)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("karte.tsx"));
    {
        auto master = Create();
        master->Document().SetName(QStringLiteral("Karl Kartenmann"));
        ASSERT_TRUE(master->Document().SaveToFile(path));
    }
    SetUp();
    auto master = Create();
    master->OpenCardFile(path);
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Karl Kartenmann"));
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - karte.tsx"));

    master->OpenCardFile(folder.filePath(QStringLiteral("fehlt.tsx")));
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_TRUE(FDialogs.Messages[0].Text.contains(QStringLiteral("fehlt.tsx")));
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Karl Kartenmann"));

    // A folder exists but holds no card.
    master->OpenCardFile(folder.path());
    ASSERT_EQ(FDialogs.Messages.size(), 2u);
    EXPECT_EQ(FDialogs.Messages[1].Text,
              "Die Datei \"" + folder.path() + "\" konnte nicht als Visitenkartendatei gelesen werden.");
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Karl Kartenmann"));
}

} // namespace
