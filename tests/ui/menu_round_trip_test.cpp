#include "MasterTestSupport.h"

#include "common/OtherInstance.h"
#include "common/TestFiles.h"

#include "model/uDocument.h"
#include "support/uTerminationSignals.h"
#include "ui/uDrawGrid.h"
#include "ui/uProgramStart.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

namespace {

using namespace std::chrono_literals;

void TypeName(const TMaster &master, const QString &name)
{
    QLineEdit *field = master.findChild<QLineEdit *>(QStringLiteral("edName"));
    field->selectAll();
    QTest::keyClicks(field, name);
}

QString StoredName()
{
    return TOtherInstance().Settings().ReadString(QStringLiteral("Daten\\Default"), QStringLiteral("VorNachname"), {});
}

// What was typed is in the settings file a moment after the typing, as a
// next start would read it, whatever ends the program then.
TEST_F(MasterTest, TypedCardReachesTheSettingsOnceTheTypingPauses)
{
    auto master = Create(100ms);
    TypeName(*master, QStringLiteral("Erika Muster"));
    EXPECT_NE(StoredName(), QStringLiteral("Erika Muster")) << "written on the keystroke's own path";
    EXPECT_TRUE(WaitFor([] { return StoredName() == QStringLiteral("Erika Muster"); }));
    EXPECT_TRUE(master->Document().Modified()) << "the card file's save question would be skipped";
}

// Settings that cannot be written are told once a session, with the reason
// and the offer to save the card to a file.
TEST_F(MasterTest, FailedSettingsWriteIsToldOnceWithTheOfferToSaveTheCard)
{
    QTemporaryDir folder;
    const QString card = folder.filePath(QStringLiteral("gerettet.tsx"));
    auto master = Create(50ms);
    const TBlockedSettingsFile blocked;
    FDialogs.Answers = {mbYes};
    FDialogs.Files = {card};
    TypeName(*master, QStringLiteral("Erika Muster"));
    ASSERT_TRUE(WaitFor([&] { return !FDialogs.Messages.empty(); }));
    const TScriptedDialogs::Message &told = FDialogs.Messages.front();
    EXPECT_EQ(told.Type, TMsgDlgType::Warning);
    EXPECT_EQ(told.Buttons, mbYes | mbNo);
    EXPECT_TRUE(told.Text.contains(QString::fromUtf8("Unter diesem Namen gibt es schon etwas anderes als eine Datei")))
        << told.Text.toStdString();
    EXPECT_TRUE(ReadAll(card).contains("Erika Muster"));
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - gerettet.tsx[*]"));

    TypeName(*master, QStringLiteral("Erika Musterfrau"));
    QTest::qWait(200);
    EXPECT_EQ(FDialogs.Messages.size(), 1u);
}

// The write at the end that fails asks before the window goes: the card to
// a file, the window closed without it, or the window kept.
TEST_F(MasterTest, FailedWriteAtTheEndAsksBeforeTheWindowGoes)
{
    QTemporaryDir folder;
    const QString card = folder.filePath(QStringLiteral("gerettet.tsx"));
    auto master = Create(1h);
    const TBlockedSettingsFile blocked;
    TypeName(*master, QStringLiteral("Erika Muster"));
    FDialogs.Answers = {mbCancel};
    master->close();
    EXPECT_TRUE(master->isVisible());
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_EQ(FDialogs.Messages[0].Buttons, mbYes | mbNo | mbCancel);
    EXPECT_TRUE(FDialogs.Messages[0].Text.contains(QString::fromUtf8("etwas anderes als eine Datei")));

    FDialogs.Answers = {mbYes};
    FDialogs.Files = {card};
    master->close();
    EXPECT_FALSE(master->isVisible());
    EXPECT_TRUE(ReadAll(card).contains("Erika Muster"));
    QTest::qWait(50);
    EXPECT_EQ(FDialogs.Messages.size(), 2u);
}

// SIGTERM, as logout sends it, ends the program as its window's close button
// would, a dialog in front of the window cancelled, the card data stored;
// the question whether to save to the card's file would wait for nobody.
TEST_F(MasterTest, RequestToEndClosesTheDialogAndTheWindowStoringTheCard)
{
    QTemporaryDir folder;
    const QString card = folder.filePath(QStringLiteral("erika.tsx"));
    ASSERT_TRUE(WriteAll(card, "[Daten]\r\nName=Erika\r\n"));
    auto master = Create(1h);
    const TTerminationSignals requests;
    CloseOnRequestsToEnd(*master, requests);
    master->OpenCardFile(card);
    TypeName(*master, QStringLiteral("Erika Muster"));
    // As the program's message boxes: a window of its own.
    QDialog dialog;
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    // The test's own way out, should the request not close the dialog.
    QTimer::singleShot(3000, &dialog, &QDialog::reject);
    QElapsedTimer clock;
    clock.start();
    dialog.exec();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(master->isVisible());
    EXPECT_EQ(StoredName(), QStringLiteral("Erika Muster"));
    EXPECT_TRUE(FDialogs.Messages.empty()) << FDialogs.Texts().join('|').toStdString();
}

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
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - erika.tsx[*]"));
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
