#include "print/uPdfExport.h"

#include "locale/ulocalize.h"
#include "print/uPrintTexts.h"
#include "print/uPrinterTarget.h"
#include "support/uDialogService.h"

#include <QFileInfo>

namespace {

const QString PdfSuffix = QStringLiteral("pdf");

} // namespace

void TPdfExport::RegisterTexts()
{
    const QString section = QLatin1String(PrintTextSection);
    RegisterSectionDefault(section, QStringLiteral("ID_PDFEXPORT"), QStringLiteral("Als PDF exportieren"));
    RegisterSectionDefault(section, QStringLiteral("ID_PDFEXPORTDATEIEN"), QStringLiteral("PDF-Dateien"));
}

QString TPdfExport::ChooseFile(const QString &cardFile)
{
    RegisterTexts();
    TFileDialogRequest request;
    request.Title = PrintText(QStringLiteral("ID_PDFEXPORT"));
    request.Filter = PrintText(QStringLiteral("ID_PDFEXPORTDATEIEN")) + QStringLiteral(" (*.pdf)");
    request.DefaultSuffix = PdfSuffix;
    request.OverwritePrompt = true;
    if (!cardFile.isEmpty()) {
        const QFileInfo card(cardFile);
        request.FileName = card.absolutePath() + QLatin1Char('/') + card.completeBaseName() + QLatin1Char('.') + PdfSuffix;
    }
    QString path = Dialogs().GetSaveFileName(request);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + PdfSuffix;
    return path;
}

TPdfExport::TPdfExport(const QString &fileName) : FPrinter(QPrinter::HighResolution), FSupport(FPrinter)
{
    FSupport.SetPrinterName(QLatin1String(PdfPrinterName));
    FSupport.SetPdfFileName(fileName);
}

TPrintResult TPdfExport::PrintCards(const TDocument &document, int sheets, TPrintJobUi &ui)
{
    TPrinterTarget target(FSupport);
    TPrintJob job(document, target, ui, LoadPrintCorrection(FSupport.GetDeviceKeyName()));
    job.SetConfirm(false);
    job.SetBackSidePause(0);
    return job.PrintCards(sheets);
}
