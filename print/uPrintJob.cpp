#include "print/uPrintJob.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/uPrintTexts.h"
#include "render/uDefaultView.h"
#include "render/uTextFit.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <cfenv>

namespace {

// The controls stay off and the cursor busy until the action ends, however it ends.
class TBusyScope
{
public:
    TBusyScope(TPrintJobUi &ui, bool disableControls) : FUi(ui), FControls(disableControls)
    {
        if (FControls)
            FUi.EnableControls(false);
        FUi.SetBusy(true);
    }
    ~TBusyScope()
    {
        FUi.SetBusy(false);
        if (FControls)
            FUi.EnableControls(true);
    }
    TBusyScope(const TBusyScope &) = delete;
    TBusyScope &operator=(const TBusyScope &) = delete;

private:
    TPrintJobUi &FUi;
    bool FControls;
};

// The printer's copy count is 1 again after every action, also one that failed.
class TCopiesScope
{
public:
    explicit TCopiesScope(TPrintTarget &target) : FTarget(target) {}
    ~TCopiesScope()
    {
        try {
            FTarget.SetCopies(1);
        } catch (...) {
            // Only refused while a job runs, and every job has ended here.
        }
    }
    TCopiesScope(const TCopiesScope &) = delete;
    TCopiesScope &operator=(const TCopiesScope &) = delete;

private:
    TPrintTarget &FTarget;
};

} // namespace

void RestoreFloatingPointState()
{
    // The default environment is exactly that: no traps, round to nearest.
    std::fesetenv(FE_DFL_ENV);
}

TPrintJob::TPrintJob(const TDocument &document, TPrintTarget &target, TPrintJobUi &ui,
                     const TPrintCorrection &correction)
    : FDocument(document), FTarget(target), FUi(ui), FCorrection(correction)
{
    RegisterPrintTexts();
}

bool TPrintJob::Confirm(const QString &text) const
{
    if (!FConfirm)
        return true;
    return ShowMessageBox(TMsgDlgType::Information, text, mbOK | mbCancel, mbOK) == mbOK;
}

TPrintResult TPrintJob::PrintCards(int sheets)
{
    QStringList question;
    if (!FTarget.IsFile())
        question << FormatPrintText(QStringLiteral("ID_DRUCK1"), {sheets});
    // The user may still print what fits, or go back and shorten the text.
    if (const QString lost = CardFitSentence(FDocument, FDocument.Kartenlayout()); !lost.isEmpty())
        question << lost;
    if (!question.isEmpty() && !Confirm(question.join(QStringLiteral("\n\n"))))
        return TPrintResult::Cancelled;
    TBusyScope busy(FUi, true);
    PrepareQRCode();
    TPrintResult result = TPrintResult::Cancelled;
    {
        TCopiesScope copies(FTarget);
        int pages = sheets;
        if (sheets < FTarget.GetMaxCopies()) {
            FTarget.SetCopies(sheets);
            pages = 1;
        }
        result = PrintSides(TPage::Front, TPage::Back, pages);
    }
    FTarget.Close();
    if (result != TPrintResult::Cancelled) {
        FUi.ShowAssistantPicture(PictureAfterPrint);
        FUi.ShowAssistantPicture(PictureAdvert);
    }
    return result;
}

TPrintResult TPrintJob::PrintTestSheet()
{
    if (!ConfirmPaper(PrintText(QStringLiteral("ID_TESTDRUCK1"))))
        return TPrintResult::Cancelled;
    TBusyScope busy(FUi, false);
    PrepareQRCode();
    TPrintResult result = TPrintResult::Cancelled;
    {
        TCopiesScope copies(FTarget);
        FTarget.SetCopies(1);
        result = PrintSides(TPage::TestFront, TPage::TestBack, 1);
    }
    FTarget.Close();
    return result;
}

bool TPrintJob::ConfirmPaper(const QString &text) const
{
    return FTarget.IsFile() || Confirm(text);
}

TPrintResult TPrintJob::PrintSides(TPage front, TPage back, int sheets)
{
    if (!FDocument.MitRueckseite())
        return PrintJob({front}, sheets);
    if (FTarget.IsFile())
        return PrintJob({front, back}, sheets);
    TPrintResult result = PrintJob({front}, sheets);
    if (result == TPrintResult::Printed) {
        Pause();
        // Declining the backs keeps the fronts printed.
        if (Confirm(PrintText(QStringLiteral("ID_DRUCK2"))) && PrintJob({back}, sheets) == TPrintResult::Aborted)
            result = TPrintResult::Aborted;
    }
    return result;
}

TPrintResult TPrintJob::PrintJob(std::initializer_list<TPage> sides, int sheets)
{
    // The page is the sheet's paper, whatever the printer was set to.
    const TBogenlayout &sheet = FDocument.Bogenlayout();
    FTarget.SetPaperSize(QSizeF(sheet.SheetWidth, sheet.SheetHeight));
    if (!FTarget.BeginJob(PrintText(QStringLiteral("ID_PROGRAMMNAME"))))
        return TPrintResult::Cancelled;
    try {
        const int pages = sheets * int(sides.size());
        const bool showProgress = pages > ProgressThreshold;
        for (int i = 0; i < pages; ++i) {
            if (showProgress && !FUi.PageProgress(i + 1, pages)) {
                FUi.EndProgress();
                FTarget.AbortJob();
                return TPrintResult::Aborted;
            }
            if (i > 0)
                FTarget.NewPage();
            DrawPage(sides.begin()[std::size_t(i) % sides.size()]);
        }
        if (showProgress)
            FUi.EndProgress();
    } catch (...) {
        FTarget.AbortJob();
        throw;
    }
    RestoreFloatingPointState();
    FTarget.EndJob();
    RestoreFloatingPointState();
    return TPrintResult::Printed;
}

void TPrintJob::DrawPage(TPage page)
{
    TScaleCanvas canvas(FTarget.Painter());
    canvas.SetupForDevice(TScaleDevice::sdPrinter, FTarget.Metrics());
    const bool back = page == TPage::Back || page == TPage::TestBack;
    const TPrintOffsets &offsets = FCorrection.Of(back ? TPrintSide::Back : TPrintSide::Front);
    canvas.SetOffsetX(offsets.X);
    canvas.SetOffsetY(offsets.Y);
    const TPrintView view(FQRCode);
    if (page == TPage::TestFront || page == TPage::TestBack)
        view.DrawTestSheet(canvas, FDocument, back);
    else
        view.DrawSheet(canvas, FDocument, back);
}

void TPrintJob::PrepareQRCode()
{
    FQRCode = FDocument.QRCode().Anzeigen ? DocumentQRCode(FDocument) : nullptr;
}

void TPrintJob::Pause() const
{
    if (FBackSidePauseMs <= 0)
        return;
    // Waits with the window painted; clicks and keys wait until the prompt.
    QEventLoop loop;
    QTimer::singleShot(FBackSidePauseMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
