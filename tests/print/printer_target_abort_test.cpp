#include "PrivateCupsServer.h"

#include "print/uPrinterSupport.h"
#include "print/uPrinterTarget.h"

#include <gtest/gtest.h>

#include <QPrinter>

namespace {

int PrintingJobs()
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, "Kartendrucker", 0, CUPS_WHICHJOBS_ALL);
    int printing = 0;
    for (int i = 0; i < count; ++i)
        printing += jobs[i].state == IPP_JSTATE_CANCELED || jobs[i].state == IPP_JSTATE_ABORTED ? 0 : 1;
    cupsFreeJobs(count, jobs);
    return printing;
}

} // namespace

// A job cancelled between sheets must not reach the printer as a partial job.
TEST(PrinterTargetAbort, CancelledJobIsNotPrinted)
{
    TPrivateCupsServer server;
    if (!server.Running() || !server.AddPrinter(QStringLiteral("Kartendrucker"), QString(), QString()))
        GTEST_SKIP() << "no private CUPS server could be started";
    QPrinter printer(QPrinter::HighResolution);
    TPrinterSupport support(printer);
    support.SetPrinterName(QStringLiteral("Kartendrucker"));
    support.CarryOverPaperSettings();
    {
        TPrinterTarget target(support);
        ASSERT_TRUE(target.BeginJob(QStringLiteral("Tessaro")));
        target.Painter().drawText(100, 100, QStringLiteral("Bogen 1"));
        target.NewPage();
        target.AbortJob();
    }
    EXPECT_EQ(PrintingJobs(), 0);

    TPrinterTarget target(support);
    ASSERT_TRUE(target.BeginJob(QStringLiteral("Tessaro")));
    target.Painter().drawText(100, 100, QStringLiteral("Bogen 1"));
    target.EndJob();
    EXPECT_EQ(PrintingJobs(), 1) << "a finished job goes out";
}
