#include "common/TestSheets.h"
#include "locale/uHMRegistry.h"
#include "model/uDocument.h"
#include "print/uPdfExport.h"
#include "print/uPrintJob.h"
#include "print/uPrinterSupport.h"
#include "print/uPrinterTarget.h"
#include "render/uEdgeScale.h"
#include "render/uScaleCanvasHelp.h"
#include "render/uTextMetrics.h"

#include "common/FileSizeLimit.h"
#include "common/PdfText.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

using PdfText::TWordBox;

// A blue disc on a transparent 300 x 150 canvas.
QImage TransparentDisc()
{
    QImage image(300, 150, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 255));
    painter.drawEllipse(QPoint(150, 75), 60, 60);
    return image;
}

// The same disc as vectors.
QString WriteVectorDisc(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="150" viewBox="0 0 300 150">)"
                   R"(<circle cx="150" cy="75" r="60" fill="#0000ff"/></svg>)");
    return path;
}

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

    void Print(const TPrintCorrection &correction, bool testPage = false, int sheets = 1, int cancelAtPage = 0)
    {
        TPrinterTarget target(FSupport);
        TSilentUi ui;
        ui.CancelAtPage = cancelAtPage;
        TPrintJob job(FDocument, target, ui, correction);
        job.SetConfirm(false);
        job.SetBackSidePause(0);
        ASSERT_EQ(testPage ? job.PrintTestSheet() : job.PrintCards(sheets),
                  cancelAtPage ? TPrintResult::Aborted : TPrintResult::Printed);
    }

    int Pages() const { return PdfText::Pages(FDir.filePath("bogen.pdf")); }

    // The first page at 127 dots per inch, where one dot is 0.2 mm.
    QImage RenderPage() const
    {
        Run("pdftoppm", {"-r", "127", "-gray", "-png", "-singlefile", FDir.filePath("bogen.pdf"), FDir.filePath("seite")});
        return QImage(FDir.filePath("seite.png"));
    }

    // A page in colour at 127 dots per inch, where one dot is 0.2 mm.
    QImage RenderColourPage(int page) const
    {
        const QString number = QString::number(page);
        Run("pdftoppm", {"-r", "127", "-f", number, "-l", number, "-png", "-singlefile", FDir.filePath("bogen.pdf"),
                         FDir.filePath("farbig")});
        return QImage(FDir.filePath("farbig.png"));
    }

    // Ink within a dot of the place: an outline drawn there.
    static bool DarkNear(const QImage &page, double xMM, double yMM)
    {
        const int x = int(xMM / 0.2), y = int(yMM / 0.2);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (qGray(page.pixel(x + dx, y + dy)) < 160)
                    return true;
        return false;
    }

    // The centres of the dark runs along one line of the page, rendered at
    // 1270 dots per inch, where a dot is 0.02 mm: in mm from the paper's
    // corner. The line runs along x at y = atMM or, when `alongY`, along y at x = atMM.
    std::vector<double> InkAlong(int page, bool alongY, double atMM, double fromMM, double toMM) const
    {
        constexpr double dotsPerMM = 50;
        const auto dots = [](double mm) { return QString::number(std::lround(mm * dotsPerMM)); };
        const QString length = dots(toMM - fromMM);
        const QString x = alongY ? dots(atMM) : dots(fromMM), y = alongY ? dots(fromMM) : dots(atMM);
        Run("pdftoppm", {"-r", "1270", "-gray", "-png", "-singlefile", "-f", QString::number(page), "-l",
                         QString::number(page), "-x", x, "-y", y, "-W", alongY ? "1" : length, "-H",
                         alongY ? length : "1", FDir.filePath("bogen.pdf"), FDir.filePath("linie")});
        const QImage line(FDir.filePath("linie.png"));
        std::vector<double> centres;
        const int count = alongY ? line.height() : line.width();
        for (int i = 0, start = -1; i <= count; ++i) {
            const bool dark = i < count && qGray(alongY ? line.pixel(0, i) : line.pixel(i, 0)) < 128;
            if (dark && start < 0)
                start = i;
            if (!dark && start >= 0) {
                centres.push_back((alongY ? y : x).toDouble() / dotsPerMM + (start + i) / 2.0 / dotsPerMM);
                start = -1;
            }
        }
        return centres;
    }

    // The page's width and height in millimetres.
    std::pair<double, double> PageSize() const
    {
        const QRegularExpressionMatch match = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)")
                                                  .match(Run("pdfinfo", {FDir.filePath("bogen.pdf")}));
        const double mm = 25.4 / 72;
        return {match.captured(1).toDouble() * mm, match.captured(2).toDouble() * mm};
    }

    // The sheets of the catalogue and one of the user's own, each with its card type.
    static std::vector<TBogenEintrag> EverySheet()
    {
        Settings().EraseSection(QStringLiteral("Kartenboegen"));
        const TBogenkatalog katalog;
        std::vector<TBogenEintrag> sheets(katalog.Sheets().cbegin(), katalog.Sheets().cend());
        sheets.push_back({Letter3x4(), TDocument::Standardkarte, true});
        return sheets;
    }

    void UseSheet(const TBogenEintrag &entry)
    {
        FDocument.SetKartentyp(entry.Kartentyp);
        FDocument.SetBogenlayout(entry.Bogen);
    }

    std::vector<TWordBox> Words(const QString &word, int page = 1) const
    {
        return PdfText::Words(FDir.filePath("bogen.pdf"), word, page);
    }
    QString Run(const QString &program, const QStringList &arguments) const { return PdfText::Run(program, arguments); }

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
    Print({offsets, offsets});
    ASSERT_EQ(Pages(), 1);
    const std::vector<TWordBox> names = Words("Heinz");
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(Words("Mustermann").size(), 10u);

    QFont nameFont("Arial");
    nameFont.setPointSize(14);
    nameFont.setBold(true);
    const double bearing =
        UnitsToMM(TMeasuringFont::For(nameFont)->CharWidths(u"H").A, 1440);
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

