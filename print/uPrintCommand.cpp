#include "print/uPrintCommand.h"

#include "locale/uEnvironmentLanguage.h"
#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "model/uContactFile.h"
#include "model/uDocument.h"
#include "print/uPrintJob.h"
#include "print/uPrintTexts.h"
#include "print/uPrinterSupport.h"
#include "print/uPrinterTarget.h"
#include "render/uDIB.h"
#include "render/uQRCode.h"
#include "render/uTextFit.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextStream>

#include <exception>

namespace {

class ECommandLineError : public std::runtime_error
{
public:
    explicit ECommandLineError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

QString CommandText(const char *key, const QString &argument)
{
    return FormatOrKeep(GetSectionText(QLatin1String(CommandLineTextSection), QLatin1String(key)), {argument});
}

// A message of the window, which may run over lines, on one line.
QString OneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// Messages of the loaders (a missing logo) go to standard error; every
// question takes its default answer and no file dialog opens.
class TConsoleDialogs : public TDialogService
{
public:
    int MessageBox(TMsgDlgType, const QString &, const QString &text, int, int defaultButton) override
    {
        QTextStream(stderr) << "tessaro: " << OneLine(text) << '\n';
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
        throw ECommandLineError(CommandText("ID_KARTEFEHLT", cardFile));
    if (document.LoadFromFile(cardFile))
        return;
    if (!document.LoadError().isEmpty())
        throw ECommandLineError(
            OneLine(FormatDefaultText(QStringLiteral("ID_BOGENDATEI"), {cardFile, document.LoadError()})));
    if (const QString reason = document.ReadFailure(); !reason.isEmpty())
        throw ECommandLineError(
            OneLine(FormatDefaultText(QStringLiteral("ID_KARTENICHTLESBAR"), {cardFile, reason})));
    throw ECommandLineError(CommandText("ID_KEINEKARTE", cardFile));
}

void ChoosePrinter(TPrinterSupport &support, const TPrintCommand &command)
{
    if (!command.PdfFile.isEmpty()) {
        support.SetPrinterName(QLatin1String(PdfPrinterName));
        support.SetPdfFileName(command.PdfFile);
    } else {
        if (!QPrinterInfo::availablePrinterNames().contains(command.Printer))
            throw ECommandLineError(CommandText("ID_DRUCKERFEHLT", command.Printer));
        support.SetPrinterName(command.Printer);
        support.CarryOverPaperSettings();
    }
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
    if (!command.ContactFile.isEmpty())
        if (const QString refusal = ImportContactAt(document, command.ContactFile, command.ContactIndex - 1);
            !refusal.isEmpty())
            throw ECommandLineError(OneLine(refusal));
    TPrinterSupport &support = PrinterSupport();
    ChoosePrinter(support, command);
    // Nobody sees the window's question that names what does not fit and
    // whether the code is left off.
    if (!command.TestPage) {
        if (const QString lost = CardFitSentence(document, document.Kartenlayout()); !lost.isEmpty())
            QTextStream(stderr) << "tessaro: " << OneLine(lost) << '\n';
    } else if (document.QRCode().Anzeigen) {
        RegisterQRCodeTexts();
        const TQRCodeProblem problem = QRCodeProblem(document, DocumentQRCode(document), document.Kartenlayout());
        if (LeavesQRCodeOff(problem))
            QTextStream(stderr) << "tessaro: " << QRCodeProblemText(problem) << '\n';
    }

    TPrinterTarget target(support);
    TConsolePrintUi ui;
    TPrintJob job(document, target, ui, LoadPrintCorrection(support.GetDeviceKeyName()));
    job.SetConfirm(false);
    job.SetBackSidePause(0);
    const TPrintResult result = command.TestPage ? job.PrintTestSheet() : job.PrintCards(command.Sheets);
    return result == TPrintResult::Printed ? 0 : 1;
}

} // namespace

void RegisterPrintCommandTexts()
{
    const QString section = QLatin1String(CommandLineTextSection);
    RegisterSectionDefault(section, QStringLiteral("ID_KARTEFEHLT"),
                           QStringLiteral("Die Visitenkartendatei \"%s\" gibt es nicht."));
    RegisterSectionDefault(section, QStringLiteral("ID_KEINEKARTE"), QStringLiteral("\"%s\" ist keine Visitenkartendatei."));
    RegisterSectionDefault(section, QStringLiteral("ID_DRUCKERFEHLT"), QStringLiteral("Den Drucker \"%s\" gibt es nicht."));
}

int RunPrintCommand(int &argc, char **argv, const TPrintCommand &command)
{
    // No window is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterPrintCommandTexts();
    UseEnvironmentLanguage();
    int result = 1;
    try {
        result = Print(command);
    } catch (const ECommandLineError &error) {
        QTextStream(stderr) << "tessaro: " << QString::fromStdString(error.what()) << '\n';
        result = 2;
    } catch (const std::exception &error) {
        QTextStream(stderr) << "tessaro: " << QString::fromStdString(error.what()) << '\n';
    }
    // Resource-writing mode writes its text file now, while its failure can
    // still be told and counted.
    const TFileError written = Localizer().Finish();
    if (written.Kind == TFileError::None)
        return result;
    const QString textFile = Localizer().ResourceFileName();
    QTextStream(stderr) << "tessaro: "
                        << OneLine(TextInEnvironmentLanguage([&] { return ResourceFileErrorText(textFile, written); }))
                        << '\n';
    return result ? result : 1;
}
