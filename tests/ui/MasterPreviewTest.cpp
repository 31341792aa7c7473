#include "MasterTestSupport.h"

#include "model/uDocument.h"
#include "render/uMMWindow.h"
#include "render/uScaler.h"
#include "render/uTextFit.h"
#include "ui/uDrawGrid.h"
#include "ui/uFitMarks.h"
#include "ui/uElidedLabel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QDropEvent>
#include <QUrl>
#include <QMimeData>

namespace {

// Grey as the side captions (128) and the inner frames (224) are drawn.
bool IsCaptionGrey(const QColor &c)
{
    return std::abs(c.red() - c.green()) < 6 && std::abs(c.green() - c.blue()) < 6 && c.red() >= 96
        && c.red() <= 176;
}
bool IsFrameGrey(const QColor &c)
{
    return c.red() == c.green() && c.green() == c.blue() && std::abs(c.red() - 224) <= 4;
}
// The preview's red frame and the thumbnails' amber warning sign.
bool IsFitMarkRed(const QColor &c)
{
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}
bool IsWarningAmber(const QColor &c)
{
    return c.red() > 240 && c.green() > 150 && c.green() < 220 && c.blue() < 60;
}

struct TPreviewShot
{
    QImage Image;
    QRect FrontCaption;
    QRect BackFrameEdge;
    QRect FrontFrameEdge;
};

// The preview drawn, with the places of the front caption and of the top
// edge of the inner frame on the back (below the front) and on the front.
TPreviewShot Shoot(TMaster &master)
{
    TMMWindow &preview = master.Preview();
    TPreviewShot shot;
    shot.Image = preview.viewport()->grab().toImage();
    const TScaler &canvas = preview.Scaler();
    shot.FrontCaption = QRect(QPoint(canvas.MMToX(30), canvas.MMToY(55.6f)), QPoint(canvas.MMToX(55), canvas.MMToY(59.5f)));
    const float backTop = 55 * 1.1f;
    shot.BackFrameEdge = QRect(QPoint(canvas.MMToX(20), canvas.MMToY(backTop + 5) - 1),
                               QPoint(canvas.MMToX(60), canvas.MMToY(backTop + 5) + 1));
    shot.FrontFrameEdge = QRect(QPoint(canvas.MMToX(20), canvas.MMToY(5) - 1), QPoint(canvas.MMToX(60), canvas.MMToY(5) + 1));
    return shot;
}

TEST_F(MasterTest, TwoSidedPreviewShowsSideCaptionsAndInnerFramesOnTheBack)
{
    auto master = Create();
    master->Document().SetName(QString());
    master->Document().SetTitel(QString());
    master->DocumentToControls();

    const TPreviewShot single = Shoot(*master);
    EXPECT_EQ(CountPixels(single.Image, single.FrontFrameEdge, IsFrameGrey), 0);
    EXPECT_EQ(CountPixels(single.Image, single.FrontCaption, IsCaptionGrey), 0);

    Get<QAbstractButton>(*master, "rbBeidseitig")->click();
    const TPreviewShot both = Shoot(*master);
    EXPECT_GT(CountPixels(both.Image, both.FrontCaption, IsCaptionGrey), 10);
    EXPECT_GT(CountPixels(both.Image, both.BackFrameEdge, IsFrameGrey), 10);
    EXPECT_EQ(CountPixels(both.Image, both.FrontFrameEdge, IsFrameGrey), 0);
}

// A screen reader hears which sides the preview shows and the card's texts
// as they are drawn, the back's after the front's.
TEST_F(MasterTest, PreviewNamesItsSidesAndReadsTheCardsTexts)
{
    auto master = Create();
    QAccessibleInterface *preview = QAccessible::queryAccessibleInterface(&master->Preview());
    master->Document().SetTitel(QString());
    master->Document().SetBeruf({QStringLiteral("Gärtnerin"), QString()});
    master->Document().SetBackText1({QStringLiteral("Rosen aller Art")});
    master->DocumentToControls();
    EXPECT_EQ(preview->text(QAccessible::Name), QStringLiteral("Vorschau der Vorderseite"));
    const QString front = preview->text(QAccessible::Description);
    EXPECT_TRUE(front.startsWith(QStringLiteral("Heinz Mustermann\nGärtnerin\nAlleestr. 95"))) << qPrintable(front);
    EXPECT_FALSE(front.contains(QStringLiteral("Rosen")));

    Get<QLineEdit>(*master, "edName")->setText(QStringLiteral("Rosa Dorn"));
    Get<QAbstractButton>(*master, "rbBeidseitig")->click();
    EXPECT_EQ(preview->text(QAccessible::Name), QStringLiteral("Vorschau der Vorder- und Rückseite"));
    const QString both = preview->text(QAccessible::Description);
    EXPECT_TRUE(both.startsWith(QStringLiteral("Vorderseite:\nRosa Dorn\n"))) << qPrintable(both);
    EXPECT_TRUE(both.endsWith(QStringLiteral("\nRückseite:\nRosen aller Art"))) << qPrintable(both);
}

// The grey of the captions must stay with the captions.
TEST_F(MasterTest, CardTextsStayBlackOnBothFacesAndOnTheNextPaint)
{
    auto master = Create();
    Get<QAbstractButton>(*master, "rbBeidseitig")->click();
    auto dark = [](const QColor &c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; };
    auto frontText = [&](const QImage &image) {
        const TScaler &canvas = master->Preview().Scaler();
        return CountPixels(image, QRect(QPoint(canvas.MMToX(3), canvas.MMToY(3)), QPoint(canvas.MMToX(82), canvas.MMToY(52))),
                           dark);
    };
    const int first = frontText(master->Preview().viewport()->grab().toImage());
    EXPECT_GT(first, 50);
    EXPECT_EQ(frontText(master->Preview().viewport()->grab().toImage()), first);

    // The back's texts come after the front's grey caption and print black too.
    master->Document().SetBackText1({QStringLiteral("Termine nach Vereinbarung")});
    master->DocumentToControls();
    const TScaler &canvas = master->Preview().Scaler();
    const float backTop = 55 * 1.1f;
    EXPECT_GT(CountPixels(master->Preview().viewport()->grab().toImage(),
                          QRect(QPoint(canvas.MMToX(3), canvas.MMToY(backTop + 3)),
                                QPoint(canvas.MMToX(82), canvas.MMToY(backTop + 52))),
                          dark),
              20);
}

// Layout 100 (the first) holds eight lines of address and phone numbers: of
// six address lines and ten phone lines only "Tel" and "Fax" are printed.
TEST_F(MasterTest, LinesThatDoNotFitAreMarkedInThePreviewAndTheThumbnail)
{
    auto master = Create();
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsLayout"));
    auto *grid = Get<TDrawGrid>(*master, "dgLayouts");
    auto *marks = master->Preview().findChild<TFitMarks *>();
    ASSERT_NE(marks, nullptr);
    const auto redInPreview = [&] {
        const QImage image = master->Preview().viewport()->grab().toImage();
        return CountPixels(image, image.rect(), IsFitMarkRed);
    };
    const auto warningsInGrid = [&] {
        const QImage image = grid->viewport()->grab().toImage();
        return CountPixels(image, grid->CellRect(0, 0), IsWarningAmber);
    };

    // The sample card fits: no mark, no sign.
    ASSERT_EQ(master->Document().Kartenlayout().Name, QStringLiteral("100"));
    EXPECT_EQ(redInPreview(), 0);
    const QImage grid0 = grid->viewport()->grab().toImage();
    EXPECT_EQ(CountPixels(grid0, grid0.rect(), IsWarningAmber), 0);

    Get<QPlainTextEdit>(*master, "meAdresse")
        ->setPlainText(QStringLiteral("Musterfirma GmbH\nAbteilung Vertrieb\nHaus B\nAlleestr. 95\n"
                                      "98765 Musterdorf\nDeutschland"));
    Get<QPlainTextEdit>(*master, "meTele")
        ->setPlainText(QStringLiteral("Tel: 0199/1234567\nFax: 0199/1234568\nMobil: 0170/1234567\n"
                                      "E-Mail: heinz@example.org\nWeb: www.example.org\nTel privat: 0199/7654321\n"
                                      "Fax privat: 0199/7654322\nMobil privat: 0171/7654321\nSkype: heinz.m\n"
                                      "Zentrale: 0199/1000"));
    EXPECT_GT(redInPreview(), 20);
    EXPECT_GT(warningsInGrid(), 10);

    const QList<TTextFit> fits = FitCard(master->Document(), master->Document().Kartenlayout());
    ASSERT_EQ(fits.size(), 1);
    const TScaler &canvas = master->Preview().Scaler();
    const TSingleRect box = fits[0].Box;
    const QString tip = marks->TipAt(QPoint(canvas.MMToX((box.Left + box.Right) / 2), canvas.MMToY(box.Bottom - 1)));
    EXPECT_TRUE(tip.startsWith(QStringLiteral("8 Zeilen passen nicht: "))) << qPrintable(tip);
    for (const char *line : {"Mobil: 0170/1234567", "E-Mail: heinz@example.org", "Web: www.example.org"})
        EXPECT_TRUE(tip.contains(QLatin1String(line))) << line;
    EXPECT_TRUE(marks->TipAt(QPoint(canvas.MMToX(2), canvas.MMToY(2))).isEmpty());
}

// Layout 3 of the chooser has no place for a logo.
TEST_F(MasterTest, LayoutWithoutALogoPlaceIsMarkedInThePreviewAndTheThumbnail)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/logo.bmp");
    ASSERT_TRUE(WriteLogo(path));
    auto master = Create();
    // Room for the second row of thumbnails below the page's settings.
    master->resize(master->width(), master->height() + 160);
    FDialogs.Files.push_back(path);
    Get<QAbstractButton>(*master, "BtnFirmenlogo")->click();
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsLayout"));
    auto *grid = Get<TDrawGrid>(*master, "dgLayouts");
    auto *marks = master->Preview().findChild<TFitMarks *>();
    ASSERT_NE(marks, nullptr);
    const auto paint = [&] { return master->Preview().viewport()->grab().toImage(); };
    const auto middle = [&] {
        const TScaler &canvas = master->Preview().Scaler();
        return QPoint(canvas.MMToX(42.5f), canvas.MMToY(27.5f));
    };
    const QString dropped = QStringLiteral("Dieses Layout zeigt kein Logo: das Logo wird nicht gedruckt.");

