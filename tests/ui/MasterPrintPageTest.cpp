#include "MasterTestSupport.h"

#include "common/PdfText.h"
#include "common/TestFiles.h"
#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/PrivateCupsServer.h"
#include "print/uPrintOffsets.h"
#include "print/uPrintTexts.h"
#include "print/uPrinterSupport.h"
#include "render/uDefaultView.h"
#include "render/uMMWindow.h"
#include "render/uScaler.h"
#include "ui/uSheetPreview.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

class MasterPrintPageTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        PrinterSupport().SetPrinterName(QLatin1String(PdfPrinterName));
    }

    static void OpenPrintPage(const TMaster &master)
    {
        Get<QTabWidget>(master, "pcMain")->setCurrentWidget(Get<QWidget>(master, "tsDrucken"));
    }
    static QString Label(const TMaster &master, const char *name) { return Get<QLabel>(master, name)->text(); }
    static void Press(const TMaster &master, const char *button, int times)
    {
        for (int i = 0; i < times; ++i)
            Click(master, button);
    }
    static void ChoosePrinter(const TMaster &master, const QString &name)
    {
        auto *printers = Get<QComboBox>(master, "cbDrucker");
        const int index = printers->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        printers->setCurrentIndex(index);
        emit printers->activated(index);
    }
};

TEST_F(MasterPrintPageTest, OffsetButtonsStepHoldAtTheLimitAndAreStored)
{
    auto master = Create();
    OpenPrintPage(*master);
    EXPECT_EQ(Label(*master, "lblPosX"), QStringLiteral("keine waagrechte Verschiebung"));
    Press(*master, "BtnDruckPosLeft", 40);
    const QString twenty = Label(*master, "lblPosX");
    EXPECT_TRUE(twenty.startsWith(QStringLiteral("Ausdruck um 20")) && twenty.endsWith(QStringLiteral("mm nach links verschieben")))
        << twenty.toStdString();
    Press(*master, "BtnDruckPosLeft", 2);
    EXPECT_EQ(Label(*master, "lblPosX"), twenty);
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("PDF")).Front, (TPrintOffsets{-20, 0}));

    Click(*master, "BtnDruckPosCenter");
    Click(*master, "BtnDruckPosLeft");
    Click(*master, "BtnDruckPosRight");
    EXPECT_EQ(Label(*master, "lblPosX"), QStringLiteral("keine waagrechte Verschiebung"));
    Click(*master, "BtnDruckPosDown");
    EXPECT_TRUE(Label(*master, "lblPosY").endsWith(QStringLiteral("mm nach unten verschieben")));

    // The calibration opens below its two buttons and closes again.
    auto *offsets = Get<QLabel>(*master, "lblPosX");
    Click(*master, "BtnDruckpositionAnpassen");
    EXPECT_TRUE(offsets->isVisible());
    EXPECT_TRUE(Get<QToolButton>(*master, "BtnDruckPosUp")->isVisible());
    Click(*master, "BtnDruckpositionAnpassen");
    EXPECT_FALSE(offsets->isVisible());
}

// The switch chooses the pass that the arrows and the number fields correct;
// backs never set show and follow the fronts.
TEST_F(MasterPrintPageTest, SwitchChoosesThePassTheButtonsAndFieldsCorrect)
{
    SavePrintOffsets(QStringLiteral("PDF"), {1.5f, -1.0f});
    auto master = Create();
    OpenPrintPage(*master);
    Click(*master, "BtnDruckpositionAnpassen");
    auto *x = Get<QDoubleSpinBox>(*master, "seDruckPosX");
    auto *y = Get<QDoubleSpinBox>(*master, "seDruckPosY");
    EXPECT_EQ(x->value(), 1.5);
    EXPECT_EQ(y->value(), -1.0);

    Click(*master, "rbDruckPosRueckseite");
    EXPECT_EQ(x->value(), 1.5);
    EXPECT_TRUE(Label(*master, "lblPosX").contains(QStringLiteral("nach rechts")));
    x->setValue(-2.3); // as typed: whole steps only
    EXPECT_EQ(x->value(), -2.5);
    Click(*master, "BtnDruckPosDown");
    EXPECT_EQ(y->value(), -0.5);
    EXPECT_TRUE(Label(*master, "lblPosX").contains(QStringLiteral("nach links")));
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("PDF")), (TPrintCorrection{{1.5f, -1.0f}, {-2.5f, -0.5f}}));

    Click(*master, "rbDruckPosVorderseite");
    EXPECT_EQ(x->value(), 1.5);
    y->setValue(4);
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("PDF")), (TPrintCorrection{{1.5f, 4.0f}, {-2.5f, -0.5f}}));
}

