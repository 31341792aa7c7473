#include "PrivateCupsServer.h"

#include "print/uPrinterSupport.h"

#include <gtest/gtest.h>

#include <QPrinter>

// The CUPS-backed answers for a real queue of a private server.
TEST(CupsPrinter, DescriptionCopyRangeAndPaperComeFromTheServer)
{
    TPrivateCupsServer server;
    if (!server.Running())
        GTEST_SKIP() << "no private CUPS server could be started";
    ASSERT_TRUE(server.AddPrinter(QStringLiteral("Flurdrucker"), QStringLiteral("Laser im Flur"),
                                  QStringLiteral("Raum 2.14")))
        << server.Log().toStdString();

    const QStringList names = TPrinterSupport::PrinterNames();
    ASSERT_EQ(names, (QStringList{QStringLiteral("Flurdrucker"), QStringLiteral("PDF")}));

    QPrinter printer(QPrinter::HighResolution);
    TPrinterSupport support(printer);
    support.SetPrinterName(QStringLiteral("PDF"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);

    support.SetPrinterName(QStringLiteral("Flurdrucker"));
    support.CarryOverPaperSettings();
    EXPECT_FALSE(support.IsPdfPrinter());
    EXPECT_EQ(support.GetDeviceName(), QStringLiteral("Flurdrucker"));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);

    EXPECT_GT(support.GetMaxCopies(), 1);
    support.SetCopies(3);
    EXPECT_EQ(printer.copyCount(), 3);

    TPrinterInfo info;
    support.GetPrinterInfo(info);
    EXPECT_EQ(info.PrinterName, QStringLiteral("Flurdrucker"));
    EXPECT_EQ(info.Comment, QStringLiteral("Laser im Flur"));
    EXPECT_EQ(info.Location, QStringLiteral("Raum 2.14"));
    EXPECT_EQ(info.PortName, QStringLiteral("file:///dev/null"));
    EXPECT_EQ(support.GetPortName(), info.PortName);
    EXPECT_TRUE(info.ServerName.isEmpty()) << "the server is on this machine";
}