    QImage image = paint();
    EXPECT_EQ(CountPixels(image, image.rect(), IsFitMarkRed), 0);
    EXPECT_TRUE(marks->TipAt(middle()).isEmpty());
    EXPECT_TRUE(grid->CellTip(0, 0).isEmpty());
    EXPECT_EQ(grid->CellTip(0, 1), dropped);
    const QImage cells = grid->viewport()->grab().toImage();
    EXPECT_EQ(CountPixels(cells, grid->CellRect(0, 0), IsWarningAmber), 0);
    EXPECT_GT(CountPixels(cells, grid->CellRect(0, 1), IsWarningAmber), 10);

    ASSERT_TRUE(grid->SelectCell(0, 1));
    ASSERT_EQ(master->Document().Kartenlayout().Name, QStringLiteral("102"));
    image = paint();
    EXPECT_GT(CountPixels(image, image.rect(), IsFitMarkRed), 20);
    EXPECT_EQ(marks->TipAt(middle()), dropped);
}

TEST_F(MasterTest, LongLogoPathIsShortenedAndRemovalShowsNoLogo)
{
    QTemporaryDir folder;
    const QString path =
        folder.path() + QStringLiteral("/Firmenunterlagen/Gestaltung/Visitenkarten/Logos/Ausgabe 2026/firmenlogo.bmp");
    ASSERT_TRUE(WriteLogo(path));

    auto master = Create();
    auto *label = Get<QLabel>(*master, "lblLogo");
    auto *remove = Get<QAbstractButton>(*master, "BtnEntfernen");
    FDialogs.Files.push_back(path);
    Get<QAbstractButton>(*master, "BtnFirmenlogo")->click();

    ASSERT_EQ(FDialogs.FileRequests.size(), 1u);
    EXPECT_EQ(FDialogs.FileRequests[0].Title, QStringLiteral("Logodatei öffnen"));
    // Every readable picture type in the first entry.
    const QString first = FDialogs.FileRequests[0].Filter.section(QStringLiteral(";;"), 0, 0);
    for (const char *suffix : {"bmp", "jpg", "jpeg", "png", "gif", "tif", "tiff", "webp", "svg"})
        EXPECT_TRUE(first.contains(QRegularExpression(QStringLiteral(R"([( ]\*\.%1[ )])").arg(QLatin1String(suffix)))))
            << suffix;
    EXPECT_TRUE(FDialogs.FileRequests[0].Filter.contains(QStringLiteral("Alle Dateien")));
    EXPECT_EQ(master->Document().Logo.FileName(), path);
    EXPECT_TRUE(label->text().contains(QStringLiteral("...")));
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("/firmenlogo.bmp")));
    EXPECT_LT(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_TRUE(remove->isEnabled());

    remove->click();
    EXPECT_TRUE(master->Document().Logo.IsEmpty());
    EXPECT_EQ(label->text(), QStringLiteral("<ohne Logo>"));
    EXPECT_FALSE(remove->isEnabled());
}

