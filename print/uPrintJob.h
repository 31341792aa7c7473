#pragma once

#include "print/uPrintOffsets.h"
#include "render/uQRCode.h"
#include "render/uScaler.h"

#include <QSizeF>
#include <QString>

#include <initializer_list>

class QPainter;
class TDocument;

// Where a print job's pages go: a printer of the system, the PDF printer,
// or a stand-in in tests.
class TPrintTarget
{
public:
    virtual ~TPrintTarget() = default;

    // Largest copy count the device produces itself; -1 when unknown.
    virtual int GetMaxCopies() const = 0;
    virtual void SetCopies(int count) = 0;
    // The paper of the sheet, in millimetres; set before each job begins.
    virtual void SetPaperSize(const QSizeF &mm) = 0;
    // Starts a job with its first page; false when the user declined to
    // name an output file. Throws EPrinterError when the device refuses.
    virtual bool BeginJob(const QString &title) = 0;
    virtual QPainter &Painter() = 0;
    // Resolution and unprintable margin of the page being drawn.
    virtual TPrinterMetrics Metrics() const = 0;
    virtual void NewPage() = 0;
    virtual void EndJob() = 0;
    // Ends the job without printing it.
    virtual void AbortJob() = 0;
    // The print action is over: its output is complete now (or thrown away
    // when the job was aborted).
    virtual void Close() {}
    // Pages go into a file, not onto paper: nobody inserts or turns sheets,
    // and a two-sided card's pages alternate front and back, as duplex
    // printing and print shops pair them.
    virtual bool IsFile() const { return false; }
};

// What the print job needs from the window that starts it.
class TPrintJobUi
{
public:
    virtual ~TPrintJobUi() = default;

    // The controls that start or change a job are off while it prints.
    virtual void EnableControls(bool enabled) = 0;
    virtual void SetBusy(bool busy) = 0;
    // Page `page` (counted from 1) of `count` is about to be drawn; false
    // cancels the job. Only called for jobs of more than a few pages.
    virtual bool PageProgress(int page, int count) = 0;
    virtual void EndProgress() = 0;
    virtual void ShowAssistantPicture(int number) = 0;
};

enum class TPrintResult {
    Cancelled, // declined before anything was printed
    Printed,
    Aborted, // stopped by the user while pages went out
};

// Prints the document's sheets: all fronts in one job and, for a two-sided
// card, after the user turned the sheets over, all backs in a second one;
// into a file, one job of front, back, front, back, ... without questions.
// The printer makes the copies itself when it can; otherwise every sheet is
// a page of its own. Fronts are moved by the front correction, backs by the
// back correction; the test page of a two-sided card is printed the same way.
class TPrintJob
{
public:
    static constexpr int BackSidePauseMs = 3000;
    // Jobs with more pages than this show their progress.
    static constexpr int ProgressThreshold = 3;
    // Assistant pictures after a print job.
    static constexpr int PictureAfterPrint = 4;
    static constexpr int PictureAdvert = 6;

    TPrintJob(const TDocument &document, TPrintTarget &target, TPrintJobUi &ui, const TPrintCorrection &correction);

    // The pause before the back-side prompt; the window keeps painting.
    void SetBackSidePause(int ms) { FBackSidePauseMs = ms; }
    // Without confirmations every question is answered with OK.
    void SetConfirm(bool confirm) { FConfirm = confirm; }

    TPrintResult PrintCards(int sheets);
    TPrintResult PrintTestSheet();

private:
    enum class TPage { Front, Back, TestFront, TestBack };

    bool Confirm(const QString &text) const;
    // The paper question; a file needs none.
    bool ConfirmPaper(const QString &text) const;
    // The fronts and, for a two-sided card, once the user has turned the
    // sheets over, the backs; into a file each back follows its front.
    TPrintResult PrintSides(TPage front, TPage back, int sheets);
    // One job of `sheets` sheets, each printing the pages of `sides` in turn.
    TPrintResult PrintJob(std::initializer_list<TPage> sides, int sheets);
    void PrepareQRCode();
    void DrawPage(TPage page);
    void Pause() const;

    const TDocument &FDocument;
    TPrintTarget &FTarget;
    TPrintJobUi &FUi;
    TPrintCorrection FCorrection;
    int FBackSidePauseMs = BackSidePauseMs;
    bool FConfirm = true;
    // Encoded once for all cards of an action.
    TQRCodePtr FQRCode;
};

// The floating-point state the program runs with: all exceptions masked,
// rounding to nearest. Printer drivers may leave it changed.
void RestoreFloatingPointState();