TEST_F(PrintPdfTest, EverySheetPrintsOnItsPaperWithTheCardInEverySlot)
{
    SelectLayout("100");
    QFont nameFont("Arial");
    nameFont.setPointSize(14);
    nameFont.setBold(true);
    const double bearing =
        UnitsToMM(TMeasuringFont::For(nameFont)->CharWidths(u"H").A, 1440);
    for (const TBogenEintrag &entry : EverySheet()) {
        const TBogenlayout &sheet = entry.Bogen;
        SCOPED_TRACE(sheet.Name.toStdString());
        UseSheet(entry);
        Print({});
        const auto [width, height] = PageSize();
        EXPECT_NEAR(width, sheet.SheetWidth, 0.3);
        EXPECT_NEAR(height, sheet.SheetHeight, 0.3);

        // The name starts 5 mm into the card face, stretched with the card; a
        // folding card's face is the slot's right half.
        const bool folding = entry.Kartentyp == TDocument::Klappkarte;
        const TSinglePoint scale = LayoutScale(FDocument.Kartenlayout(), sheet, folding);
        const double face = folding ? sheet.CardWidth / 2 : 0;
        const std::vector<TWordBox> names = Words("Heinz");
        ASSERT_EQ(names.size(), std::size_t(sheet.Cards()));
        const double firstTop = names[0].Top - sheet.MarginTop;
        for (int slot = 0; slot < sheet.Cards(); ++slot) {
            SCOPED_TRACE(slot);
            const TSinglePoint origin = sheet.SlotOrigin(slot % sheet.Columns, slot / sheet.Columns);
            EXPECT_NEAR(names[slot].Left + bearing, origin.X + face + 5 * scale.X, 0.3);
            EXPECT_NEAR(names[slot].Top - origin.Y, firstTop, 0.05);
            EXPECT_GT(names[slot].Top - origin.Y, 14.5 * scale.Y - 0.3);
            EXPECT_LT(names[slot].Bottom - origin.Y, 20.7 * scale.Y + 0.3);
        }
    }
}

