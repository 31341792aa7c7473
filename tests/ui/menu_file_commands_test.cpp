#include "MasterTestSupport.h"

#include "common/OtherInstance.h"
#include "common/TestFiles.h"
#include "model/uDocument.h"
#include "ui/uCommandLine.h"
#include "ui/uProgramStart.h"
#include "ui/uRecentFilesMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>

#include <tuple>

namespace {

class MenuFileTest : public MasterTest
{
protected:
    static void Trigger(const TMaster &master, const char *item) { Get<QAction>(master, item)->trigger(); }

    int SaveQuestions() const
    {
        int count = 0;
        for (const auto &message : FDialogs.Messages)
            count += message.Text == QStringLiteral("Sollen die aktuellen Visitenkartendaten gespeichert werden?") ? 1 : 0;
        return count;
    }

    QString WriteCard(const QString &fileName, const QString &name, const QString &more = {}) const
    {
        const QString path = FFolder.filePath(fileName);
        EXPECT_TRUE(WriteAll(path, QStringLiteral("[Daten]\r\nName=%1\r\n%2").arg(name, more).toUtf8()));
        return path;
    }

    QString WriteContact(const QString &fileName) const
    {
        const QString path = FFolder.filePath(fileName);
        EXPECT_TRUE(WriteAll(path, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Kontakt;Max;;;\r\nFN:Max Kontakt\r\nEND:VCARD\r\n"));
        return path;
    }

    // A file dragged from a file manager and dropped on the control; the
    // program takes it once the drop is over.
    static void Drop(QWidget *target, const QString &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(path);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
    }

    static QStringList RecentFiles(const TMaster &master)
    {
        QStringList files;
        for (const QAction *item : Get<QMenu>(master, "mnuDateiZuletzt")->actions())
            files << item->toolTip();
        return files;
    }

    QTemporaryDir FFolder;
};

TEST_F(MenuFileTest, FileMenuHasItsItemsShortcutsAndHiddenPrintCommands)
{
    auto master = Create();
    auto *menu = Get<QMenu>(*master, "mnuDatei");
    ASSERT_NE(menu, nullptr);
    QStringList names;
    for (const QAction *item : menu->actions())
        names << item->objectName();
    EXPECT_EQ(names, (QStringList{"mnuDateiNeu", "mnuDateiOeffnen", "", "mnuDateiSpeichern", "mnuDateiSpeichernUnter",
                                  "N6", "mnuDateiKontaktImportieren", "mnuDateiAlsVCardSpeichern", "N2",
                                  "mnuDateiPdfExport", "mnuDateiDrucken", "mnuDateiDruckereinrichtung", "N1",
                                  "mnuDateiBeenden"}));
    EXPECT_EQ(menu->actions().at(2)->menu(), Get<QMenu>(*master, "mnuDateiZuletzt"));
    EXPECT_EQ(Get<QMenu>(*master, "mnuDateiZuletzt")->title(), QStringLiteral("&Zuletzt geöffnet"));
    EXPECT_FALSE(menu->actions().at(2)->isEnabled()) << "an empty recent list is offered";
    EXPECT_EQ(Get<QAction>(*master, "mnuDateiPdfExport")->text(), QStringLiteral("Als &PDF exportieren…"));
    EXPECT_EQ(menu->title(), QStringLiteral("&Datei"));
    EXPECT_EQ(Get<QAction>(*master, "mnuDateiOeffnen")->text(), QStringLiteral("Ö&ffnen..."));
    EXPECT_EQ(Get<QAction>(*master, "mnuDateiNeu")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Get<QAction>(*master, "mnuDateiSpeichern")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(Get<QAction>(*master, "mnuDateiBeenden")->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
    EXPECT_FALSE(Get<QAction>(*master, "mnuDateiDrucken")->isVisible());
    EXPECT_FALSE(Get<QAction>(*master, "mnuDateiDruckereinrichtung")->isVisible());
    EXPECT_TRUE(Get<QAction>(*master, "mnuDateiSpeichernUnter")->isVisible());
}

TEST_F(MenuFileTest, NewAsksOnlyAfterAnEditAndNoEmptiesTheFields)
{
    auto master = Create();
    auto *name = Get<QLineEdit>(*master, "edName");
    Trigger(*master, "mnuDateiNeu");
    EXPECT_EQ(SaveQuestions(), 0) << "showing the card at start is no edit";
    EXPECT_TRUE(name->text().isEmpty());

    QTest::keyClicks(name, QStringLiteral("Erika Muster"));
    QTest::keyClicks(Get<QPlainTextEdit>(*master, "meAdresse"), QStringLiteral("Hauptstr. 1"));
    Click(*master, "chQRCodeAnzeigen");
    FDialogs.Answers = {mbNo};
    Trigger(*master, "mnuDateiNeu");
    ASSERT_EQ(SaveQuestions(), 1);
    EXPECT_EQ(FDialogs.Messages.back().Buttons, mbYes | mbNo | mbCancel);
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_TRUE(Get<QPlainTextEdit>(*master, "meAdresse")->toPlainText().isEmpty());
    EXPECT_FALSE(master->Document().QRCode().Anzeigen) << "a blank card would print an empty contact's code";
    EXPECT_FALSE(Get<QCheckBox>(*master, "chQRCodeAnzeigen")->isChecked());
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro[*]"));
    EXPECT_FALSE(master->isWindowModified());
    EXPECT_TRUE(FDialogs.FileRequests.empty());
}

TEST_F(MenuFileTest, CancelInTheQuestionOrTheDialogsLeavesEverythingAsItWas)
{
    auto master = Create();
    auto *name = Get<QLineEdit>(*master, "edName");
    QTest::keyClicks(name, QStringLiteral("X"));
    const QString typed = name->text();

    FDialogs.Answers = {mbCancel};
    Trigger(*master, "mnuDateiOeffnen");
    EXPECT_EQ(SaveQuestions(), 1);
    EXPECT_TRUE(FDialogs.FileRequests.empty()) << "Cancel opened the file dialog";

    // Yes, but the save dialog is cancelled: New stops.
    FDialogs.Answers = {mbYes};
    Trigger(*master, "mnuDateiNeu");
    EXPECT_EQ(FDialogs.FileRequests.size(), 1u);
    EXPECT_EQ(name->text(), typed);

    // No, then the open dialog is cancelled.
    FDialogs.Answers = {mbNo};
    Trigger(*master, "mnuDateiOeffnen");
    EXPECT_EQ(FDialogs.FileRequests.size(), 2u);
    EXPECT_EQ(name->text(), typed);
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro[*]"));
    EXPECT_TRUE(master->isWindowModified());
    EXPECT_TRUE(master->Document().Modified());
}

TEST_F(MenuFileTest, SavedOrOpenedTwoSidedCardsAskNothingUntilTheNextEdit)
{
    auto master = Create();
    Click(*master, "rbBeidseitig");
    auto *name = Get<QLineEdit>(*master, "edName");
    name->setText(QStringLiteral("Erika Muster"));
    const QString path = FFolder.filePath(QStringLiteral("karte.tsx"));
    FDialogs.Files = {path};
    Trigger(*master, "mnuDateiSpeichernUnter");
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - karte.tsx[*]"));
    EXPECT_FALSE(master->Document().Modified()) << "showing the saved two-sided card marked it";

    Trigger(*master, "mnuDateiNeu");
    EXPECT_EQ(SaveQuestions(), 0);
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_TRUE(Get<QRadioButton>(*master, "rbBeidseitig")->isChecked());

    FDialogs.Files = {path};
    Trigger(*master, "mnuDateiOeffnen");
    EXPECT_EQ(name->text(), QStringLiteral("Erika Muster"));
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - karte.tsx[*]"));
    FDialogs.Files = {path};
    Trigger(*master, "mnuDateiOeffnen");
    EXPECT_EQ(SaveQuestions(), 0);

    // A real edit after the save still counts, and Save writes to the same file.
    Click(*master, "rbEinseitig");
    EXPECT_TRUE(master->Document().Modified());
    Trigger(*master, "mnuDateiSpeichern");
    EXPECT_FALSE(master->Document().Modified());
    EXPECT_EQ(FDialogs.FileRequests.size(), 3u) << "Save asked for a name it has";

    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    const QString logoPath = FFolder.filePath(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(logo.save(logoPath, "BMP"));
    FDialogs.Files = {logoPath};
    Click(*master, "BtnFirmenlogo");
    EXPECT_TRUE(master->Document().Modified()) << "inserting a logo is an edit";
    Trigger(*master, "mnuDateiSpeichern");
    Click(*master, "BtnEntfernen");
    EXPECT_TRUE(master->Document().Modified()) << "removing the logo is an edit";
}

TEST_F(MenuFileTest, EveryKindOfEditMarksTheCardAndTheTitle)
{
    auto master = Create();
    const QString logo = FFolder.filePath(QStringLiteral("logo.bmp"));
    const QString otherLogo = FFolder.filePath(QStringLiteral("anders.bmp"));
    ASSERT_TRUE(WriteLogo(logo) && WriteLogo(otherLogo));
    const QString card = WriteCard(QStringLiteral("karte.tsx"), QStringLiteral("Erika Muster"),
                                   QString::fromUtf8("MitRueckseite=1\r\nKartentyp=0\r\nLogodatei=%1\r\n"
                                                    "LogodateiRückseite=%1\r\n[Layout]\r\nName=100\r\n")
                                       .arg(logo));
    auto *fonts = Get<QComboBox>(*master, "cbFont");
    auto *sheets = Get<QComboBox>(*master, "cbBogen");
    const auto insertLogo = [&](const char *button) {
        FDialogs.Files = {otherLogo};
        Click(*master, button);
    };
    const std::vector<std::pair<const char *, std::function<void()>>> edits = {
        {"name", [&] { QTest::keyClicks(Get<QLineEdit>(*master, "edName"), QStringLiteral("X")); }},
        {"family name", [&] { QTest::keyClicks(Get<QLineEdit>(*master, "edNachname"), QStringLiteral("X")); }},
        {"company", [&] { QTest::keyClicks(Get<QLineEdit>(*master, "edFirma"), QStringLiteral("X")); }},
        {"back text", [&] { Get<QPlainTextEdit>(*master, "meTextfeld1")->setPlainText(QStringLiteral("Termine")); }},
        {"folding card text", [&] { Get<QPlainTextEdit>(*master, "meExtraText")->setPlainText(QStringLiteral("Innen")); }},
        {"front logo inserted", [&] { insertLogo("BtnFirmenlogo"); }},
        {"back logo inserted", [&] { insertLogo("BtnLogoEinfuegenRueckseite"); }},
        {"front logo removed", [&] { Click(*master, "BtnEntfernen"); }},
        {"back logo removed", [&] { Click(*master, "BtnLogoEntfernenRueckseite"); }},
        {"layout", [&] { Get<TDrawGrid>(*master, "dgLayouts")->SetCol(1); }},
        {"card type", [&] { Click(*master, "rbKlappvisitenkarte"); }},
        {"sheet",
         [&] {
             sheets->setCurrentIndex(1);
             emit sheets->activated(1);
         }},
        {"sides", [&] { Click(*master, "rbEinseitig"); }},
        {"font", [&] { fonts->setCurrentIndex(fonts->currentIndex() == 0 ? 1 : 0); }},
        {"rules", [&] { Click(*master, "chLinien"); }},
        {"centring", [&] { Click(*master, "cbTextZentrierenRueckseite"); }},
        {"QR code", [&] { Click(*master, "chQRCodeAnzeigen"); }},
        {"QR code size", [&] { Get<QDoubleSpinBox>(*master, "seQRCodeGroesse")->setValue(25); }},
    };
    for (const auto &[what, edit] : edits) {
        master->OpenCardFile(card);
        ASSERT_FALSE(master->Document().Modified()) << what;
        ASSERT_FALSE(master->isWindowModified()) << what;
        edit();
        EXPECT_TRUE(master->Document().Modified()) << what;
        EXPECT_TRUE(master->isWindowModified()) << what;
    }
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - karte.tsx[*]"));
    EXPECT_TRUE(FDialogs.Messages.empty()) << FDialogs.Texts().join('|').toStdString();
}

// Every command that puts another card in the window's place asks before
// the edits of the open card file are lost.
enum class TRoad { Beenden, Schliessen, Neu, Oeffnen, KarteAbgelegt, Kontakt };

class SaveQuestionTest : public MenuFileTest, public ::testing::WithParamInterface<std::tuple<TRoad, int>>
{
};

TEST_P(SaveQuestionTest, AnswerDecidesWhatTheFileKeepsAndWhetherTheCommandGoesOn)
{
    const auto [road, answer] = GetParam();
    auto master = Create();
    const QString card = WriteCard(QStringLiteral("karte.tsx"), QStringLiteral("Erika Muster"));
    const QString other = WriteCard(QStringLiteral("andere.tsx"), QStringLiteral("Otto Anders"));
    const QString contact = WriteContact(QStringLiteral("max.vcf"));
    master->OpenCardFile(card);
    auto *name = Get<QLineEdit>(*master, "edName");
    name->setText(QStringLiteral("Erika Beispiel"));

    FDialogs.Answers = {answer};
    QString shownAfter;
    switch (road) {
    case TRoad::Beenden:
        Trigger(*master, "mnuDateiBeenden");
        break;
    case TRoad::Schliessen:
        master->close();
        break;
    case TRoad::Neu:
        Trigger(*master, "mnuDateiNeu");
        break;
    case TRoad::Oeffnen:
        FDialogs.Files = {other};
        Trigger(*master, "mnuDateiOeffnen");
        shownAfter = QStringLiteral("Otto Anders");
        break;
    case TRoad::KarteAbgelegt:
        // Onto a text field, which would otherwise take the path as text.
        Drop(name, other);
        shownAfter = QStringLiteral("Otto Anders");
        break;
    case TRoad::Kontakt:
        FDialogs.Files = {contact};
        Trigger(*master, "mnuDateiKontaktImportieren");
        shownAfter = QStringLiteral("Max Kontakt");
        break;
    }
    EXPECT_EQ(SaveQuestions(), 1);
    EXPECT_TRUE(ReadAll(card).contains(answer == mbYes ? "Name=Erika Beispiel" : "Name=Erika Muster"));
    const bool goesOn = answer != mbCancel;
    if (road == TRoad::Beenden || road == TRoad::Schliessen)
        EXPECT_NE(master->isVisible(), goesOn);
    else
        EXPECT_EQ(name->text(), goesOn ? shownAfter : QStringLiteral("Erika Beispiel"));
}

INSTANTIATE_TEST_SUITE_P(EveryRoad, SaveQuestionTest,
                         ::testing::Combine(::testing::Values(TRoad::Beenden, TRoad::Schliessen, TRoad::Neu,
                                                              TRoad::Oeffnen, TRoad::KarteAbgelegt, TRoad::Kontakt),
                                            ::testing::Values(mbYes, mbNo, mbCancel)));

// Its data come back at the next start, as they always did.
TEST_F(MenuFileTest, CardWithoutFileClosesWithoutAsking)
{
    auto master = Create();
    Get<QLineEdit>(*master, "edName")->setText(QStringLiteral("Erika Beispiel"));
    EXPECT_TRUE(master->isWindowModified());
    Trigger(*master, "mnuDateiBeenden");
    EXPECT_FALSE(master->isVisible());
    EXPECT_TRUE(FDialogs.Messages.empty());
    master.reset();
    master = Create();
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Erika Beispiel"));
}

TEST_F(MenuFileTest, ImportedContactIsNoLongerTheCardOfTheOpenFile)
{
    auto master = Create();
    const QString card = WriteCard(QStringLiteral("erika.tsx"), QStringLiteral("Erika Muster"));
    master->OpenCardFile(card);
    FDialogs.Files = {WriteContact(QStringLiteral("max.vcf"))};
    Trigger(*master, "mnuDateiKontaktImportieren");
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Max Kontakt"));
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro[*]"));
    Trigger(*master, "mnuDateiSpeichern");
    EXPECT_EQ(FDialogs.FileRequests.size(), 2u) << "saved without asking for a file";
    EXPECT_TRUE(ReadAll(card).contains("Name=Erika Muster"));
    EXPECT_FALSE(ReadAll(card).contains("Max"));
}

// A file manager's "Open with" hands over a vCard as it would a card file,
// under any name: its content tells it apart.
TEST_F(MenuFileTest, StartWithAContactFileImportsIt)
{
    auto master = Create();
    auto *name = Get<QLineEdit>(*master, "edName");
    const QString unnamed = FFolder.filePath(QStringLiteral("kontakt"));
    ASSERT_TRUE(QFile::rename(WriteContact(QStringLiteral("max.vcf")), unnamed));
    TCommandLine openWith;
    openWith.CardFile = unnamed;
    OpenCommandLineFiles(*master, openWith);
    EXPECT_EQ(name->text(), QStringLiteral("Max Kontakt"));
    EXPECT_TRUE(FDialogs.Texts().isEmpty()) << FDialogs.Texts().join('\n').toStdString();

    // A card file with a contact to import onto it: the card's design stays.
    TCommandLine both;
    both.CardFile = WriteCard(QStringLiteral("karte.tsx"), QStringLiteral("Erika Muster"), QStringLiteral("[Layout]\r\nName=104\r\n"));
    both.ContactFile = unnamed;
    OpenCommandLineFiles(*master, both);
    EXPECT_EQ(name->text(), QStringLiteral("Max Kontakt"));
    EXPECT_EQ(master->Document().Kartenlayout().Name, QStringLiteral("104"));
    EXPECT_TRUE(master->Document().FileName().isEmpty()) << "saving would overwrite Erika's card";
}

TEST_F(MenuFileTest, RecentListKeepsEightNewestFirstAndDropsAVanishedFile)
{
    auto master = Create();
    QStringList opened;
    for (int i = 1; i <= 9; ++i) {
        opened.prepend(WriteCard(QStringLiteral("karte%1.tsx").arg(i), QStringLiteral("Karte %1").arg(i)));
        FDialogs.Files = {opened.first()};
        Trigger(*master, "mnuDateiOeffnen");
    }
    const QStringList newestEight = opened.mid(0, 8);
    EXPECT_EQ(RecentFiles(*master), newestEight);
    master.reset();
    master = Create();
    EXPECT_EQ(RecentFiles(*master), newestEight) << "the list is not kept for the next start";

    Get<QMenu>(*master, "mnuDateiZuletzt")->actions().at(3)->trigger();
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Karte 6"));
    EXPECT_EQ(RecentFiles(*master).first(), opened.at(3));

    const QString vanished = opened.at(7);
    ASSERT_TRUE(QFile::remove(vanished));
    QTest::keyClicks(Get<QLineEdit>(*master, "edTitel"), QStringLiteral("Dr."));
    Get<QMenu>(*master, "mnuDateiZuletzt")->actions().at(7)->trigger();
    ASSERT_EQ(FDialogs.Messages.size(), 1u) << "a save question before the not-found message";
    EXPECT_EQ(FDialogs.Messages.back().Text,
              QStringLiteral("Die Datei \"%1\" konnte nicht gefunden werden.").arg(vanished));
    EXPECT_EQ(RecentFiles(*master).size(), 7);
    EXPECT_FALSE(RecentFiles(*master).contains(vanished));
    EXPECT_EQ(Get<QLineEdit>(*master, "edName")->text(), QStringLiteral("Karte 6"));

    const QString saved = FFolder.filePath(QStringLiteral("neu.tsx"));
    FDialogs.Files = {saved};
    Trigger(*master, "mnuDateiSpeichernUnter");
    EXPECT_EQ(RecentFiles(*master).first(), saved) << "a saved file is not remembered";
}

// Two instances, each with the list it read at its start: the files one adds
// or drops leave the other's in the list.
TEST_F(MenuFileTest, RecentFilesOfTwoInstancesAreAllKept)
{
    QWidget window;
    TOtherInstance other;
    TRecentFilesMenu mine(QStringLiteral("Zuletzt"), &window);
    TRecentFilesMenu theirs(QStringLiteral("Zuletzt"), &window, other.Settings());
    const QString a = FFolder.filePath("a.tsx"), b = FFolder.filePath("b.tsx"), c = FFolder.filePath("c.tsx");
    mine.Add(a);
    theirs.Add(b);
    mine.Add(c);
    EXPECT_EQ(mine.Files(), (QStringList{c, b, a}));
    theirs.Remove(a);
    TOtherInstance next;
    EXPECT_EQ(TRecentFilesMenu(QStringLiteral("Zuletzt"), &window, next.Settings()).Files(), (QStringList{c, b}));
}

TEST_F(MenuFileTest, PdfExportWritesEachBackAfterItsFrontAskingOnlyForTheFile)
{
    auto master = Create();
    Click(*master, "rbBeidseitig");
    Get<QLineEdit>(*master, "edName")->setText(QStringLiteral("Erika Muster"));
    Get<QPlainTextEdit>(*master, "meTextfeld1")->setPlainText(QStringLiteral("Rueckseitentext"));
    Get<QSpinBox>(*master, "seAnzahl")->setValue(2);
    const QString pdf = FFolder.filePath(QStringLiteral("karten.pdf"));
    FDialogs.Files = {pdf};
    Trigger(*master, "mnuDateiPdfExport");
    EXPECT_EQ(FDialogs.FileRequests.size(), 1u);
    EXPECT_TRUE(FDialogs.Texts().isEmpty()) << FDialogs.Texts().join('|').toStdString();

    const auto pageText = [&](int page) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
        EXPECT_TRUE(text.waitForFinished(30000));
        return QString::fromUtf8(text.readAllStandardOutput());
    };
    for (int page = 1; page <= 4; ++page) {
        const QString text = pageText(page);
        EXPECT_EQ(text.contains(QStringLiteral("Erika")), page % 2 == 1) << "page " << page;
        EXPECT_EQ(text.contains(QStringLiteral("Rueckseitentext")), page % 2 == 0) << "page " << page;
    }
    EXPECT_TRUE(pageText(5).trimmed().isEmpty()) << "more than four pages";
}

TEST_F(MenuFileTest, ContactsComeFromMenuAndDropAndGoToAFile)
{
    auto master = Create();
    auto *name = Get<QLineEdit>(*master, "edName");
    auto *phones = Get<QPlainTextEdit>(*master, "meTele");
    const QString contact = FFolder.filePath(QStringLiteral("erika.vcf"));
    ASSERT_TRUE(WriteAll(contact, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Muster;Erika;;;\r\nFN:Erika Muster\r\n"
                                  "TEL;TYPE=WORK:030 1234\r\nEND:VCARD\r\n"));
    FDialogs.Files = {contact};
    Trigger(*master, "mnuDateiKontaktImportieren");
    EXPECT_EQ(name->text(), QStringLiteral("Erika Muster"));
    EXPECT_EQ(phones->toPlainText(), QStringLiteral("Tel: 030 1234"));
    EXPECT_TRUE(master->Document().Modified());
    EXPECT_EQ(SaveQuestions(), 0) << "an import is an edit of the card, not a new one";

    const QString exported = FFolder.filePath(QStringLiteral("export.vcf"));
    name->setText(QStringLiteral("Erika Beispiel"));
    FDialogs.Files = {exported};
    Trigger(*master, "mnuDateiAlsVCardSpeichern");
    EXPECT_TRUE(ReadAll(exported).contains("\r\nFN:Erika Beispiel\r\nTEL;TYPE=WORK,VOICE:030 1234\r\n"));

    // Dropped on a memo, which would otherwise take the file name as text;
    // the edit above is given up.
    FDialogs.Answers = {mbNo};
    Drop(phones->viewport(), contact);
    EXPECT_EQ(SaveQuestions(), 1);
    EXPECT_EQ(name->text(), QStringLiteral("Erika Muster"));
    EXPECT_EQ(phones->toPlainText(), QStringLiteral("Tel: 030 1234"));

    // A contact dragged from an address book comes as data, not as a file.
    QMimeData dragged;
    dragged.setData(QStringLiteral("text/x-vcard"),
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Otto Adressbuch\r\nEND:VCARD\r\n");
    const auto dropDragged = [this, name, &dragged] {
        FDialogs.Answers = {mbNo};
        QDragEnterEvent enter(name->rect().center(), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(name, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(name->rect().center(), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(name, &drop);
        QCoreApplication::processEvents();
    };
    dropDragged();
    EXPECT_EQ(name->text(), QStringLiteral("Otto Adressbuch"));
    FDialogs.Messages.clear();
    dragged.setData(QStringLiteral("text/x-vcard"), "kein Kontakt");
    dropDragged();
    EXPECT_EQ(FDialogs.Texts().last(), QStringLiteral("Die abgelegten Daten enthalten keinen Kontakt."));
    EXPECT_EQ(name->text(), QStringLiteral("Otto Adressbuch"));

    // Other files are no business of the contact import.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(FFolder.filePath(QStringLiteral("notes.txt")))});
    QDragEnterEvent otherEnter(QPoint(5, 5), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    otherEnter.ignore();
    QCoreApplication::sendEvent(master.get(), &otherEnter);
    EXPECT_FALSE(otherEnter.isAccepted());
}

// The company and family name fields show the card's, go into its vCard,
// and a card without a name is no vCard at all: no empty file.
TEST_F(MenuFileTest, CompanyAndFamilyNameFieldsAndTheVCardOfTheCard)
{
    auto master = Create();
    auto *name = Get<QLineEdit>(*master, "edName");
    auto *company = Get<QLineEdit>(*master, "edFirma");
    auto *family = Get<QLineEdit>(*master, "edNachname");
    master->OpenCardFile(WriteCard(QStringLiteral("karte.tsx"), QString::fromUtf8("María José García López"),
                                   QString::fromUtf8("Firma=Muster AG\r\nNachname=García López\r\n")));
    EXPECT_EQ(company->text(), QStringLiteral("Muster AG"));
    EXPECT_EQ(family->text(), QString::fromUtf8("García López"));
    company->setText(QStringLiteral("Muster & Söhne AG"));
    EXPECT_EQ(master->Document().Firma(), QStringLiteral("Muster & Söhne AG"));

    const QString exported = FFolder.filePath(QStringLiteral("export.vcf"));
    FDialogs.Files = {exported};
    Trigger(*master, "mnuDateiAlsVCardSpeichern");
    const QString written = QString::fromUtf8(ReadAll(exported));
    EXPECT_TRUE(written.contains(QString::fromUtf8("\r\nN:García López;María José;;;\r\n"))) << written.toStdString();
    EXPECT_TRUE(written.contains(QString::fromUtf8("\r\nORG:Muster & Söhne AG\r\n")));

    FDialogs.Files.clear();
    FDialogs.FileRequests.clear();
    name->clear();
    Trigger(*master, "mnuDateiAlsVCardSpeichern");
    EXPECT_TRUE(FDialogs.FileRequests.empty());
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_TRUE(FDialogs.Messages.back().Text.contains(QStringLiteral("keinen Namen")));

    FDialogs.Answers = {mbNo};
    Trigger(*master, "mnuDateiNeu");
    EXPECT_TRUE(company->text().isEmpty());
    EXPECT_TRUE(family->text().isEmpty());
}

} // namespace