// A correction typed with either separator; shown in the program's language.
TEST_F(MasterPrintPageTest, OffsetFieldsReadEitherDecimalSeparator)
{
    auto master = Create();
    OpenPrintPage(*master);
    Click(*master, "BtnDruckpositionAnpassen");
    auto *x = Get<QDoubleSpinBox>(*master, "seDruckPosX");
    auto *y = Get<QDoubleSpinBox>(*master, "seDruckPosY");
    for (const auto &[field, text] : {std::pair{x, "1.5"}, std::pair{y, "-2,5"}}) {
        field->selectAll();
        QTest::keyClicks(field, QString::fromUtf8(text));
        QTest::keyClick(field, Qt::Key_Return);
    }
    EXPECT_EQ(LoadPrintCorrection(QStringLiteral("PDF")).Front, (TPrintOffsets{1.5f, -2.5f}));
    EXPECT_EQ(x->text(), QStringLiteral("1,5 mm"));
}

// The pass chosen for correcting is the page the sheet preview shows.
TEST_F(MasterPrintPageTest, ChoosingThePassShowsItsPageInTheSheetPreview)
{
    auto master = Create();
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsVisitenkartentyp"));
    Click(*master, "rbBeidseitig");
    OpenPrintPage(*master);
    Click(*master, "BtnDruckpositionAnpassen");
    const auto *preview = master->findChild<TSheetPreview *>();
    ASSERT_NE(preview, nullptr);
    Click(*master, "chTestseite");
    Click(*master, "rbDruckPosRueckseite");
    EXPECT_EQ(preview->CurrentPage(), TSheetPreview::TPage::Back);
    Click(*master, "rbDruckPosVorderseite");
    EXPECT_EQ(preview->CurrentPage(), TSheetPreview::TPage::Front);
}

// A two-sided card's test page: the front page, the prompt to turn the
// sheet, the back page; cancelling the prompt leaves the front alone.
// A printer keeps the paper flow: all fronts, then, once the sheets are
// turned over, all backs.
TEST_F(MasterPrintPageTest, PrinterAsksForThePaperAndToTurnTheSheetsOver)
{
    TPrivateCupsServer server;
    if (!server.Running() || !server.AddPrinter(QStringLiteral("Kartendrucker"), QStringLiteral("Visitenkarten"),
                                                QStringLiteral("Labor")))
        GTEST_SKIP() << "no private CUPS server: " << server.Log().toStdString();
    auto master = Create();
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsVisitenkartentyp"));
    Click(*master, "rbBeidseitig");
    OpenPrintPage(*master);
    ChoosePrinter(*master, QStringLiteral("Kartendrucker"));
    Get<QSpinBox>(*master, "seAnzahl")->setValue(2);
    Click(*master, "BtnWeiter");
    Click(*master, "BtnTestseiteDrucken");
    const QString turn = PrintText(QStringLiteral("ID_DRUCK2"));
    EXPECT_EQ(FDialogs.Texts(), (QStringList{QStringLiteral("Bitte legen Sie 2 Visitenkartenbogen in den Drucker ein"),
                                             turn, QStringLiteral("Bitte legen Sie ein normales Blatt in den Drucker ein"),
                                             turn}));
}