TEST_F(PrintPdfTest, LayoutStretchedToLetterCardsKeepsEveryTextInsideItsBox)
{
    SelectLayout("100");
    const TBogenkatalog katalog;
    TBogenlayout letter;
    for (const TBogenEintrag &entry : katalog.Sheets())
        if (entry.Bogen.Name == QLatin1String("Letter 88.9x50.8 2x5"))
            letter = entry.Bogen;
    ASSERT_EQ(letter.CardWidth, 88.9f);
    FDocument.SetBogenlayout(letter);
    Print({});
    const double sx = 88.9 / 85, sy = 50.8 / 55;
    // Words of the first card and the boxes of layout 100 they stand in.
    const std::pair<const char *, TSingleRect> words[] = {
        {"med.", {5, 11, 80, 15}},          {"Heinz", {5, 14.5f, 80, 20.7f}},
        {"Mustermann", {5, 14.5f, 80, 20.7f}}, {"Allgemeinmedizin", {5, 22, 80, 30}},
        {"Alleestr.", {31, 30, 80, 51}},    {"Musterdorf", {31, 30, 80, 51}},
        {"0199/12345679", {31, 30, 80, 51}}, {"heinz.mustermann@example.org", {31, 30, 80, 51}},
    };
    for (const auto &[word, box] : words) {
        SCOPED_TRACE(word);
        const std::vector<TWordBox> found = Words(QLatin1String(word));
        ASSERT_FALSE(found.empty());
        // A word's box runs from pen position to advance; its ink lies within
        // by the side bearings, which take up to half a millimetre more.
        const TWordBox &w = found.front();
        EXPECT_GE(w.Left, letter.MarginLeft + box.Left * sx - 0.5);
        EXPECT_LE(w.Right, letter.MarginLeft + box.Right * sx + 0.5);
        EXPECT_GE(w.Top, letter.MarginTop + box.Top * sy - 0.3);
        EXPECT_LE(w.Bottom, letter.MarginTop + box.Bottom * sy + 0.3);
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

// Printed duplex or by a print shop, each front and the back after it make a sheet.
TEST_F(PrintPdfTest, EachFrontPageIsFollowedByItsBack)
{
    SelectLayout("100");
    FDocument.SetMitRueckseite(true);
    FDocument.SetBackText1({QStringLiteral("Rueckseitentext")});
    Print({}, false, 3);
    ASSERT_EQ(Pages(), 6);
    for (int page = 1; page <= 6; ++page) {
        SCOPED_TRACE(page);
        const bool back = page % 2 == 0;
        EXPECT_EQ(Words("Heinz", page).size(), back ? 0u : 10u);
        EXPECT_EQ(Words("Rueckseitentext", page).size(), back ? 10u : 0u);
    }
}

TEST_F(PrintPdfTest, TransparentLogoShowsThePaperOnBothSidesAndInItsWatermark)
{
    const QString png = FDir.filePath("scheibe.png");
    ASSERT_TRUE(TransparentDisc().save(png));
    FDocument.SetMitRueckseite(true);
    // Layout 100 draws the logo into a box, 121 its faded copy across the card.
    // The same disc as vectors looks the same, its faded copy included.
    const QString svg = WriteVectorDisc(FDir.filePath("scheibe.svg"));
    struct TCase
    {
        QString Logo;
        const char *Layout;
        double Left, Top, Right, Bottom;
    };
    for (const TCase &c : {TCase{png, "100", 5, 31, 30, 51}, TCase{png, "121", 0, 0, 85, 55},
                           TCase{svg, "100", 5, 31, 30, 51}, TCase{svg, "121", 0, 0, 85, 55}}) {
        FDocument.Logo.LoadFromFile(c.Logo);
        FDocument.LogoRueckseite.LoadFromFile(c.Logo);
        SelectLayout(c.Layout);
        Print({});
        ASSERT_EQ(Pages(), 2);
        for (int page = 1; page <= 2; ++page) {
            const QImage image = RenderColourPage(page);
            for (const double slotLeft : {15.0, 110.0}) {
                SCOPED_TRACE(c.Logo.toStdString() + " " + c.Layout + " page " + std::to_string(page) + " slot at "
                             + std::to_string(slotLeft));
                const auto at = [&](double x, double y) { return image.pixel(int((slotLeft + x) / 0.2), int((10 + y) / 0.2)); };
                // Beside the disc, across the picture's whole height: paper.
                const double inset = (c.Right - c.Left) * 0.04;
                for (double y = c.Top + 1; y < c.Bottom - 1; y += 0.4) {
                    EXPECT_GE(qGray(at(c.Left + inset, y)), 250) << y;
                    EXPECT_GE(qGray(at(c.Right - inset, y)), 250) << y;
                }
                bool blue = false;
                for (double dx = -1.5; dx <= 1.5; dx += 0.2)
                    for (double dy = -1.5; dy <= 1.5; dy += 0.2) {
                        const QRgb pixel = at((c.Left + c.Right) / 2 + dx, (c.Top + c.Bottom) / 2 + dy);
                        blue = blue || qBlue(pixel) > qRed(pixel) + 25;
                    }
                EXPECT_TRUE(blue);
            }
        }
    }
}

TEST_F(PrintPdfTest, VectorLogoReachesThePdfAsVectorsWhereTheBitmapSits)
{
    // The ink of the first slot's logo box (layout 100), at 0.02 mm a dot,
    // in mm from the paper's corner.
    const auto inkBox = [this] {
        constexpr double dotsPerMM = 50, left = 15 + 5, top = 10 + 31;
        Run("pdftoppm", {"-r", "1270", "-gray", "-png", "-singlefile", "-x", QString::number(left * dotsPerMM), "-y",
                         QString::number(top * dotsPerMM), "-W", "1250", "-H", "1000", FDir.filePath("bogen.pdf"),
                         FDir.filePath("kasten")});
        const QImage box(FDir.filePath("kasten.png"));
        QRect ink;
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x)
                if (qGray(box.pixel(x, y)) < 128)
                    ink |= QRect(x, y, 1, 1);
        return QRectF(left + ink.left() / dotsPerMM, top + ink.top() / dotsPerMM, ink.width() / dotsPerMM,
                      ink.height() / dotsPerMM);
    };
    SelectLayout("100");
    const QString png = FDir.filePath("scheibe.png");
    ASSERT_TRUE(TransparentDisc().save(png));
    FDocument.Logo.LoadFromFile(png);
    Print({});
    const QRectF bitmap = inkBox();
    ASSERT_GT(bitmap.width(), 5);

    FDocument.Logo.LoadFromFile(WriteVectorDisc(FDir.filePath("scheibe.svg")));
    Print({});
    const QStringList rows = Run("pdfimages", {"-list", FDir.filePath("bogen.pdf")}).split('\n').mid(2);
    EXPECT_TRUE(rows.filter(QRegularExpression(QStringLiteral("^\\s*\\d"))).isEmpty()) << rows.join('\n').toStdString();
    const QRectF vector = inkBox();
    EXPECT_NEAR(vector.left(), bitmap.left(), 0.3);
    EXPECT_NEAR(vector.top(), bitmap.top(), 0.3);
    EXPECT_NEAR(vector.right(), bitmap.right(), 0.3);
    EXPECT_NEAR(vector.bottom(), bitmap.bottom(), 0.3);
}

// A logo whose vectors would be large in every card (texts go to a PDF as
// outlines) reaches it as one picture at the printer's resolution, stored
// once for the whole sheet.
TEST_F(PrintPdfTest, LargeVectorLogoReachesThePdfAsOnePictureAtThePrintersResolution)
{
    const QString path = FDir.filePath("schrift.svg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 120 40"><rect width="120" height="40" )"
               R"(fill="#036"/><text x="60" y="26" font-size="14" fill="#fff" text-anchor="middle">)"
               R"(Beispiel &amp; Co. KG</text></svg>)");
    file.close();
    FDocument.Logo.LoadFromFile(path);
    SelectLayout("100");
    Print({});

    const QStringList rows = Run("pdfimages", {"-list", FDir.filePath("bogen.pdf")}).split('\n').mid(2);
    const QStringList pictures = rows.filter(QRegularExpression(QStringLiteral("^\\s*1\\s+\\d+\\s+image")));
    ASSERT_EQ(pictures.size(), 10) << rows.join('\n').toStdString();
    for (const QString &row : pictures) {
        const QStringList fields = row.simplified().split(' ');
        EXPECT_EQ(fields[10], pictures[0].simplified().split(' ')[10]); // the same object
        EXPECT_EQ(fields[12], QLatin1String("1200")) << row.toStdString();
    }
}

