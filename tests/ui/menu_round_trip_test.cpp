#include "MasterTestSupport.h"

#include "common/TestFiles.h"

#include "model/uDocument.h"
#include "ui/uDrawGrid.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

// A card designed, saved and quit, then opened again in a new session.
TEST_F(MasterTest, CardSavedFromTheMenuComesBackWholeInTheNextSession)
{
    QTemporaryDir folder;
    const QString card = folder.filePath(QStringLiteral("erika.tsx"));
    const QString logoPath = folder.filePath(QStringLiteral("logo.bmp"));
    QImage logo(60, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(logoPath, "BMP"));

    auto master = Create();
    // The start shows the sample card; New empties it without a question.
    Get<QAction>(*master, "mnuDateiNeu")->trigger();
    Click(*master, "rbKlappvisitenkarte");
    Click(*master, "rbBeidseitig");
    QTest::keyClicks(Get<QLineEdit>(*master, "edName"), QStringLiteral("Erika Muster"));
    QTest::keyClicks(Get<QPlainTextEdit>(*master, "meAdresse"), QStringLiteral("Hauptstr. 1"));
    QTest::keyClicks(Get<QPlainTextEdit>(*master, "meTextfeld1"), QStringLiteral("Termine nach Vereinbarung"));
    FDialogs.Files = {logoPath};
    Click(*master, "BtnFirmenlogo");
    auto *grid = Get<TDrawGrid>(*master, "dgLayouts");
    const int last = master->Document().Layouts().Count() - 1;
    ASSERT_GT(last, 0);
    grid->SetRow(last / grid->ColCount());
    grid->SetCol(last % grid->ColCount());
    const QString layout = master->Document().Kartenlayout().Name;
    FDialogs.Files = {card};
    Get<QAction>(*master, "mnuDateiSpeichernUnter")->trigger();
    Get<QAction>(*master, "mnuDateiBeenden")->trigger();
    EXPECT_FALSE(master->isVisible());
    master.reset();
    ASSERT_TRUE(FDialogs.Messages.empty()) << FDialogs.Texts().join(QLatin1Char('\n')).toStdString();

    master = Create();
    Get<QAction>(*master, "mnuDateiNeu")->trigger();
    EXPECT_TRUE(Get<QLineEdit>(*master, "edName")->text().isEmpty());
    FDialogs.Files = {card};
    Get<QAction>(*master, "mnuDateiOeffnen")->trigger();
    EXPECT_TRUE(FDialogs.Messages.empty()) << FDialogs.Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Erika Muster"));
    EXPECT_EQ(Get<QPlainTextEdit>(*master, "meAdresse")->toPlainText(), QStringLiteral("Hauptstr. 1"));
    EXPECT_EQ(Get<QPlainTextEdit>(*master, "meTextfeld1")->toPlainText(), QStringLiteral("Termine nach Vereinbarung"));
    EXPECT_TRUE(Get<QRadioButton>(*master, "rbKlappvisitenkarte")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>(*master, "rbBeidseitig")->isChecked());
    EXPECT_FALSE(master->Document().Logo.IsEmpty());
    EXPECT_EQ(master->Document().Kartenlayout().Name, layout);
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - erika.tsx"));
    EXPECT_FALSE(master->Document().Modified());
}

// Opening a file switches the card type and sides, and with them the layout
// list; the file's layout must survive that, wherever the grid stood.
TEST_F(MasterTest, OpenedCardKeepsItsLayoutWhateverTheGridShowed)
{
    QTemporaryDir folder;
    const auto write = [&](const char *name, const QByteArray &text) {
        const QString path = folder.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        return path;
    };
    const QString folding = write("folding.tsx", "[Daten]\r\nName=Falt\r\nMitRueckseite=1\r\nKartentyp=1\r\n"
                                                 "[Layout]\r\nName=103\r\n");
    const QString standard = write("standard.tsx", "[Daten]\r\nName=Standard\r\nMitRueckseite=0\r\nKartentyp=0\r\n"
                                                   "[Layout]\r\nName=104\r\n");
    auto master = Create();
    auto *grid = Get<TDrawGrid>(*master, "dgLayouts");
    const auto shownLayout = [&] {
        return master->Document().Layouts().Items(grid->Col() + grid->Row() * grid->ColCount()).Name;
    };
    ASSERT_EQ(master->Document().Kartenlayout().Name, QStringLiteral("100"));

    FDialogs.Files = {folding};
    Get<QAction>(*master, "mnuDateiOeffnen")->trigger();
    EXPECT_TRUE(Get<QRadioButton>(*master, "rbKlappvisitenkarte")->isChecked());
    EXPECT_EQ(master->Document().Kartenlayout().Name, QStringLiteral("103"));
    EXPECT_EQ(shownLayout(), QStringLiteral("103"));

    FDialogs.Files = {standard};
    Get<QAction>(*master, "mnuDateiOeffnen")->trigger();
    EXPECT_TRUE(Get<QRadioButton>(*master, "rbStandardkarte")->isChecked());
    EXPECT_EQ(master->Document().Kartenlayout().Name, QStringLiteral("104"));
    EXPECT_EQ(shownLayout(), QStringLiteral("104"));
    EXPECT_TRUE(FDialogs.Messages.empty()) << FDialogs.Texts().join(QLatin1Char('\n')).toStdString();
}

// "Arial" is no family here; the card is drawn in its substitute, which the
// box shows from the first start on. The card file keeps the name it had.
TEST_F(MasterTest, FontBoxShowsTheDrawnFamilyAndTheFileKeepsArial)
{
    auto master = Create();
    auto *fonts = Get<QComboBox>(*master, "cbFont");
    const QString drawnIn = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    EXPECT_EQ(fonts->currentText(), drawnIn);

    QTemporaryDir folder;
    const QString card = folder.filePath(QStringLiteral("arial.tsx"));
    ASSERT_TRUE(WriteAll(card, "[Daten]\r\nName=Anna Arial\r\n[Font]\r\nName=Arial\r\n"));
    master->OpenCardFile(card);
    EXPECT_EQ(fonts->currentText(), drawnIn);
    master->Document().SetTitel(QStringLiteral("Dr."));
    ASSERT_TRUE(master->Document().SaveToFile(card));
    EXPECT_TRUE(ReadAll(card).contains("[Font]\r\nName=Arial\r\n"));
}

} // namespace
