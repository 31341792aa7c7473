#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <stdexcept>

class QPrinter;
class QWidget;

class EPrinterError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The description texts of a printer, as far as the print service knows them.
struct TPrinterInfo
{
    QString ServerName;
    QString PrinterName;
    QString ShareName;
    QString PortName;
    QString DriverName;
    QString Comment;
    QString Location;
    QString SepFile;
    QString PrintProcessor;
    QString Datatype;
    QString Parameters;
};

// Device name of the printer that writes every page into a PDF file.
inline constexpr char PdfPrinterName[] = "PDF";

// The printer operations the program needs beyond QPrinter's own: the
// printer list with the PDF printer, paper kept across a printer change, the
// properties dialog, the description texts, the copy count and a printer
// name usable as a settings key.
class TPrinterSupport
{
public:
    explicit TPrinterSupport(QPrinter &printer);
    TPrinterSupport(const TPrinterSupport &) = delete;
    TPrinterSupport &operator=(const TPrinterSupport &) = delete;

    QPrinter &Printer() const { return FPrinter; }

    // The system's printers, then the PDF printer.
    static QStringList PrinterNames();
    // Makes the printer current, like choosing it in the printer list: the
    // paper settings in use stay pending for CarryOverPaperSettings.
    void SetPrinterName(const QString &name);
    bool IsPdfPrinter() const;

    // A file named by the caller for the PDF printer; with none, every job asks.
    void SetPdfFileName(const QString &fileName) { FPdfFileName = fileName; }
    QString PdfFileName() const { return FPdfFileName; }
    // Call before beginning a job: the PDF printer gets its output file
    // (asking the user when the caller named none). False when cancelled.
    bool PrepareJob();

    // After a printer change: the new printer's own settings with the
    // orientation and paper of the previous one (A4 portrait when it had none).
    void CarryOverPaperSettings();
    // Whether the printer has a page set-up dialog whose answers it uses:
    // the PDF printer has none.
    bool HasProperties() const { return !IsPdfPrinter(); }
    // The printer's page set-up dialog; true when the user confirmed it.
    // Without one, false and nothing shows.
    // Throws EPrinterError when the printer has no device settings.
    bool ShowProperties(QWidget *parent);
    // Leaves info unchanged when the printer cannot be asked.
    void GetPrinterInfo(TPrinterInfo &info) const;
    QString GetDeviceName() const;
    QString GetPortName() const;
    // Largest copy count the printer produces itself; -1 when it cannot be asked.
    int GetMaxCopies() const;
    // Throws EPrinterError while a job is printing; without device settings nothing changes.
    void SetCopies(quint16 count);
    // The device name without double backslashes, for a settings key.
    QString GetDeviceKeyName() const;
    static QString DeviceKeyName(const QString &deviceName);

private:
    struct TPaperSettings
    {
        QPageLayout::Orientation Orientation;
        QPageSize PageSize;
    };

    bool HasDeviceSettings() const;
    TPaperSettings PaperSettings() const;
    void ApplyPaperSettings(const TPaperSettings &settings);
    void LoadDefaultSettings();

    QPrinter &FPrinter;
    // Set by a printer change until CarryOverPaperSettings: whether the
    // printer left had device settings to carry over.
    bool FPrinterChanged = false;
    bool FPreviousHadSettings = false;
    QString FPdfFileName;
};

// The program's printer and its support, created on first use.
TPrinterSupport &PrinterSupport();
