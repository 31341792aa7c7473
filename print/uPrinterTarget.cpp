#include "print/uPrinterTarget.h"

#include "print/uPrintTexts.h"
#include "locale/uFileErrorText.h"
#include "print/uPrinterSupport.h"
#include "support/uAtomicFile.h"

#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <limits>

namespace {

// The print engine's key for the options it hands to CUPS with the job.
constexpr auto CupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

EPrinterError CannotWrite(const TAtomicFile &file)
{
    return EPrinterError(
        FormatPrintText(QStringLiteral("ID_PDFNICHTSCHREIBBAR"), {file.FileName(), FileErrorReason(file.Error())})
            .toStdString());
}

void CancelNewestHeldJob(const QString &printerName)
{
    const QByteArray name = printerName.toUtf8();
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 1, CUPS_WHICHJOBS_ACTIVE);
    int newest = 0;
    for (int i = 0; i < count; ++i)
        if (jobs[i].state == IPP_JSTATE_HELD)
            newest = qMax(newest, jobs[i].id);
    cupsFreeJobs(count, jobs);
    if (newest > 0)
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), newest, 1);
}

} // namespace

TPrinterTarget::TPrinterTarget(TPrinterSupport &support) : FSupport(support) {}

TPrinterTarget::~TPrinterTarget()
{
    if (FPdfWriter)
        DiscardPdf();
    else if (FPainter.isActive())
        AbortJob();
}

int TPrinterTarget::GetMaxCopies() const
{
    return FSupport.GetMaxCopies();
}

void TPrinterTarget::SetCopies(int count)
{
    FSupport.SetCopies(static_cast<quint16>(qBound(1, count, int(std::numeric_limits<quint16>::max()))));
}

void TPrinterTarget::SetPaperSize(const QSizeF &mm)
{
    // Page sizes are portrait; a sheet wider than high is turned.
    const bool landscape = mm.width() > mm.height();
    const QPageSize size(landscape ? mm.transposed() : mm, QPageSize::Millimeter);
    QPrinter &printer = FSupport.Printer();
    printer.setPageSize(size);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool TPrinterTarget::BeginJob(const QString &title)
{
    if (FSupport.IsPdfPrinter())
        return BeginPdfJob(title);
    if (!FSupport.PrepareJob())
        return false;
    QPrinter &printer = FSupport.Printer();
    // A queue removed since it was chosen would swallow the job without a word.
    if (QPrinterInfo::printerInfo(printer.printerName()).isNull())
        throw EPrinterError(
            FormatPrintText(QStringLiteral("ID_DRUCKERFEHLT"), {FSupport.GetDeviceName()}).toStdString());
    printer.setDocName(title);
    if (!FPainter.begin(&printer))
        throw EPrinterError(
            FormatPrintText(QStringLiteral("ID_DRUCKERNIMMTNICHTAN"), {FSupport.GetDeviceName()}).toStdString());
    return true;
}

bool TPrinterTarget::BeginPdfJob(const QString &title)
{
    if (!FSupport.PrepareJob())
        return false;
    const QPrinter &printer = FSupport.Printer();
    auto file = std::make_unique<TAtomicFile>(printer.outputFileName());
    if (!file->Open())
        throw CannotWrite(*file);
    auto writer = std::make_unique<QPdfWriter>(&file->Device());
    writer->setResolution(printer.resolution());
    QPageLayout layout = printer.pageLayout();
    if (printer.fullPage())
        layout.setMargins(QMarginsF());
    writer->setPageLayout(layout);
    writer->setTitle(title);
    writer->setCreator(title);
    FPdfFile = std::move(file);
    FPdfWriter = std::move(writer);
    if (!FPainter.begin(FPdfWriter.get())) {
        DiscardPdf();
        throw EPrinterError(PrintText(QStringLiteral("ID_PDFNICHTANGELEGT")).toStdString());
    }
    return true;
}

TPrinterMetrics TPrinterTarget::Metrics() const
{
    if (!FPdfWriter)
        return PrinterMetricsOf(FSupport.Printer());
    TPrinterMetrics metrics;
    metrics.DpiX = metrics.DpiY = FPdfWriter->resolution();
    metrics.PhysicalOffset = FPdfWriter->pageLayout().paintRectPixels(FPdfWriter->resolution()).topLeft();
    return metrics;
}

void TPrinterTarget::NewPage()
{
    const bool started = FPdfWriter ? FPdfWriter->newPage() : FSupport.Printer().newPage();
    if (!started)
        throw EPrinterError(PrintText(QStringLiteral("ID_KEINENEUESEITE")).toStdString());
}

void TPrinterTarget::EndJob()
{
    // The PDF file takes the chosen name when the action is closed.
    if (FPdfWriter)
        return;
    if (!FPainter.end() || FSupport.Printer().printerState() == QPrinter::Error)
        throw EPrinterError(
            FormatPrintText(QStringLiteral("ID_DRUCKFEHLGESCHLAGEN"), {FSupport.GetDeviceName()}).toStdString());
}

void TPrinterTarget::AbortJob()
{
    if (FPdfWriter) {
        DiscardPdf();
        return;
    }
    QPrinter &printer = FSupport.Printer();
    if (printer.abort() || !FPainter.isActive())
        return;
    // The print service cannot take back what was drawn, so the rest goes
    // out held and is cancelled at once.
    printer.printEngine()->setProperty(CupsOptionsProperty, QStringList{"job-hold-until", "indefinite"});
    FPainter.end();
    CancelNewestHeldJob(printer.printerName());
}

void TPrinterTarget::Close()
{
    if (!FPdfWriter)
        return;
    FPainter.end();
    FPdfWriter.reset();
    const std::unique_ptr<TAtomicFile> file = std::move(FPdfFile);
    if (!file->Commit())
        throw CannotWrite(*file);
}

bool TPrinterTarget::IsFile() const
{
    return FSupport.IsPdfPrinter();
}

void TPrinterTarget::DiscardPdf()
{
    if (FPainter.isActive())
        FPainter.end();
    FPdfWriter.reset();
    FPdfFile.reset();
}
