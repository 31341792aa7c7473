#include "model/uDocument.h"
#include "print/uPrintJob.h"
#include "print/uPrinterSupport.h"
#include "print/uPrinterTarget.h"
#include "render/uScaleCanvasHelp.h"
#include "render/uTextMetrics.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <vector>

namespace {

struct TWordBox
{
    double Left, Top, Right, Bottom; // mm from the paper's corner
};

class TSilentUi : public TPrintJobUi
{
public:
    void EnableControls(bool) override {}
    void SetBusy(bool) override {}
    int CancelAtPage = 0;
    bool PageProgress(int page, int) override { return page != CancelAtPage; }
    void EndProgress() override {}
    void ShowAssistantPicture(int) override {}
};

// Sheets printed through the PDF printer, read back with poppler.
class PrintPdfTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        RegisterDocumentTexts();
        FDocument.LoadDefault();
        FSupport.SetPrinterName(QLatin1String(PdfPrinterName));
        FPrinter.setPageSize(QPageSize(QPageSize::A4));
        FPrinter.setPageOrientation(QPageLayout::Portrait);
        FSupport.SetPdfFileName(FDir.filePath("bogen.pdf"));
    }

    void SelectLayout(const char *name)
    {
        const int index = FDocument.Layouts().IndexOfName(QLatin1String(name));
        ASSERT_GE(index, 0) << name;
        FDocument.SelectLayout(FDocument.Layouts().Items(index));
    }

    void Print(const TPrintOffsets &offsets, bool testPage = false, int sheets = 1, int cancelAtPage = 0)
    {
        TPrinterTarget target(FSupport);
        TSilentUi ui;
        ui.CancelAtPage = cancelAtPage;
        TPrintJob job(FDocument, target, ui, offsets);
        job.SetConfirm(false);
        job.SetBackSidePause(0);
        ASSERT_EQ(testPage ? job.PrintTestSheet() : job.PrintCards(sheets),
                  cancelAtPage ? TPrintResult::Aborted : TPrintResult::Printed);
    }

    QString Run(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    int Pages() const
    {
        const QRegularExpressionMatch match =
            QRegularExpression(R"(Pages:\s+(\d+))").match(Run("pdfinfo", {FDir.filePath("bogen.pdf")}));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

    std::vector<TWordBox> Words(const QString &word, int page = 1) const
    {
        const QString html = Run("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page),
                                               FDir.filePath("bogen.pdf"), "-"});
        const QRegularExpression pattern(
            R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re" + word + "<");
        std::vector<TWordBox> boxes;
        const double mm = 25.4 / 72;
        for (auto it = pattern.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            boxes.push_back({m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                             m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm});
        }
        return boxes;
    }

    QTemporaryDir FDir;
    TDocument FDocument;
    QPrinter FPrinter{QPrinter::HighResolution};
    TPrinterSupport FSupport{FPrinter};
};

} // namespace

TEST_F(PrintPdfTest, NameStandsInEverySlotMovedByTheOffsets)
{
    SelectLayout("100");
    const TPrintOffsets offsets{2.5f, -1.5f};
    Print(offsets);
    ASSERT_EQ(Pages(), 1);
    const std::vector<TWordBox> names = Words("Heinz");
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(Words("Mustermann").size(), 10u);

    QFont nameFont("Arial");
    nameFont.setPointSize(14);
    nameFont.setBold(true);
    const double bearing =
        ScaleCanvasHelper().UnitsToMM(TMeasuringFont::For(nameFont)->CharWidths(u"H").A, 1440);
    const double firstTop = names[0].Top - 10 - offsets.Y;
    for (int slot = 0; slot < 10; ++slot) {
        SCOPED_TRACE(slot);
        const double slotLeft = 15 + (slot % 2) * 95 + offsets.X;
        const double slotTop = 10 + (slot / 2) * 55 + offsets.Y;
        EXPECT_NEAR(names[slot].Left + bearing, slotLeft + 5, 0.3);
        EXPECT_NEAR(names[slot].Top - slotTop, firstTop, 0.05);
        // The name's box runs from 14.5 to 20.7 mm below the card's top.
        EXPECT_GT(names[slot].Top - slotTop, 14.5 - 0.3);
        EXPECT_LT(names[slot].Bottom - slotTop, 20.7 + 0.3);
    }
}