TEST_F(PrintPdfTest, LosslessLogoReachesThePdfPixelForPixel)
{
    // Sharp edges and a transparent corner, smaller than its box.
    QImage logo(64, 40, QImage::Format_ARGB32);
    logo.fill(QColor(200, 30, 60));
    QPainter painter(&logo);
    painter.fillRect(10, 5, 20, 30, QColor(20, 90, 220));
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(48, 0, 16, 12, Qt::transparent);
    painter.end();
    const QString path = FDir.filePath("logo.png");
    ASSERT_TRUE(logo.save(path));
    FDocument.Logo.LoadFromFile(path);
    SelectLayout("100");
    Print({});

    // One picture for all ten slots, stored without loss at its own size.
    const QStringList rows = Run("pdfimages", {"-list", FDir.filePath("bogen.pdf")}).split('\n').mid(2);
    const QStringList pictures = rows.filter(QRegularExpression(QStringLiteral("^\\s*1\\s")));
    ASSERT_EQ(pictures.size(), 10);
    for (const QString &row : pictures) {
        const QStringList fields = row.simplified().split(' ');
        EXPECT_EQ(fields[3], QLatin1String("64"));
        EXPECT_EQ(fields[8], QLatin1String("image")) << row.toStdString();
        EXPECT_EQ(fields[10], pictures[0].simplified().split(' ')[10]); // the same object
    }
    Run("pdfimages", {"-png", "-f", "1", "-l", "1", FDir.filePath("bogen.pdf"), FDir.filePath("bild")});
    const QImage embedded = QImage(FDir.filePath("bild-000.png")).convertToFormat(QImage::Format_RGB32);
    QImage onWhite(logo.size(), QImage::Format_RGB32);
    onWhite.fill(Qt::white);
    QPainter(&onWhite).drawImage(0, 0, logo);
    EXPECT_EQ(embedded, onWhite);
}

