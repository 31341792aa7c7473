#include "print/uPrintCommand.h"

#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/uPrintJob.h"
#include "print/uPrintTexts.h"
#include "print/uPrinterSupport.h"
#include "print/uPrinterTarget.h"
#include "render/uDIB.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <QTextStream>

#include <cstring>
#include <exception>

namespace {

const char PdfSwitch[] = "--print-to-pdf";
const char PrinterSwitch[] = "--print-to-printer";

struct TPrintCommand
{
    QString PdfFile;
    QString Printer;
    int Sheets = 1;
    bool TestPage = false;
    QString CardFile;
};

class ECommandLineError : public std::runtime_error
{
public:
    explicit ECommandLineError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

bool AsksForPrinting(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], PdfSwitch) == 0 || std::strcmp(argv[i], PrinterSwitch) == 0)
            return true;
    return false;
}

TPrintCommand ParseCommand(const QStringList &arguments)
{
    TPrintCommand command;
    bool haveTarget = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= arguments.size())
                throw ECommandLineError(QStringLiteral("Nach %1 fehlt ein Wert.").arg(argument));
            return arguments[++i];
        };
        if (argument == QLatin1String(PdfSwitch) || argument == QLatin1String(PrinterSwitch)) {
            if (haveTarget)
                throw ECommandLineError(QStringLiteral("Es kann nur ein Ausgabeziel angegeben werden."));
            haveTarget = true;
            (argument == QLatin1String(PdfSwitch) ? command.PdfFile : command.Printer) = value();
        } else if (argument == QLatin1String("--sheets")) {
            const QString text = value();
            bool ok = false;
            command.Sheets = text.toInt(&ok);
            if (!ok || command.Sheets < 1 || command.Sheets > 99)
                throw ECommandLineError(
                    QStringLiteral("Die Anzahl Bögen \"%1\" ist keine ganze Zahl von 1 bis 99.").arg(text));
        } else if (argument == QLatin1String("--test-page")) {
            command.TestPage = true;
        } else if (argument.startsWith(QLatin1Char('-'))) {
            throw ECommandLineError(QStringLiteral("Unbekannte Option %1.").arg(argument));
        } else if (command.CardFile.isEmpty()) {
            command.CardFile = argument;
        } else {
            throw ECommandLineError(QStringLiteral("Es kann nur eine Visitenkartendatei gedruckt werden."));
        }
    }
    return command;
}

// Messages of the loaders (a missing logo) go to standard error; every
// question takes its default answer and no file dialog opens.
class TConsoleDialogs : public TDialogService
{
public:
    int MessageBox(TMsgDlgType, const QString &, const QString &text, int, int defaultButton) override
    {
        QTextStream(stderr) << "tessaro: " << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
        return defaultButton ? defaultButton : mbOK;
    }
    QString GetOpenFileName(const TFileDialogRequest &) override { return {}; }
    QString GetSaveFileName(const TFileDialogRequest &) override { return {}; }
};

// Nobody watches: no controls, no progress, no assistant.
class TConsolePrintUi : public TPrintJobUi
{
public:
    void EnableControls(bool) override {}
    void SetBusy(bool) override {}
    bool PageProgress(int, int) override { return true; }
    void EndProgress() override {}
    void ShowAssistantPicture(int) override {}
};

void LoadCard(TDocument &document, const QString &cardFile)
{
    if (cardFile.isEmpty()) {
        document.LoadDefault();
        return;
    }
    if (!QFileInfo(cardFile).isFile())
        throw ECommandLineError(QStringLiteral("Die Visitenkartendatei \"%1\" gibt es nicht.").arg(cardFile));
    if (!document.LoadFromFile(cardFile))
        throw ECommandLineError(QStringLiteral("\"%1\" ist keine Visitenkartendatei.").arg(cardFile));
}

void ChoosePrinter(TPrinterSupport &support, const TPrintCommand &command)
{
    if (!command.PdfFile.isEmpty()) {
        support.SetPrinterName(QLatin1String(PdfPrinterName));
        support.SetPdfFileName(command.PdfFile);
    } else {
        if (!QPrinterInfo::availablePrinterNames().contains(command.Printer))
            throw ECommandLineError(QStringLiteral("Den Drucker \"%1\" gibt es nicht.").arg(command.Printer));
        support.SetPrinterName(command.Printer);
        support.CarryOverPaperSettings();
    }
    // Card sheets are A4, whatever the printer's own default paper.
    support.Printer().setPageSize(QPageSize(QPageSize::A4));
    support.Printer().setPageOrientation(QPageLayout::Portrait);
}

int Print(const TPrintCommand &command)
{
    RegisterDocumentTexts();
    RegisterDIBTexts();
    RegisterPrintTexts();
    TConsoleDialogs dialogs;
    const TDialogServiceOverride dialogOverride(dialogs);

    ReportSetAsideSettings();
    TDocument document;
    LoadCard(document, command.CardFile);
    TPrinterSupport &support = PrinterSupport();
    ChoosePrinter(support, command);

    TPrinterTarget target(support);
    TConsolePrintUi ui;
    TPrintJob job(document, target, ui, LoadPrintOffsets(support.GetDeviceKeyName()));
    job.SetConfirm(false);
    job.SetBackSidePause(0);
    const TPrintResult result = command.TestPage ? job.PrintTestSheet() : job.PrintCards(command.Sheets);
    return result == TPrintResult::Printed ? 0 : 1;
}

} // namespace

std::optional<int> RunPrintCommand(int &argc, char **argv)
{
    if (!AsksForPrinting(argc, argv))
        return std::nullopt;
    // No window is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        return Print(ParseCommand(QCoreApplication::arguments()));
    } catch (const ECommandLineError &error) {
        QTextStream(stderr) << "tessaro: " << QString::fromStdString(error.what()) << '\n';
        return 2;
    } catch (const std::exception &error) {
        QTextStream(stderr) << "tessaro: " << QString::fromStdString(error.what()) << '\n';
        return 1;
    }
}