TEST_F(MasterTest, InsertedVectorLogoSaysWhatItLeftOut)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("logo.svg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 20 10"><style>@import "/etc/x.css";</style>)"
               R"(<rect width="10" height="10"/></svg>)");
    file.close();

    auto master = Create();
    // Room for the second row of thumbnails below the page's settings.
    master->resize(master->width(), master->height() + 160);
    FDialogs.Files.push_back(path);
    Get<QAbstractButton>(*master, "BtnFirmenlogo")->click();
    EXPECT_TRUE(master->Document().Logo.IsVector());
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_EQ(FDialogs.Messages[0].Type, TMsgDlgType::Warning);
    EXPECT_TRUE(FDialogs.Messages[0].Text.endsWith(QStringLiteral("zu groß ist: /etc/x.css")))
        << FDialogs.Messages[0].Text.toStdString();
}

TEST_F(MasterTest, PictureDroppedOnALogoGroupOrThePreviewBecomesThatSidesLogo)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("logo.PNG"));
    ASSERT_TRUE(WriteLogo(path));
    auto master = Create();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder.filePath(QStringLiteral("notes.txt"))), QUrl::fromLocalFile(path)});
    // Whether the widget took the drop.
    const auto drop = [&](QWidget &target) {
        const QPoint at = target.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &dropped);
        return true;
    };

    EXPECT_TRUE(drop(*Get<QWidget>(*master, "gbLogoRueckseite")));
    EXPECT_TRUE(WaitFor([&] { return master->Document().LogoRueckseite.FileName() == path; }));
    EXPECT_TRUE(master->Document().Logo.IsEmpty());
    EXPECT_EQ(Get<QLabel>(*master, "lblLogoRueckseite")->text(), path);

    // The preview takes it for the page shown, and only on the logo pages.
    ASSERT_EQ(Page(*master), QStringLiteral("tsEigeneDaten"));
    EXPECT_TRUE(drop(master->Preview()));
    EXPECT_TRUE(WaitFor([&] { return master->Document().Logo.FileName() == path; }));
    // The back's picture from the same file is taken over, not read again.
    EXPECT_TRUE(master->Document().Logo.SharesPixelsWith(master->Document().LogoRueckseite));
    master->Document().Logo.Clear();
    Get<QTabWidget>(*master, "pcMain")->setCurrentWidget(Get<QWidget>(*master, "tsLayout"));
    EXPECT_FALSE(drop(master->Preview()));
    EXPECT_TRUE(master->Document().Logo.IsEmpty());
}