TEST_F(PrintPdfTest, TestPageOutlinesEverySlotAndHoldsOneCardClearOfTheScales)
{
    SelectLayout("100");
    Print({}, true);
    ASSERT_EQ(Pages(), 1);
    const std::vector<TWordBox> names = Words("Heinz");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NEAR(names[0].Left, 20, 0.5);

    // The scales are labelled -5 to 5.
    std::vector<PdfText::TWord> labels, card;
    for (const PdfText::TWord &word : PdfText::AllWords(FDir.filePath("bogen.pdf"))) {
        bool number = false;
        const bool label = std::abs(word.Text.toInt(&number)) <= 5 && number;
        (label ? labels : card).push_back(word);
    }
    ASSERT_EQ(labels.size(), 4 * 11u);
    for (const PdfText::TWord &label : labels)
        for (const PdfText::TWord &text : card)
            EXPECT_TRUE(label.Box.Right <= text.Box.Left || text.Box.Right <= label.Box.Left ||
                        label.Box.Bottom <= text.Box.Top || text.Box.Bottom <= label.Box.Top)
                << label.Text.toStdString() << " over " << text.Text.toStdString();

    // Every slot's edges are dark.
    const QImage page = RenderPage();
    ASSERT_FALSE(page.isNull());
    const auto darkNear = [&](double xMM, double yMM) { return DarkNear(page, xMM, yMM); };
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

TEST_F(PrintPdfTest, TestPageOfEverySheetOutlinesItsSlots)
{
    SelectLayout("100");
    for (const TBogenEintrag &entry : EverySheet()) {
        const TBogenlayout &sheet = entry.Bogen;
        SCOPED_TRACE(sheet.Name.toStdString());
        UseSheet(entry);
        Print({}, true);
        EXPECT_NEAR(PageSize().second, sheet.SheetHeight, 0.3);
        EXPECT_EQ(Words("Heinz").size(), 1u);
        const QImage page = RenderPage();
        ASSERT_FALSE(page.isNull());
        const auto darkNear = [&](double xMM, double yMM) { return DarkNear(page, xMM, yMM); };
        for (int slot = 0; slot < sheet.Cards(); ++slot) {
            SCOPED_TRACE(slot);
            const TSinglePoint o = sheet.SlotOrigin(slot % sheet.Columns, slot / sheet.Columns);
            const double w = sheet.CardWidth, h = sheet.CardHeight;
            EXPECT_TRUE(darkNear(o.X + w / 4, o.Y)) << "top edge";
            EXPECT_TRUE(darkNear(o.X + w / 4, o.Y + h)) << "bottom edge";
            EXPECT_TRUE(darkNear(o.X, o.Y + h / 2)) << "left edge";
            EXPECT_TRUE(darkNear(o.X + w, o.Y + h / 2)) << "right edge";
        }
        EXPECT_FALSE(darkNear(sheet.MarginLeft / 2, sheet.MarginTop / 2)) << "the margin stays white";
    }
}

// The back test card stands behind the front one once the sheet is turned
// over about its long edge: the last column of the first row, or on a sheet
// wider than high the first column of the last row.
TEST_F(PrintPdfTest, TwoSidedTestPagePutsTheBackBehindTheFront)
{
    SelectLayout("100");
    FDocument.SetMitRueckseite(true);
    FDocument.SetBackText1({QStringLiteral("Rueckseitentext")});
    const auto expectCards = [&](const TBogenlayout &sheet, int column, int row) {
        SCOPED_TRACE(sheet.Name.toStdString());
        Print({}, true);
        ASSERT_EQ(Pages(), 2);
        const std::vector<TWordBox> front = Words("Heinz"), back = Words("Rueckseitentext", 2);
        ASSERT_EQ(front.size(), 1u);
        ASSERT_EQ(back.size(), 1u);
        const auto inSlot = [&](const TWordBox &word, const TSinglePoint &slot) {
            return word.Left > slot.X && word.Right < slot.X + sheet.CardWidth && word.Top > slot.Y &&
                   word.Bottom < slot.Y + sheet.CardHeight;
        };
        EXPECT_TRUE(inSlot(front[0], sheet.SlotOrigin(0, 0)));
        EXPECT_TRUE(inSlot(back[0], sheet.SlotOrigin(column, row)));
    };
    for (const TBogenEintrag &entry : EverySheet()) {
        UseSheet(entry);
        expectCards(entry.Bogen, entry.Bogen.Columns - 1, 0);
    }
    TBogenlayout wide = Letter3x4();
    wide.Name = QStringLiteral("quer");
    std::swap(wide.SheetWidth, wide.SheetHeight);
    wide.Columns = 4;
    wide.Rows = 3;
    UseSheet({wide, TDocument::Standardkarte, true});
    expectCards(wide, 0, 2);
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

TEST_F(PrintPdfTest, BacksMoveByTheBackCorrectionAndByTheFrontOneUntilItIsSet)
{
    Settings().EraseSection(PrintOffsetSection(QLatin1String(PdfPrinterName)));
    SelectLayout("100");
    FDocument.SetMitRueckseite(true);
    FDocument.SetBackText1({QStringLiteral("Rueckseitentext")});
    // The printer's stored corrections, as the window's PDF export uses them.
    const auto print = [this] {
        TSilentUi ui;
        EXPECT_EQ(TPdfExport(FDir.filePath("bogen.pdf")).PrintCards(FDocument, 1, ui), TPrintResult::Printed);
        return std::pair{Words("Heinz", 1), Words("Rueckseitentext", 2)};
    };
    const auto [fronts, backs] = print();
    ASSERT_EQ(fronts.size(), 10u);
    ASSERT_EQ(backs.size(), 10u);
    const auto expectMoved = [](const std::vector<TWordBox> &moved, const std::vector<TWordBox> &unmoved,
                                const TPrintOffsets &by) {
        ASSERT_EQ(moved.size(), unmoved.size());
        for (std::size_t card = 0; card < moved.size(); ++card) {
            EXPECT_NEAR(moved[card].Left - unmoved[card].Left, by.X, 0.1) << "card " << card;
            EXPECT_NEAR(moved[card].Top - unmoved[card].Top, by.Y, 0.1) << "card " << card;
        }
    };

    const TPrintOffsets front{1.5f, -1.0f}, back{-2.0f, 0.5f};
    SavePrintOffsets(QLatin1String(PdfPrinterName), front);
    {
        SCOPED_TRACE("no back correction stored");
        const auto [movedFronts, movedBacks] = print();
        expectMoved(movedFronts, fronts, front);
        expectMoved(movedBacks, backs, front);
    }
    SavePrintOffsets(QLatin1String(PdfPrinterName), back, TPrintSide::Back);
    const auto [movedFronts, movedBacks] = print();
    expectMoved(movedFronts, fronts, front);
    expectMoved(movedBacks, backs, back);
}

TEST_F(PrintPdfTest, TestPageScalesMeasureFromTheOutlineOnBothSides)
{
    SelectLayout("100");
    FDocument.SetMitRueckseite(true);
    const TPrintCorrection correction{{1.5f, -1.0f}, {-2.0f, 0.5f}};
    for (const TBogenEintrag &entry : EverySheet()) {
        const TBogenlayout &sheet = entry.Bogen;
        SCOPED_TRACE(sheet.Name.toStdString());
        UseSheet(entry);
        Print(correction, true);
        ASSERT_EQ(Pages(), 2);
        // The outlines the scales cross: the first slot's left and top edges,
        // the last slot's right and bottom edges.
        const TSinglePoint first = sheet.SlotOrigin(0, 0);
        const TSinglePoint last = sheet.SlotOrigin(sheet.Columns - 1, sheet.Rows - 1);
        const double edges[] = {first.X, first.Y, last.X + sheet.CardWidth, last.Y + sheet.CardHeight};
        const std::vector<TEdgeScale> scales = EdgeScales(sheet);
        ASSERT_EQ(scales.size(), 4u);
        for (int page = 1; page <= 2; ++page) {
            const TPrintOffsets &offsets = page == 1 ? correction.Front : correction.Back;
            for (std::size_t i = 0; i < scales.size(); ++i) {
                SCOPED_TRACE(testing::Message() << "page " << page << ", scale " << i);
                const bool alongY = i % 2 == 1;
                const double edge = edges[i] + (alongY ? offsets.Y : offsets.X);
                const double across = scales[i].Across + (alongY ? offsets.X : offsets.Y);
                // Across the ticks just beside the baseline, then across the outline alone.
                const std::vector<double> ticks = InkAlong(page, alongY, across + 0.3, edge - 6, edge + 6);
                const std::vector<double> outline = InkAlong(page, alongY, across - 4, edge - 0.5, edge + 0.5);
                ASSERT_EQ(ticks.size(), 21u);
                ASSERT_EQ(outline.size(), 1u);
                EXPECT_NEAR(outline[0], edge, 0.1);
                EXPECT_NEAR(ticks[10], outline[0], 0.1) << "zero on the outline";
                for (int k = 0; k <= 20; ++k)
                    EXPECT_NEAR(ticks[std::size_t(k)], edge + (k - 10) * 0.5, 0.1) << (k - 10) * 0.5 << " mm";
            }
        }
    }
}

// A folding card is printed on its own sheet whoever read it (here no window
// applies the card type): five 170 x 55 mm slots, the front or back right of
// the fold, the inside or outer text left of it.
TEST_F(PrintPdfTest, FoldingCardFillsFiveSlotsWithItsHalves)
{
    const QString card = FDir.filePath("klapp.tsx");
    const QByteArray card1 = "[Daten]\r\nName=Erika Beispiel\r\nKartentyp=1\r\nMitRueckseite=";
    const QByteArray card2 = "\r\nBackText1_0=Rueckseitentext\r\nKlappVisitenkartenTextInnen0=Innentext\r\n"
                             "KlappVisitenkartenTextAussen0=Aussentext\r\n[Layout]\r\nName=100\r\n";
    const auto expectHalves = [&](const char *word, int page, bool right) {
        QString problem;
        EXPECT_TRUE(PdfText::OneInEachFoldingHalf(Words(word, page), right, &problem))
            << word << ": " << problem.toStdString();
    };
    for (const char *road : {"one-sided file", "two-sided file", "two-sided, the last card in the settings"}) {
        SCOPED_TRACE(road);
        const bool twoSided = QByteArray(road).startsWith("two");
        ASSERT_TRUE(WriteAll(card, card1 + (twoSided ? "1" : "0") + card2));
        TDocument read;
        ASSERT_TRUE(read.LoadFromFile(card));
        if (QByteArray(road).contains("settings")) {
            read.SaveToRegistry("Klappkarte"); // as the window does at its end with "Default"
            FDocument.LoadFromRegistry("Klappkarte");
        } else {
            ASSERT_TRUE(FDocument.LoadFromFile(card));
        }
        Print({});
        ASSERT_EQ(Pages(), twoSided ? 2 : 1);
        expectHalves("Erika", 1, true);
        expectHalves("Innentext", 1, false);
        for (const TWordBox &name : Words("Erika"))
            EXPECT_NEAR(name.Left, 20 + 85 + 5, 0.5); // the standard card's name, 85 mm on
        if (twoSided) {
            expectHalves("Rueckseitentext", 2, true);
            expectHalves("Aussentext", 2, false);
            EXPECT_TRUE(Words("Erika", 2).empty());
        }
    }
}

// A full disk fails the job with its message and leaves no file, not even
// an empty one.
TEST_F(PrintPdfTest, FullDiskLeavesNoFile)
{
    TPrinterTarget target(FSupport);
    TSilentUi ui;
    TPrintJob job(FDocument, target, ui, {});
    job.SetConfirm(false);
    const TFileSizeLimit fullDisk(4096);
    EXPECT_THROW(job.PrintCards(1), EPrinterError);
    EXPECT_TRUE(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Output onto a FIFO or a device is refused; both stay what they were. The
// device is one of the test's own (root may make one), so that a broken
// program cannot replace the system's.
TEST_F(PrintPdfTest, TargetThatIsNoFileIsRefusedAndKept)
{
    const QString fifo = FDir.filePath("fifo.pdf");
    const QString device = FDir.filePath("device.pdf");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QStringList targets{fifo};
    if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        targets << device;
    for (const QString &name : targets) {
        SCOPED_TRACE(name.toStdString());
        FSupport.SetPdfFileName(name);
        TPrinterTarget target(FSupport);
        TSilentUi ui;
        TPrintJob job(FDocument, target, ui, {});
        job.SetConfirm(false);
        try {
            job.PrintCards(1);
            ADD_FAILURE() << "printed";
        } catch (const EPrinterError &error) {
            EXPECT_EQ(QString::fromUtf8(error.what()),
                      QString::fromUtf8("Die Datei \"%1\" kann nicht geschrieben werden: Unter diesem Namen gibt es "
                                        "schon etwas anderes als eine Datei, etwa einen Ordner oder ein Gerät.")
                          .arg(name));
        }
    }
    struct stat info{};
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    if (targets.size() > 1) {
        ASSERT_EQ(stat(QFile::encodeName(device).constData(), &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
}
