#include "render/uScaleCanvasHelp.h"
#include "render/uTextMetrics.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

// Text printed through the glyph runs lands where its millimetres say, with
// the font made for the printer's resolution and the margin taken off.
TEST(ScaleCanvasPrint, TextLandsAtItsMillimetrePositionOnThePaper)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("card.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageMargins(QMarginsF(10, 15, 10, 10), QPageLayout::Millimeter);

    const TPrinterMetrics metrics = PrinterMetricsOf(printer);
    // The page layout keeps its margins in whole points.
    const double halfMM = printer.resolution() / 50.8;
    EXPECT_NEAR(metrics.PhysicalOffset.x(), 10 / 25.4 * printer.resolution(), halfMM);
    EXPECT_NEAR(metrics.PhysicalOffset.y(), 15 / 25.4 * printer.resolution(), halfMM);
    {
        QPainter painter(&printer);
        TScaleCanvas canvas(painter);
        canvas.SetupForDevice(TScaleDevice::sdPrinter, metrics);
        QFont font("Arial");
        font.setPointSize(12);
        canvas.SetFont(font);
        EXPECT_EQ(canvas.DeviceFontPPI(), printer.resolution());
        DrawTextBox(canvas, {"Mustermann"}, 30, 40, 120, 60, 0, 0, {0, 0}, 0);
    }

    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", file, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const QRegularExpression word(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">Mustermann<)re");
    const QRegularExpressionMatch match = word.match(html);
    ASSERT_TRUE(match.hasMatch()) << html.toStdString();
    const double pointsPerMM = 72 / 25.4;
    const auto measuring = TMeasuringFont::For(QFont("Arial", 12));
    const double width = UnitsToMM(measuring->TextWidth(u"Mustermann"), 1440);
    const double firstA = UnitsToMM(measuring->CharWidths(u"M").A, 1440);
    EXPECT_NEAR(match.captured(1).toDouble() / pointsPerMM, 30 - firstA, 0.3);
    EXPECT_NEAR(match.captured(3).toDouble() / pointsPerMM, 30 - firstA + width, 0.5);
    EXPECT_NEAR(match.captured(2).toDouble() / pointsPerMM, 40, 0.5);
}
