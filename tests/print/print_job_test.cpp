#include "model/uDocument.h"
#include "print/uPrintJob.h"
#include "print/uPrintTexts.h"
#include "print/uPrinterSupport.h"
#include "render/uPackedDIB.h"

#include "common/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <cfenv>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// A printer that keeps a record of its jobs instead of printing them.
class TRecordingTarget : public TPrintTarget
{
public:
    struct TJob
    {
        QString Title;
        int Pages = 1;
        int Copies = 1;
        bool Ended = false;
        bool Aborted = false;
    };

    int MaxCopies = 1;
    int Copies = 1;
    std::vector<TJob> Jobs;
    bool Closed = false;
    std::function<void()> OnNewPage;

    QSizeF Paper;

    int GetMaxCopies() const override { return MaxCopies; }
    void SetPaperSize(const QSizeF &mm) override { Paper = mm; }
    void SetCopies(int count) override
    {
        if (FPainter.isActive())
            throw EPrinterError("copies during a job");
        Copies = count;
    }
    bool BeginJob(const QString &title) override
    {
        Jobs.push_back({title, 1, Copies});
        return FPainter.begin(&FPage);
    }
    QPainter &Painter() override { return FPainter; }
    TPrinterMetrics Metrics() const override { return {30, 30, {}}; }
    void NewPage() override
    {
        if (OnNewPage)
            OnNewPage();
        ++Jobs.back().Pages;
    }
    void EndJob() override
    {
        FPainter.end();
        Jobs.back().Ended = true;
    }
    void AbortJob() override
    {
        FPainter.end();
        Jobs.back().Aborted = true;
    }
    void Close() override { Closed = true; }

    void Reset(int maxCopies)
    {
        MaxCopies = maxCopies;
        Copies = 1;
        Jobs.clear();
        Closed = false;
    }

private:
    QImage FPage{248, 351, QImage::Format_RGB32};
    QPainter FPainter;
};

class TRecordingUi : public TPrintJobUi
{
public:
    std::vector<bool> Enabled;
    bool Busy = false;
    int ProgressCalls = 0;
    int CancelAtPage = 0;
    std::vector<int> Pictures;

    void EnableControls(bool enabled) override { Enabled.push_back(enabled); }
    void SetBusy(bool busy) override { Busy = busy; }
    bool PageProgress(int page, int) override
    {
        ++ProgressCalls;
        return page != CancelAtPage;
    }
    void EndProgress() override {}
    void ShowAssistantPicture(int number) override { Pictures.push_back(number); }
};

class PrintJobTest : public ::testing::Test
{
protected:
    void SetUp() override { RegisterPrintTexts(); }

    TPrintResult Print(int sheets)
    {
        TPrintJob job(FDocument, FTarget, FUi, {});
        job.SetBackSidePause(FPauseMs);
        return job.PrintCards(sheets);
    }

    TDocument FDocument;
    TRecordingTarget FTarget;
    TRecordingUi FUi;
    TScriptedDialogs FDialogs;
    int FPauseMs = 0;
};

} // namespace

TEST_F(PrintJobTest, PrinterMakesTheCopiesOnlyWhenItCanMakeMoreThanAsked)
{
    struct TCase
    {
        int Sheets, MaxCopies, Pages, JobCopies;
    };
    for (const TCase c : {TCase{1, 1, 1, 1}, TCase{5, 999, 1, 5}, TCase{99, 99, 99, 1}, TCase{4, -1, 4, 1}}) {
        SCOPED_TRACE(testing::Message() << c.Sheets << " sheets, maximum " << c.MaxCopies);
        FTarget.Reset(c.MaxCopies);
        ASSERT_EQ(Print(c.Sheets), TPrintResult::Printed);
        ASSERT_EQ(FTarget.Jobs.size(), 1u);
        EXPECT_EQ(FTarget.Jobs[0].Pages, c.Pages);
        EXPECT_EQ(FTarget.Jobs[0].Copies, c.JobCopies);
        EXPECT_TRUE(FTarget.Jobs[0].Ended);
        EXPECT_EQ(FTarget.Jobs[0].Title, QLatin1String("Tessaro"));
        EXPECT_EQ(FTarget.Copies, 1) << "the copy count is reset after the job";
        EXPECT_TRUE(FTarget.Closed);
    }
    EXPECT_EQ(FDialogs.Texts().first(), QString::fromUtf8("Bitte legen Sie 1 Visitenkartenbogen in den Drucker ein"));
}

TEST_F(PrintJobTest, CancellingTheConfirmationPrintsNothingAndKeepsTheControls)
{
    FDialogs.Answers = {mbCancel};
    EXPECT_EQ(Print(3), TPrintResult::Cancelled);
    EXPECT_TRUE(FTarget.Jobs.empty());
    EXPECT_TRUE(FUi.Enabled.empty());
    EXPECT_TRUE(FUi.Pictures.empty());
    EXPECT_EQ(FDialogs.Texts(), QStringList{QString::fromUtf8("Bitte legen Sie 3 Visitenkartenbogen in den Drucker ein")});
}

