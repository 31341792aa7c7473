#include "PrivateCupsServer.h"

#include "common/ScriptedDialogs.h"
#include "print/uPrinterSupport.h"
#include "print/uPrinterTarget.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

// Prints one page with a line of text; the error text when it fails.
QString PrintOnePage(TPrinterSupport &support)
{
    try {
        TPrinterTarget target(support);
        if (!target.BeginJob(QStringLiteral("Tessaro")))
            return QStringLiteral("cancelled");
        target.Painter().drawText(100, 100, QStringLiteral("Visitenkarte"));
        target.EndJob();
        target.Close();
    } catch (const EPrinterError &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

// On a machine without any printer the PDF printer is the only one offered
// and the one in use from the start; printing asks for the file.
TEST(NoPrinter, ThePdfPrinterIsOfferedAndInUseAndPrints)
{
    TPrivateCupsServer server;
    if (!server.Running())
        GTEST_SKIP() << "no private CUPS server could be started";
    ASSERT_EQ(TPrinterSupport::PrinterNames(), QStringList{QStringLiteral("PDF")});

    QPrinter printer(QPrinter::HighResolution);
    TPrinterSupport support(printer);
    EXPECT_EQ(support.GetDeviceName(), QStringLiteral("PDF"));

    TScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("karten.pdf"));
    dialogs.Files = {pdf};
    EXPECT_EQ(PrintOnePage(support), QString());
    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_EQ(dialogs.FileRequests[0].Title, QStringLiteral("In PDF-Datei drucken"));
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(dialogs.Messages.empty());
}

// The queue is deleted after the user chose it and before the job goes out:
// the job fails with a message naming the printer instead of vanishing.
TEST(VanishedPrinter, JobFailsWithTheMessageNamingThePrinter)
{
    TPrivateCupsServer server;
    if (!server.Running())
        GTEST_SKIP() << "no private CUPS server could be started";
    ASSERT_TRUE(server.AddPrinter(QStringLiteral("Flurdrucker"), QStringLiteral("Laser"), QStringLiteral("Flur")))
        << server.Log().toStdString();

    QPrinter printer(QPrinter::HighResolution);
    TPrinterSupport support(printer);
    support.SetPrinterName(QStringLiteral("Flurdrucker"));
    support.CarryOverPaperSettings();
    ASSERT_TRUE(server.RemovePrinter(QStringLiteral("Flurdrucker")));

    EXPECT_EQ(PrintOnePage(support), QStringLiteral("Den Drucker \"Flurdrucker\" gibt es nicht mehr."));
    EXPECT_EQ(TPrinterSupport::PrinterNames(), QStringList{QStringLiteral("PDF")});
}

} // namespace
