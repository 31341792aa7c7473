#include "print/uPrinterSupport.h"

#include "print/uCupsQuery.h"
#include "print/uPrintTexts.h"
#include "support/uDialogService.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

TPrinterSupport::TPrinterSupport(QPrinter &printer) : FPrinter(printer)
{
    RegisterPrintTexts();
}

QStringList TPrinterSupport::PrinterNames()
{
    // A system printer called "PDF" would share our PDF printer's settings
    // key; ours does the same job, so it takes the name.
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.removeAll(QLatin1String(PdfPrinterName));
    names << QLatin1String(PdfPrinterName);
    return names;
}

void TPrinterSupport::SetPrinterName(const QString &name)
{
    FPrinterChanged = true;
    FPreviousHadSettings = HasDeviceSettings();
    const TPaperSettings kept = PaperSettings();
    if (name == QLatin1String(PdfPrinterName)) {
        FPrinter.setOutputFormat(QPrinter::PdfFormat);
    } else {
        FPrinter.setOutputFileName(QString());
        FPrinter.setOutputFormat(QPrinter::NativeFormat);
        FPrinter.setPrinterName(name);
    }
    // Changing the printer alone does not touch the settings in use.
    ApplyPaperSettings(kept);
}

bool TPrinterSupport::IsPdfPrinter() const
{
    return FPrinter.outputFormat() == QPrinter::PdfFormat;
}

bool TPrinterSupport::PrepareJob()
{
    if (!IsPdfPrinter())
        return true;
    QString fileName = FPdfFileName;
    if (fileName.isEmpty()) {
        TFileDialogRequest request;
        request.Title = PrintText(QStringLiteral("ID_PDFDRUCKEN"));
        request.Filter = PrintText(QStringLiteral("ID_PDFDATEIEN")) + QStringLiteral(" (*.pdf)");
        request.DefaultSuffix = QStringLiteral("pdf");
        fileName = Dialogs().GetSaveFileName(request);
        if (fileName.isEmpty())
            return false;
    }
    FPrinter.setOutputFileName(fileName);
    return true;
}

void TPrinterSupport::CarryOverPaperSettings()
{
    // The settings in use are still the previous printer's.
    const bool hadSettings = FPrinterChanged ? FPreviousHadSettings : HasDeviceSettings();
    const TPaperSettings previous =
        hadSettings ? PaperSettings() : TPaperSettings{QPageLayout::Portrait, QPageSize(QPageSize::A4)};
    FPrinterChanged = false;
    LoadDefaultSettings();
    if (HasDeviceSettings())
        ApplyPaperSettings(previous);
}

bool TPrinterSupport::ShowProperties(QWidget *parent)
{
    if (!HasDeviceSettings())
        throw EPrinterError(PrintText(QStringLiteral("ID_KEINTREIBER")).toStdString());
    if (!HasProperties() || QPrinterInfo::printerInfo(FPrinter.printerName()).isNull())
        return false;
    const TPaperSettings before = PaperSettings();
    QPageSetupDialog dialog(&FPrinter, parent);
    if (dialog.exec() == QDialog::Accepted)
        return true;
    ApplyPaperSettings(before);
    return false;
}

void TPrinterSupport::GetPrinterInfo(TPrinterInfo &info) const
{
    if (IsPdfPrinter()) {
        info = TPrinterInfo();
        info.PrinterName = QLatin1String(PdfPrinterName);
        info.PortName = GetPortName();
        info.DriverName = QStringLiteral("Tessaro PDF");
        info.Comment = PrintText(QStringLiteral("ID_PDFKOMMENTAR"));
        info.Datatype = QStringLiteral("application/pdf");
        return;
    }
    const auto description = Cups::DescribePrinter(FPrinter.printerName());
    if (!description)
        return;
    info = TPrinterInfo();
    info.ServerName = description->Server;
    info.PrinterName = description->Name;
    info.ShareName = description->ShareName;
    info.PortName = description->DeviceUri;
    info.DriverName = description->MakeAndModel;
    info.Comment = description->Info;
    info.Location = description->Location;
    info.SepFile = description->JobSheets;
    info.Datatype = description->DocumentFormat;
}

QString TPrinterSupport::GetDeviceName() const
{
    return IsPdfPrinter() ? QString::fromLatin1(PdfPrinterName) : FPrinter.printerName();
}

QString TPrinterSupport::GetPortName() const
{
    if (IsPdfPrinter())
        return FPrinter.outputFileName();
    const auto description = Cups::DescribePrinter(FPrinter.printerName());
    return description ? description->DeviceUri : QString();
}

int TPrinterSupport::GetMaxCopies() const
{
    // Every sheet becomes a page of its own in the file.
    if (IsPdfPrinter())
        return 1;
    return Cups::MaxCopies(FPrinter.printerName());
}

void TPrinterSupport::SetCopies(quint16 count)
{
    if (FPrinter.printerState() == QPrinter::Active)
        throw EPrinterError(PrintText(QStringLiteral("ID_KOPIENIMDRUCK")).toStdString());
    if (!HasDeviceSettings())
        return;
    FPrinter.setCopyCount(qMax<int>(1, count));
}

QString TPrinterSupport::GetDeviceKeyName() const
{
    return DeviceKeyName(GetDeviceName());
}

QString TPrinterSupport::DeviceKeyName(const QString &deviceName)
{
    return QString(deviceName).remove(QStringLiteral("\\\\"));
}

bool TPrinterSupport::HasDeviceSettings() const
{
    return FPrinter.isValid();
}

TPrinterSupport::TPaperSettings TPrinterSupport::PaperSettings() const
{
    return {FPrinter.pageLayout().orientation(), FPrinter.pageLayout().pageSize()};
}

void TPrinterSupport::ApplyPaperSettings(const TPaperSettings &settings)
{
    FPrinter.setPageSize(settings.PageSize);
    FPrinter.setPageOrientation(settings.Orientation);
}

void TPrinterSupport::LoadDefaultSettings()
{
    QPageSize pageSize(QPageSize::A4);
    if (!IsPdfPrinter()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(FPrinter.printerName());
        if (!info.isNull() && info.defaultPageSize().isValid())
            pageSize = info.defaultPageSize();
    }
    FPrinter.setPageSize(pageSize);
    FPrinter.setPageOrientation(QPageLayout::Portrait);
    FPrinter.setCopyCount(1);
}

TPrinterSupport &PrinterSupport()
{
    // Freed with the application object, before Qt's print support goes away.
    static TPrinterSupport *support = [] {
        auto *printer = new QPrinter(QPrinter::HighResolution);
        auto *instance = new TPrinterSupport(*printer);
        qAddPostRoutine([] {
            QPrinter *owned = &support->Printer();
            delete support;
            delete owned;
        });
        return instance;
    }();
    return *support;
}
