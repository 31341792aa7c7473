#pragma once

#include "print/uPrintJob.h"

#include <QPainter>

#include <memory>

class QPdfWriter;
class TAtomicFile;
class TPrinterSupport;

// The print job's pages on the current printer of the printer support.
// The PDF printer writes the one job of a print action into a file beside
// the chosen one, which takes its place only when the action is complete and
// every byte is on the disk, so a cancelled or failed action leaves no file,
// or an existing one as it was. A name that belongs to something other than
// a file (a folder, a FIFO, a device) is refused.
class TPrinterTarget : public TPrintTarget
{
public:
    explicit TPrinterTarget(TPrinterSupport &support);
    ~TPrinterTarget() override;

    int GetMaxCopies() const override;
    void SetCopies(int count) override;
    void SetPaperSize(const QSizeF &mm) override;
    bool BeginJob(const QString &title) override;
    QPainter &Painter() override { return FPainter; }
    TPrinterMetrics Metrics() const override;
    void NewPage() override;
    void EndJob() override;
    void AbortJob() override;
    void Close() override;
    bool IsFile() const override;

private:
    bool BeginPdfJob(const QString &title);
    void DiscardPdf();

    TPrinterSupport &FSupport;
    QPainter FPainter;
    std::unique_ptr<TAtomicFile> FPdfFile;
    std::unique_ptr<QPdfWriter> FPdfWriter;
};