// Layout 100 holds eight lines of address and phone numbers; layout 102 has
// no place for a logo.
TEST_F(PrintJobTest, ConfirmationNamesWhatDoesNotFitAndStillLetsItPrint)
{
    FDocument.SelectLayout(FDocument.Layouts().Items(FDocument.Layouts().IndexOfName(QStringLiteral("100"))));
    FDocument.SetAdresse({"Alleestr. 95", "98765 Musterdorf"});
    FDocument.SetTelefonFax({"Tel: 1", "Fax: 2", "Mobil: 3", "E-Mail: a@b.de", "Web: www.b.de", "Tel 2: 4",
                             "Fax 2: 5", "Mobil 2: 6", "Tel 3: 7", "Web 2: www.c.de"});
    FDialogs.Answers = {mbCancel, mbOK};
    EXPECT_EQ(Print(1), TPrintResult::Cancelled);
    EXPECT_EQ(Print(1), TPrintResult::Printed);
    const QString confirmation = FDialogs.Texts().first();
    EXPECT_EQ(FDialogs.Texts().last(), confirmation);
    EXPECT_EQ(confirmation.toStdString(),
              "Bitte legen Sie 1 Visitenkartenbogen in den Drucker ein\n\nDiese Zeilen passen nicht auf die Karte "
              "und fehlen im Druck oder überdecken anderen Text, das Logo oder den QR-Code: Fax 2: 5, Mobil 2: 6, "
              "Tel 3: 7, Web 2: www.c.de");

    // A layout without a place for the logo says it leaves it out.
    FDocument.SetTelefonFax({"Tel: 1"});
    FDocument.SelectLayout(FDocument.Layouts().Items(FDocument.Layouts().IndexOfName(QStringLiteral("102"))));
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    FDocument.Logo.SetHandle(PackImage(logo, 24));
    FDialogs.Answers = {mbCancel};
    EXPECT_EQ(Print(1), TPrintResult::Cancelled);
    EXPECT_TRUE(FDialogs.Texts().last().endsWith(QStringLiteral("\n\nDieses Layout zeigt kein Logo: das Logo wird "
                                                               "nicht gedruckt.")))
        << FDialogs.Texts().last().toStdString();
}

TEST_F(PrintJobTest, TwoSidedCardPrintsTheBacksAfterThePauseAndThePrompt)
{
    FDocument.SetMitRueckseite(true);
    FTarget.MaxCopies = 999;
    FPauseMs = 300;
    QElapsedTimer sinceFronts;
    TPrintJob job(FDocument, FTarget, FUi, {});
    job.SetBackSidePause(FPauseMs);
    // Notes when the prompt comes: after the fronts went out and the pause is over.
    class TTimedDialogs : public TScriptedDialogs
    {
    public:
        QElapsedTimer *Clock = nullptr;
        TRecordingTarget *Target = nullptr;
        qint64 PromptAfter = -1;
        int MessageBox(TMsgDlgType type, const QString &caption, const QString &text, int buttons,
                       int defaultButton) override
        {
            if (!Target->Jobs.empty() && PromptAfter < 0)
                PromptAfter = Clock->elapsed();
            return TScriptedDialogs::MessageBox(type, caption, text, buttons, defaultButton);
        }
    } timed;
    timed.Clock = &sinceFronts;
    timed.Target = &FTarget;
    sinceFronts.start();
    ASSERT_EQ(job.PrintCards(2), TPrintResult::Printed);

    ASSERT_EQ(FTarget.Jobs.size(), 2u);
    EXPECT_EQ(FTarget.Jobs[1].Title, FTarget.Jobs[0].Title);
    EXPECT_EQ(FTarget.Jobs[1].Copies, 2);
    EXPECT_GE(timed.PromptAfter, FPauseMs);
    ASSERT_EQ(timed.Messages.size(), 2u);
    EXPECT_EQ(timed.Messages[1].Text, PrintText(QStringLiteral("ID_DRUCK2")));
    EXPECT_EQ(timed.Messages[1].Buttons, mbOK | mbCancel);
    EXPECT_EQ(timed.Messages[1].Type, TMsgDlgType::Information);
}

TEST_F(PrintJobTest, DecliningTheBacksStillResetsTheCopiesAndShowsTheFinalPictures)
{
    FDocument.SetMitRueckseite(true);
    FTarget.MaxCopies = 999;
    FDialogs.Answers = {mbOK, mbCancel};
    EXPECT_EQ(Print(5), TPrintResult::Printed);
    ASSERT_EQ(FTarget.Jobs.size(), 1u);
    EXPECT_EQ(FTarget.Jobs[0].Copies, 5);
    EXPECT_EQ(FTarget.Copies, 1);
    EXPECT_EQ(FUi.Pictures, (std::vector<int>{TPrintJob::PictureAfterPrint, TPrintJob::PictureAdvert}));
    EXPECT_EQ(FUi.Enabled, (std::vector<bool>{false, true}));
    EXPECT_FALSE(FUi.Busy);
}

