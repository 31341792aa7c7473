#include "MasterTestSupport.h"

#include "common/TestFiles.h"
#include "model/uDocument.h"

#include <QAction>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>

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
    EXPECT_EQ(names, (QStringList{"mnuDateiNeu", "mnuDateiOeffnen", "mnuDateiSpeichern", "mnuDateiSpeichernUnter", "N6",
                                  "mnuDateiKontaktImportieren", "mnuDateiAlsVCardSpeichern", "N2", "mnuDateiDrucken",
                                  "mnuDateiDruckereinrichtung", "N1", "mnuDateiBeenden"}));
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
    FDialogs.Answers = {mbNo};
    Trigger(*master, "mnuDateiNeu");
    ASSERT_EQ(SaveQuestions(), 1);
    EXPECT_EQ(FDialogs.Messages.back().Buttons, mbYes | mbNo | mbCancel);
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_TRUE(Get<QPlainTextEdit>(*master, "meAdresse")->toPlainText().isEmpty());
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro"));
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
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro"));
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
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - karte.tsx"));
    EXPECT_FALSE(master->Document().Modified()) << "showing the saved two-sided card marked it";

    Trigger(*master, "mnuDateiNeu");
    EXPECT_EQ(SaveQuestions(), 0);
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_TRUE(Get<QRadioButton>(*master, "rbBeidseitig")->isChecked());

    FDialogs.Files = {path};
    Trigger(*master, "mnuDateiOeffnen");
    EXPECT_EQ(name->text(), QStringLiteral("Erika Muster"));
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - karte.tsx"));
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

    // Dropped on a memo, which would otherwise take the file name as text.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(contact)});
    QWidget *target = phones->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_TRUE(WaitFor([&] { return name->text() == QStringLiteral("Erika Muster"); }));
    EXPECT_EQ(phones->toPlainText(), QStringLiteral("Tel: 030 1234"));

    // Other files are no business of the contact import.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(FFolder.filePath(QStringLiteral("notes.txt")))});
    QDragEnterEvent otherEnter(QPoint(5, 5), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    otherEnter.ignore();
    QCoreApplication::sendEvent(master.get(), &otherEnter);
    EXPECT_FALSE(otherEnter.isAccepted());
}

} // namespace