TEST_F(MasterTest, UnreadableLogoIsReportedAndLeavesNoLogo)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kaputt.bmp"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not a picture");
    file.close();

    auto master = Create();
    FDialogs.Files.push_back(path);
    Get<QAbstractButton>(*master, "BtnLogoEinfuegenRueckseite")->click();
    ASSERT_EQ(FDialogs.Messages.size(), 1u);
    EXPECT_EQ(FDialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_TRUE(master->Document().LogoRueckseite.IsEmpty());
    EXPECT_EQ(Get<QLabel>(*master, "lblLogoRueckseite")->text(), QStringLiteral("<ohne Logo>"));
}

TEST(ShortenPathTest, KeepsTheFileNameAndFitsTheWidth)
{
    const QFontMetrics metrics{QFont()};
    const QString path = QStringLiteral("/home/erika/Dokumente/Firma/Logos/2026/logo.jpg");
    EXPECT_EQ(ShortenPath(metrics, path, metrics.horizontalAdvance(path) + 1), path);
    const int width = metrics.horizontalAdvance(path) / 2;
    const QString shortened = ShortenPath(metrics, path, width);
    EXPECT_TRUE(shortened.startsWith(QStringLiteral("/home")));
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("...") + QStringLiteral("/logo.jpg")));
    EXPECT_LE(metrics.horizontalAdvance(shortened), width - 1);
    // Too narrow even for the file name: nothing wider than asked for.
    EXPECT_LE(metrics.horizontalAdvance(ShortenPath(metrics, path, 20)), 19);
}

} // namespace