TEST_F(PrintJobTest, CancellingTheProgressAbortsTheJobAndSkipsTheBacks)
{
    FDocument.SetMitRueckseite(true);
    FUi.CancelAtPage = 4;
    EXPECT_EQ(Print(10), TPrintResult::Aborted);
    ASSERT_EQ(FTarget.Jobs.size(), 1u);
    EXPECT_TRUE(FTarget.Jobs[0].Aborted);
    EXPECT_FALSE(FTarget.Jobs[0].Ended);
    EXPECT_EQ(FTarget.Jobs[0].Pages, 3);
    EXPECT_EQ(FDialogs.Messages.size(), 1u) << "no back-side prompt after a cancelled front job";
    EXPECT_EQ(FUi.Enabled, (std::vector<bool>{false, true}));

    // Short jobs run without a progress display.
    FTarget.Reset(1);
    FUi.ProgressCalls = 0;
    FDocument.SetMitRueckseite(false);
    EXPECT_EQ(Print(TPrintJob::ProgressThreshold), TPrintResult::Printed);
    EXPECT_EQ(FUi.ProgressCalls, 0);
}

TEST_F(PrintJobTest, APrinterErrorPassesOutAfterEverythingIsRestored)
{
    FTarget.OnNewPage = [] { throw EPrinterError("paper jam"); };
    std::fesetround(FE_UPWARD);
    EXPECT_THROW(Print(2), EPrinterError);
    std::fesetround(FE_TONEAREST);
    ASSERT_EQ(FTarget.Jobs.size(), 1u);
    EXPECT_TRUE(FTarget.Jobs[0].Aborted);
    EXPECT_EQ(FTarget.Copies, 1);
    EXPECT_EQ(FUi.Enabled, (std::vector<bool>{false, true}));
    EXPECT_FALSE(FUi.Busy);
}

TEST_F(PrintJobTest, EndOfJobRestoresRoundingToNearest)
{
    std::fesetround(FE_UPWARD);
    FTarget.MaxCopies = 999;
    // Like a driver that changes the rounding mode while it prints.
    class TRoundingDriver : public TRecordingTarget
    {
    public:
        int RoundingAtEnd = -1;
        void EndJob() override
        {
            RoundingAtEnd = std::fegetround();
            std::fesetround(FE_DOWNWARD);
            TRecordingTarget::EndJob();
        }
    } driver;
    TPrintJob job(FDocument, driver, FUi, {});
    ASSERT_EQ(job.PrintCards(1), TPrintResult::Printed);
    EXPECT_EQ(driver.RoundingAtEnd, FE_TONEAREST);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

TEST_F(PrintJobTest, TestPageIsOnePageWithoutDisablingTheControls)
{
    FTarget.Copies = 7;
    TPrintJob job(FDocument, FTarget, FUi, {});
    ASSERT_EQ(job.PrintTestSheet(), TPrintResult::Printed);
    ASSERT_EQ(FTarget.Jobs.size(), 1u);
    EXPECT_EQ(FTarget.Jobs[0].Pages, 1);
    EXPECT_EQ(FTarget.Jobs[0].Copies, 1);
    EXPECT_TRUE(FUi.Enabled.empty());
    EXPECT_TRUE(FUi.Pictures.empty());
    EXPECT_EQ(FDialogs.Texts(), QStringList{QStringLiteral("Bitte legen Sie ein normales Blatt in den Drucker ein")});

    FDialogs.Answers = {mbCancel};
    EXPECT_EQ(job.PrintTestSheet(), TPrintResult::Cancelled);
    EXPECT_EQ(FTarget.Jobs.size(), 1u);
}

// The card's vCard of a hundred thousand phone lines takes a tenth of a
// second to write and is too much for any code: a job does that once, not
// for each of its cards.
TEST_F(PrintJobTest, QRCodeIsEncodedOnceForAllCardsOfAJob)
{
    TKartenlayout empty; // no figures: the code is all there is to a card
    empty.DesignWidth = 85;
    empty.DesignHeight = 55;
    FDocument.SelectLayout(empty);
    QStringList lines;
    for (int i = 0; i < 100000; ++i)
        lines << QStringLiteral("Tel: 030 %1").arg(i, 7, 10, QLatin1Char('0'));
    FDocument.SetTelefonFax(lines);
    TQRCodeSettings code;
    code.Anzeigen = true;
    FDocument.SetQRCode(code);
    const std::clock_t start = std::clock();
    ASSERT_EQ(Print(5), TPrintResult::Printed);
    EXPECT_LT(double(std::clock() - start) / CLOCKS_PER_SEC, 1.0);
    EXPECT_EQ(FTarget.Jobs[0].Pages, 5);
}

TEST(CardCountText, SheetsTimesTheCardsOfOneSheet)
{
    RegisterPrintTexts();
    TBogenlayout sheet;
    EXPECT_EQ(CardCountText(sheet, 3), QStringLiteral("entspricht 30 Visitenkarten"));
    sheet.SetFolding();
    EXPECT_EQ(CardCountText(sheet, 3), QStringLiteral("entspricht 15 Visitenkarten"));
    sheet.Columns = 3;
    sheet.Rows = 4;
    EXPECT_EQ(CardCountText(sheet, 3), QStringLiteral("entspricht 36 Visitenkarten"));
}