TEST_F(MasterPrintPageTest, SheetCountReadsAsCards)
{
    auto master = Create();
    OpenPrintPage(*master);
    Get<QSpinBox>(*master, "seAnzahl")->setValue(3);
    EXPECT_EQ(Label(*master, "labAnzahl"), QStringLiteral("entspricht 30 Visitenkarten"));
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsVisitenkartentyp"));
    Click(*master, "rbKlappvisitenkarte");
    OpenPrintPage(*master);
    EXPECT_EQ(Label(*master, "labAnzahl"), QStringLiteral("entspricht 15 Visitenkarten"));
}

TEST_F(MasterPrintPageTest, AnotherPrinterBringsItsOwnOffsets)
{
    TPrivateCupsServer server;
    if (!server.Running() || !server.AddPrinter(QStringLiteral("Flurdrucker"), QStringLiteral("Visitenkarten"),
                                                QStringLiteral("Flur 2")))
        GTEST_SKIP() << "no private CUPS server: " << server.Log().toStdString();
    SavePrintOffsets(QStringLiteral("Flurdrucker"), {1.5f, -2.0f});
    auto master = Create();
    OpenPrintPage(*master);
    ChoosePrinter(*master, QStringLiteral("Flurdrucker"));
    EXPECT_TRUE(Label(*master, "lblPosX").contains(QStringLiteral("nach rechts"))) << Label(*master, "lblPosX").toStdString();
    EXPECT_TRUE(Label(*master, "lblPosY").contains(QStringLiteral("nach oben")));
    EXPECT_EQ(Label(*master, "lblOrt"), QStringLiteral("Flur 2"));
    EXPECT_EQ(Label(*master, "lblKommentar"), QStringLiteral("Visitenkarten"));
    EXPECT_TRUE(Get<QPushButton>(*master, "BtnEigenschaften")->isEnabled());

    ChoosePrinter(*master, QLatin1String(PdfPrinterName));
    EXPECT_EQ(Label(*master, "lblPosX"), QStringLiteral("keine waagrechte Verschiebung"));
    EXPECT_EQ(Label(*master, "lblPosY"), QStringLiteral("keine senkrechte Verschiebung"));
}

// A file has no paper to ask about, and each front is followed by its back.
TEST_F(MasterPrintPageTest, PdfPrinterWritesEachBackAfterItsFrontAskingNothingAboutPaper)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto master = Create();
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsVisitenkartentyp"));
    Click(*master, "rbBeidseitig");
    Get<QPlainTextEdit>(*master, "meTextfeld1")->setPlainText(QStringLiteral("Rueckseitentext"));
    OpenPrintPage(*master);
    Get<QSpinBox>(*master, "seAnzahl")->setValue(2);
    const QString cards = dir.filePath("karten.pdf"), test = dir.filePath("test.pdf");
    FDialogs.Files = {cards, test};
    Click(*master, "BtnWeiter");
    Click(*master, "BtnTestseiteDrucken");
    EXPECT_TRUE(FDialogs.Texts().isEmpty()) << FDialogs.Texts().join('|').toStdString();
    ASSERT_EQ(PdfText::Pages(cards), 4);
    for (int page = 1; page <= 4; ++page)
        EXPECT_EQ(PdfText::Words(cards, QStringLiteral("Rueckseitentext"), page).size(), page % 2 ? 0u : 10u)
            << "page " << page;
    EXPECT_EQ(PdfText::Pages(test), 2);
    EXPECT_TRUE(Get<QPushButton>(*master, "BtnWeiter")->isEnabled());
    EXPECT_TRUE(Get<QToolButton>(*master, "BtnDruckPosUp")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>(*master, "BtnEigenschaften")->isEnabled()) << "a file has no page set-up";
    EXPECT_EQ(PrinterSupport().Printer().copyCount(), 1);
}

TEST_F(MasterPrintPageTest, PdfPrinterSpeaksTheProgramsLanguage)
{
    auto master = Create();
    OpenPrintPage(*master);
    EXPECT_EQ(Label(*master, "lblKommentar"), PrintText(QStringLiteral("ID_PDFKOMMENTAR")));
    Localizer().SetLanguage(1);
    EXPECT_EQ(Label(*master, "lblKommentar"), QStringLiteral("Prints each sheet as a page into a PDF file"));
    Click(*master, "BtnWeiter"); // the file dialog is cancelled
    Localizer().SetLanguage(0);
    ASSERT_EQ(FDialogs.FileRequests.size(), 1u);
    EXPECT_EQ(FDialogs.FileRequests[0].Title, QStringLiteral("Print to PDF file"));
    EXPECT_EQ(FDialogs.FileRequests[0].Filter, QStringLiteral("PDF files (*.pdf)"));
}

