#include "PrivateCupsServer.h"

#include "print/uCupsQuery.h"
#include "print/uPrinterSupport.h"

#include "common/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include <cups/cups.h>

namespace {

// No test may reach a real print server: CUPS is pointed at a socket that
// does not exist, so every question to it fails.
class PrinterSupportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FServer = (FDir.path() + "/no-cupsd.sock").toUtf8();
        cupsSetServer(FServer.constData());
        FSupport.SetPrinterName(QLatin1String(PdfPrinterName));
    }
    void TearDown() override { cupsSetServer(nullptr); }

    QTemporaryDir FDir;
    QByteArray FServer;
    QPrinter FPrinter{QPrinter::HighResolution};
    TPrinterSupport FSupport{FPrinter};
};

// Closes the next modal dialog once the event loop runs it.
void AnswerNextDialog(bool accept, const std::function<void(QDialog &)> &edit = {})
{
    QTimer::singleShot(0, [accept, edit] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (edit)
            edit(*dialog);
        accept ? dialog->accept() : dialog->reject();
    });
}

} // namespace

TEST(DeviceKeyName, NetworkNameLosesOnlyItsLeadingDoubleBackslash)
{
    EXPECT_EQ(TPrinterSupport::DeviceKeyName(QStringLiteral("\\\\buero-server\\Laser 2")),
              QStringLiteral("buero-server\\Laser 2"));
    EXPECT_EQ(TPrinterSupport::DeviceKeyName(QStringLiteral("Laser\\\\Fach\\2")), QStringLiteral("LaserFach\\2"));
    EXPECT_EQ(TPrinterSupport::DeviceKeyName(QStringLiteral("Tintenstrahl")), QStringLiteral("Tintenstrahl"));
}

TEST_F(PrinterSupportTest, PdfPrinterIsListedLastAndNamesItself)
{
    EXPECT_EQ(TPrinterSupport::PrinterNames().last(), QLatin1String(PdfPrinterName));
    EXPECT_TRUE(FSupport.IsPdfPrinter());
    EXPECT_EQ(FSupport.GetDeviceName(), QLatin1String("PDF"));
    EXPECT_EQ(FSupport.GetDeviceKeyName(), QLatin1String("PDF"));
    // One page per sheet: the job never relies on copies in the file.
    EXPECT_EQ(FSupport.GetMaxCopies(), 1);

    TPrinterInfo info;
    info.Location = QStringLiteral("stale");
    FSupport.GetPrinterInfo(info);
    EXPECT_EQ(info.PrinterName, QLatin1String("PDF"));
    EXPECT_TRUE(info.Location.isEmpty());
    EXPECT_FALSE(info.Comment.isEmpty());
}

TEST_F(PrinterSupportTest, PdfJobWritesTheNamedFileOrTheChosenOne)
{
    const QString named = FDir.filePath("named.pdf");
    FSupport.SetPdfFileName(named);
    ASSERT_TRUE(FSupport.PrepareJob());
    EXPECT_EQ(FSupport.GetPortName(), named);
    {
        QPainter painter(&FPrinter);
        ASSERT_TRUE(painter.isActive());
        painter.drawText(100, 100, QStringLiteral("Bogen 1"));
        FPrinter.newPage();
        painter.drawText(100, 100, QStringLiteral("Bogen 2"));
    }
    QFile file(named);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);

    FSupport.SetPdfFileName(QString());
    TScriptedDialogs dialogs;
    dialogs.Files = {QString(), FDir.filePath("chosen.pdf")};
    EXPECT_FALSE(FSupport.PrepareJob()) << "cancelling the file dialog cancels the job";
    EXPECT_TRUE(FSupport.PrepareJob());
    EXPECT_EQ(FPrinter.outputFileName(), FDir.filePath("chosen.pdf"));
    ASSERT_EQ(dialogs.FileRequests.size(), 2u);
    EXPECT_EQ(dialogs.FileRequests[0].DefaultSuffix, QLatin1String("pdf"));
}

TEST_F(PrinterSupportTest, CopiesAreRefusedWhileAJobPrints)
{
    FSupport.SetCopies(5);
    EXPECT_EQ(FPrinter.copyCount(), 5);

    FSupport.SetPdfFileName(FDir.filePath("job.pdf"));
    ASSERT_TRUE(FSupport.PrepareJob());
    QPainter painter(&FPrinter);
    ASSERT_EQ(FPrinter.printerState(), QPrinter::Active);
    try {
        FSupport.SetCopies(2);
        FAIL() << "SetCopies during a job must fail";
    } catch (const EPrinterError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("Kopien können nicht während eines Druckauftrags gesetzt werden"));
    }
    painter.end();
    EXPECT_EQ(FPrinter.copyCount(), 5);
}

TEST_F(PrinterSupportTest, PrinterChangeKeepsPaperAndResetsCopies)
{
    FPrinter.setPageSize(QPageSize(QPageSize::Letter));
    FPrinter.setPageOrientation(QPageLayout::Landscape);
    FSupport.SetCopies(7);

    FSupport.SetPrinterName(QLatin1String(PdfPrinterName));
    FSupport.CarryOverPaperSettings();
    EXPECT_EQ(FPrinter.pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(FPrinter.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(FPrinter.copyCount(), 1) << "the new printer starts from its own copy count";

    const QPageSize custom(QSizeF(170, 55), QPageSize::Millimeter);
    FPrinter.setPageSize(custom);
    FSupport.CarryOverPaperSettings();
    EXPECT_TRUE(FPrinter.pageLayout().pageSize().isEquivalentTo(custom));
}

// The PDF printer would throw the dialog's answers away: it shows none. A
// printer of the print service changes its settings only when confirmed.
TEST_F(PrinterSupportTest, PropertiesDialogOnlyWhereItsAnswersCountAndOnlyWhenConfirmed)
{
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            shown = true;
            dialog->reject();
        }
    });
    EXPECT_FALSE(FSupport.HasProperties());
    EXPECT_FALSE(FSupport.ShowProperties(nullptr));
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);

    TPrivateCupsServer server;
    if (!server.Running() || !server.AddPrinter(QStringLiteral("Flurdrucker"), QString(), QString()))
        GTEST_SKIP() << "no private CUPS server: " << server.Log().toStdString();
    FSupport.SetPrinterName(QStringLiteral("Flurdrucker"));
    FSupport.CarryOverPaperSettings();
    EXPECT_TRUE(FSupport.HasProperties());
    FPrinter.setPageOrientation(QPageLayout::Portrait);
    AnswerNextDialog(false);
    EXPECT_FALSE(FSupport.ShowProperties(nullptr));
    EXPECT_EQ(FPrinter.pageLayout().orientation(), QPageLayout::Portrait);
    AnswerNextDialog(true);
    EXPECT_TRUE(FSupport.ShowProperties(nullptr));
}

TEST_F(PrinterSupportTest, PrinterTheServerCannotAnswerForGivesNoCountAndNoDescription)
{
    EXPECT_EQ(Cups::MaxCopies(QStringLiteral("Buero-Laser")), -1);
    EXPECT_EQ(Cups::MaxCopies(QString()), -1);
    EXPECT_FALSE(Cups::DescribePrinter(QStringLiteral("Buero-Laser")).has_value());
}
