#include "MasterTestSupport.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/uPrintOffsets.h"
#include "support/uFileInfo.h"
#include "support/uStartbildInfoFenster.h"
#include "ui/FHelpWindow.h"
#include "ui/uElidedLabel.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
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

    // A language switch on the page keeps it the print button.
    Click(*master, "BtnWeiter");
    Localizer().SetLanguage(1);
    EXPECT_EQ(next->text(), QStringLiteral("Print"));
    Localizer().SetLanguage(0);
    EXPECT_EQ(next->text(), QStringLiteral("Drucken"));
}

TEST_F(MasterTest, CtrlTabMovesAmongTheShownPagesOnly)
{
    auto master = Create();
    auto *edit = Get<QLineEdit>(*master, "edTitel");
    QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Page(*master), QStringLiteral("tsLayout")) << "the back page of a one-sided card is passed over";
    QTest::keyClick(Get<QWidget>(*master, "tsLayout"), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Page(*master), QStringLiteral("tsEigeneDaten"));
    Click(*master, "rbBeidseitig");
    QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Page(*master), QStringLiteral("tsRueckseite"));
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
    // The left halves of the unfolded card: the front's is outside at the
    // back once folded, the back's lies inside behind the front face.
    EXPECT_EQ(extra->title(), QString::fromUtf8("E&xtratext - Außenseite hinten"));
    EXPECT_EQ(Get<QGroupBox>(*master, "gbExtraTextRueckseite")->title(), QStringLiteral("E&xtratext - Innenseite links"));

    // A card read while the page is shown (its type set as a file sets it)
    // brings or takes the group at once.
    Get<QRadioButton>(*master, "rbStandardkarte")->setChecked(true);
    EXPECT_TRUE(extra->isHidden());
    Get<QRadioButton>(*master, "rbKlappvisitenkarte")->setChecked(true);
    EXPECT_FALSE(extra->isHidden());
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
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tessaro - karte.tsx[*]"));

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

namespace {

// Lays out whatever the last steps changed, as the event loop would.
void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

QString Describe(const QWidget *widget, const QString &text, QSize needs)
{
    return QStringLiteral("%1 \"%2\" needs %3 x %4, has %5 x %6")
        .arg(widget->objectName().isEmpty() ? QLatin1String(widget->metaObject()->className()) : widget->objectName(),
             text)
        .arg(needs.width())
        .arg(needs.height())
        .arg(widget->width())
        .arg(widget->height());
}

// The shown texts of the window that do not get the room they need. A label
// that wraps needs the height of its lines, one that elides must show what
// fits and have the whole text as tool tip; any other text needs its size.
QStringList CutTexts(const QWidget &window)
{
    QStringList cut;
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        if (const auto *elided = qobject_cast<const TElidedLabel *>(widget)) {
            const int shown = elided->fontMetrics().horizontalAdvance(elided->text());
            if (shown > elided->contentsRect().width()
                || (elided->text() != elided->FullText() && elided->toolTip() != elided->FullText()))
                cut << Describe(widget, elided->FullText(), {shown, elided->height()});
        } else if (const auto *label = qobject_cast<const QLabel *>(widget); label && !label->text().isEmpty()) {
            const bool wraps = label->wordWrap();
            const int height = wraps ? label->heightForWidth(label->width()) : label->sizeHint().height();
            // A wrapping label may cut a word longer than its line only when it says so.
            const bool wordsCut = label->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored;
            const int width = wraps ? (wordsCut ? label->minimumSizeHint().width() : 0) : label->sizeHint().width();
            if (width > label->width() || height > label->height())
                cut << Describe(widget, label->text(), {width, height});
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget);
                   button && !button->text().isEmpty()) {
            const QSize needs = button->sizeHint();
            if (needs.width() > button->width() || needs.height() > button->height())
                cut << Describe(widget, button->text(), needs);
        } else if (const auto *box = qobject_cast<const QGroupBox *>(widget)) {
            const QSize needs = box->minimumSizeHint();
            if (needs.width() > box->width() || needs.height() > box->height())
                cut << Describe(widget, box->title(), needs);
        } else if (const auto *tabs = qobject_cast<const QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect tab = tabs->tabRect(i);
                const QFontMetrics metrics = tabs->fontMetrics();
                const QSize needs(metrics.horizontalAdvance(tabs->tabText(i)), metrics.height());
                if (tabs->isTabVisible(i) && (tab.width() < needs.width() || !tabs->rect().contains(tab)))
                    cut << Describe(widget, tabs->tabText(i), needs);
            }
        }
    }
    return cut;
}

// Each page in every language at the smallest size the window allows, with
// standard and folding cards, one- and two-sided, a logo on a long path and
// the print position open at 12.5 mm either way; then the assistant and the
// about window. No text is cut off, and the smallest window fits a 1280 x 720
// screen with a panel.
TEST_F(MasterTest, EveryTextFitsInEveryLanguageAtTheSmallestSize)
{
    QTemporaryDir folder;
    const QString logo = folder.path()
                         + QStringLiteral("/Firmenunterlagen/Gestaltung/Visitenkarten/Logos/firmenlogo mit Namen.bmp");
    ASSERT_TRUE(WriteLogo(logo));

    auto master = Create();
    auto *pages = Get<QTabWidget>(*master, "pcMain");
    struct TCard
    {
        const char *Type;
        const char *Sides;
    };
    const TCard cards[] = {{"rbStandardkarte", "rbEinseitig"}, {"rbKlappvisitenkarte", "rbBeidseitig"}};
    for (int language = 0; language < LanguageCount; ++language) {
        Localizer().SetLanguage(language);
        const QString code = QLatin1String(LanguageTable[language].Code);
        for (const TCard &card : cards) {
            pages->setCurrentIndex(0);
            Click(*master, card.Type);
            Click(*master, card.Sides);
            master->Document().LogoRueckseite.LoadFromFile(logo);
            master->DocumentToControls();
            for (const TPrintOffsets offsets : {TPrintOffsets{12.5f, 12.5f}, TPrintOffsets{-12.5f, -12.5f}}) {
                SavePrintOffsets(QStringLiteral("PDF"), offsets);
                for (int page = 0; page < pages->count(); ++page) {
                    if (!pages->isTabVisible(page))
                        continue;
                    pages->setCurrentIndex(page);
                    if (pages->currentWidget()->objectName() == QLatin1String("tsDrucken")
                        && !Get<QLabel>(*master, "lblPosX")->isVisibleTo(master.get()))
                        Click(*master, "BtnDruckpositionAnpassen");
                    Settle();
                    master->resize(1, 1);
                    Settle();
                    EXPECT_LE(master->width(), 1200) << qPrintable(code);
                    EXPECT_LE(master->height(), 640) << qPrintable(code);
                    EXPECT_EQ(CutTexts(*master).join(QLatin1Char('\n')).toStdString(), "")
                        << qPrintable(code) << " " << card.Type << " " << card.Sides << " "
                        << qPrintable(pages->currentWidget()->objectName());
                }
            }
        }
        master->Assistant().ShowBeside(master.get());
        Settle();
        EXPECT_EQ(CutTexts(master->Assistant()).join(QLatin1Char('\n')).toStdString(), "") << qPrintable(code);
        master->Assistant().hide();
    }
    Localizer().SetLanguage(0);
    TDlgInfo about(ProgramFileInfo());
    about.show();
    Settle();
    EXPECT_EQ(CutTexts(about).join(QLatin1Char('\n')).toStdString(), "");
}

} // namespace