TEST_F(MasterPrintPageTest, CardFileWithASheetPrintsFromTheCommandLineAsFromTheWindow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString card = dir.filePath("karte.tsx");
    ASSERT_TRUE(WriteAll(card, "[Daten]\r\nName=Erika Beispiel\r\nKartentyp=0\r\n[Layout]\r\nName=101\r\n"
                               "[Bogen]\r\nName=Letter 3x4\r\nPapierBreite=215.9\r\nPapierHoehe=279.4\r\n"
                               "KarteBreite=63.5\r\nKarteHoehe=50.8\r\nSpalten=3\r\nZeilen=4\r\nRandLinks=9.525\r\n"
                               "RandOben=19.05\r\nAbstandX=66.675\r\nAbstandY=63.5\r\n"));
    auto master = Create();
    master->OpenCardFile(card);
    EXPECT_EQ(master->Document().Bogenlayout().Cards(), 12) << "the shown card keeps the file's sheet";
    EXPECT_TRUE(Get<QComboBox>(*master, "cbBogen")->currentText().startsWith(QStringLiteral("Letter 3x4")));
    OpenPrintPage(*master);
    FDialogs.Files = {dir.filePath("fenster.pdf")};
    Click(*master, "BtnWeiter");

    QProcess program;
    program.start(QStringLiteral(TESSARO_BINARY_DIR "/tessaro"),
                  {QStringLiteral("--print-to-pdf"), dir.filePath("befehl.pdf"), card});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    // Every word at the same place on a page of the same size.
    const auto page = [](const QString &pdf) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.waitForFinished(30000));
        return QString::fromUtf8(text.readAllStandardOutput()).remove(QRegularExpression("<meta[^>]*>"));
    };
    const QString window = page(dir.filePath("fenster.pdf"));
    EXPECT_EQ(window.count(QStringLiteral(">Erika<")), 12);
    EXPECT_TRUE(window.contains(QStringLiteral("<page width=\"612.000000\" height=\"792.000000\">")));
    EXPECT_EQ(page(dir.filePath("befehl.pdf")), window);
}

// The window's print road: a two-sided folding card opened from its file,
// printed into a PDF file through the print button.
TEST_F(MasterPrintPageTest, FoldingCardPrintsOnTheFoldingSheet)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString card = dir.filePath("klapp.tsx");
    ASSERT_TRUE(WriteAll(card, "[Daten]\r\nName=Erika Beispiel\r\nKartentyp=1\r\nMitRueckseite=1\r\n"
                               "BackText1_0=Rueckseitentext\r\nKlappVisitenkartenTextInnen0=Innentext\r\n"
                               "KlappVisitenkartenTextAussen0=Aussentext\r\n[Layout]\r\nName=100\r\n"));
    auto master = Create();
    master->OpenCardFile(card);
    OpenPrintPage(*master);
    FDialogs.Files = {dir.filePath("klapp.pdf")};
    Click(*master, "BtnWeiter");
    const QString pdf = dir.filePath("klapp.pdf");
    ASSERT_EQ(PdfText::Pages(pdf), 2);
    const struct
    {
        const char *Word;
        int Page;
        bool RightHalf;
    } expected[] = {
        {"Erika", 1, true}, {"Innentext", 1, false}, {"Rueckseitentext", 2, true}, {"Aussentext", 2, false}};
    for (const auto &e : expected) {
        QString problem;
        EXPECT_TRUE(PdfText::OneInEachFoldingHalf(PdfText::Words(pdf, e.Word, e.Page), e.RightHalf, &problem))
            << e.Word << ": " << problem.toStdString();
    }
}