TEST_F(PrintPdfTest, PortraitLayoutPrintsTurnedIntoItsSlots)
{
    SelectLayout("111");
    Print({});
    const std::vector<TWordBox> names = Words("Heinz");
    ASSERT_EQ(names.size(), 10u);
    // Turned text comes back in no particular order: one name lies wholly in each slot.
    std::vector<int> perSlot(10);
    for (const TWordBox &box : names) {
        EXPECT_GT(box.Bottom - box.Top, box.Right - box.Left) << "a turned word is higher than wide";
        for (int slot = 0; slot < 10; ++slot) {
            const double slotLeft = 15 + (slot % 2) * 95;
            const double slotTop = 10 + (slot / 2) * 55;
            if (box.Left >= slotLeft && box.Right <= slotLeft + 85 && box.Top >= slotTop && box.Bottom <= slotTop + 55)
                ++perSlot[std::size_t(slot)];
        }
    }
    EXPECT_EQ(perSlot, std::vector<int>(10, 1));
}

TEST_F(PrintPdfTest, BackPagesFollowTheFrontsWithTheBackTexts)
{
    SelectLayout("100");
    FDocument.SetMitRueckseite(true);
    FDocument.SetBackText1({QStringLiteral("Rueckseitentext")});
    Print({}, false, 2);
    ASSERT_EQ(Pages(), 4);
    for (int page = 1; page <= 4; ++page) {
        SCOPED_TRACE(page);
        const bool back = page > 2;
        EXPECT_EQ(Words("Heinz", page).size(), back ? 0u : 10u);
        EXPECT_EQ(Words("Rueckseitentext", page).size(), back ? 10u : 0u);
    }
}

TEST_F(PrintPdfTest, TestPageOutlinesEverySlotAndHoldsOneCard)
{
    SelectLayout("100");
    Print({}, true);
    ASSERT_EQ(Pages(), 1);
    const std::vector<TWordBox> names = Words("Heinz");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NEAR(names[0].Left, 20, 0.5);

    // At 127 dots per inch one dot is 0.2 mm: every slot's edges are dark.
    Run("pdftoppm", {"-r", "127", "-gray", "-png", "-singlefile", FDir.filePath("bogen.pdf"), FDir.filePath("seite")});
    const QImage page(FDir.filePath("seite.png"));
    ASSERT_FALSE(page.isNull());
    const auto darkNear = [&](double xMM, double yMM) {
        const int x = int(xMM / 0.2), y = int(yMM / 0.2);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (qGray(page.pixel(x + dx, y + dy)) < 160)
                    return true;
        return false;
    };
    for (int slot = 0; slot < 10; ++slot) {
        SCOPED_TRACE(slot);
        const double left = 15 + (slot % 2) * 95, top = 10 + (slot / 2) * 55;
        EXPECT_TRUE(darkNear(left + 42.5, top)) << "top edge";
        EXPECT_TRUE(darkNear(left + 42.5, top + 55)) << "bottom edge";
        EXPECT_TRUE(darkNear(left, top + 27.5)) << "left edge";
        EXPECT_TRUE(darkNear(left + 85, top + 27.5)) << "right edge";
    }
    EXPECT_FALSE(darkNear(5, 5)) << "the margin stays white";
}

TEST_F(PrintPdfTest, CancelledJobLeavesTheExistingFileAsItWas)
{
    QFile existing(FDir.filePath("bogen.pdf"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("vorher");
    existing.close();
    FDocument.SetMitRueckseite(true);
    Print({}, false, 6, 3);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("vorher"));
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bogen.pdf"});

    Print({}, false, 6);
    EXPECT_EQ(Pages(), 12) << "a complete action replaces the file with fronts and backs";
}