// A page drawn at 2 pixels a millimetre, paper white, origin at its corner.
template <class TDraw>
QImage SheetImage(const TBogenlayout &sheet, TDraw draw)
{
    QImage image(int(sheet.SheetWidth * 2), int(sheet.SheetHeight * 2), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TScaleCanvas canvas(painter);
    canvas.SetupForDevice(TScaleDevice::sdScreen);
    canvas.SetZoom(2 / canvas.PixelsPerMMY());
    draw(canvas);
    return image;
}

// The preview shows exactly the print view's ink, with the printer's
// correction, and adds nothing but the paper's and the slots' grey outlines.
TEST_F(MasterPrintPageTest, SheetPreviewShowsThePrintedSheetWithTheCorrection)
{
    auto master = Create();
    OpenPrintPage(*master);
    auto *preview = Get<TSheetPreview>(*master, "gbBogenvorschau");
    const QImage before = preview->Vorschau->viewport()->grab().toImage();
    Press(*master, "BtnDruckPosRight", 4);
    Press(*master, "BtnDruckPosUp", 3);
    EXPECT_NE(preview->Vorschau->viewport()->grab().toImage(), before) << "the correction shows at once";

    const TDocument &document = master->Document();
    // Each pass with the printer's stored correction for it.
    const auto compare = [&](TSheetPreview::TPage page) {
        const TPrintCorrection correction = LoadPrintCorrection(PrinterSupport().GetDeviceKeyName());
        const TPrintOffsets offsets =
            correction.Of(page == TSheetPreview::TPage::Back ? TPrintSide::Back : TPrintSide::Front);
        EXPECT_EQ(correction.Front, (TPrintOffsets{2.0f, -1.5f}));
        const TBogenlayout &sheet = document.Bogenlayout();
        const QImage shown = SheetImage(sheet, [&](TScaleCanvas &canvas) { preview->DrawPage(canvas, page); });
        const QImage printed = SheetImage(sheet, [&](TScaleCanvas &canvas) {
            canvas.SetOffsetX(offsets.X);
            canvas.SetOffsetY(offsets.Y);
            TPrintView().DrawSheet(canvas, document, page == TSheetPreview::TPage::Back);
        });
        int ink = 0;
        int wrong = 0;
        for (int y = 0; y < printed.height(); ++y)
            for (int x = 0; x < printed.width(); ++x) {
                const QColor want = printed.pixelColor(x, y);
                const QColor got = shown.pixelColor(x, y);
                if (want != Qt::white) {
                    ++ink;
                    wrong += got != want;
                } else {
                    // Only the outlines' greys may be added.
                    wrong += got != Qt::white && got != QColor(0x80, 0x80, 0x80) && got != QColor(0xC0, 0xC0, 0xC0);
                }
            }
        EXPECT_GT(ink, 1000);
        EXPECT_EQ(wrong, 0);
    };

    SCOPED_TRACE("standard card");
    ASSERT_EQ(preview->Pages(), QList<TSheetPreview::TPage>{TSheetPreview::TPage::Front});
    compare(TSheetPreview::TPage::Front);

    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsVisitenkartentyp"));
    Click(*master, "rbBeidseitig");
    master->Document().SetBackText1({QStringLiteral("Termine nach Vereinbarung")});
    OpenPrintPage(*master);
    SCOPED_TRACE("two-sided card");
    ASSERT_EQ(preview->Pages().size(), 2);
    Click(*master, "BtnSeiteWeiter");
    EXPECT_EQ(preview->PageIndex(), 1);
    EXPECT_TRUE(Label(*master, "lblSeite").startsWith(QString::fromUtf8("Rückseite"))) << Label(*master, "lblSeite").toStdString();
    compare(TSheetPreview::TPage::Back);

    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsVisitenkartentyp"));
    Click(*master, "rbEinseitig");
    Click(*master, "rbKlappvisitenkarte");
    master->Document().SetKlappTextInnen({QStringLiteral("Innentext")});
    OpenPrintPage(*master);
    SCOPED_TRACE("folding card");
    EXPECT_EQ(preview->PageIndex(), 0) << "a one-sided card has no back page";
    compare(TSheetPreview::TPage::Front);
}

} // namespace
