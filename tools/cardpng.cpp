// Developer tool: renders one side of a card, as the preview shows it, or a
// whole printed sheet of it to a PNG file, so that drawing changes can be
// looked at without a printer.
//
//   cardpng [options] output.png
//
// Without --card the document holds the sample card of a first start. The
// user's own settings are never read or written.

#include "model/uDocument.h"
#include "render/uDefaultView.h"
#include "render/uDIB.h"
#include "render/uScaler.h"
#include "tools/uToolSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cmath>
#include <exception>
#include <cstdlib>

namespace {

struct TRenderOptions
{
    enum class TWhat { Card, Sheet, TestSheet } What = TWhat::Card;
    bool Back = false;
    double Dpi = 0; // 0: the screen's
};

// The empty frame around a card on screen, in millimetres.
constexpr float CardMargin = 2;

void Fail(const QString &message)
{
    QTextStream(stderr) << "cardpng: " << message << '\n';
    std::exit(1);
}

// At zoom 1 the canvas draws at screen resolution; other resolutions are
// reached by zooming, which scales fonts and geometry alike.
void SetResolution(TScaleCanvas &canvas, double dpi)
{
    canvas.SetupForDevice(TScaleDevice::sdScreen);
    if (dpi > 0)
        canvas.SetZoom(float(dpi / (canvas.PixelsPerMMY() * 25.4)));
}

// Device pixels of a length at the given resolution, without a canvas.
int PixelsFor(float mm, double dpi)
{
    return int(std::ceil(mm * dpi / 25.4));
}

double ScreenDpi()
{
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    TScaleCanvas canvas(painter);
    canvas.SetupForDevice(TScaleDevice::sdScreen);
    return canvas.PixelsPerMMY() * 25.4;
}

QImage RenderCard(const TDocument &doc, const TRenderOptions &options)
{
    const TBogenlayout &sheet = doc.Bogenlayout();
    const bool rotated = IsLayoutRotated(doc.Kartenlayout(), sheet);
    const float width = (rotated ? sheet.CardHeight : sheet.CardWidth) + 2 * CardMargin;
    const float height = (rotated ? sheet.CardWidth : sheet.CardHeight) + 2 * CardMargin;
    const double dpi = options.Dpi > 0 ? options.Dpi : ScreenDpi();

    QImage image(PixelsFor(width, dpi), PixelsFor(height, dpi), QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0)); // the preview's background
    QPainter painter(&image);
    TScaleCanvas canvas(painter);
    SetResolution(canvas, dpi);
    canvas.SetOffsetX(CardMargin);
    canvas.SetOffsetY(CardMargin);
    TMainView().DrawSide(canvas, doc, options.Back);
    return image;
}

QImage RenderSheet(const TDocument &doc, const TRenderOptions &options)
{
    const TBogenlayout &sheet = doc.Bogenlayout();
    const double dpi = options.Dpi > 0 ? options.Dpi : ScreenDpi();
    QImage image(PixelsFor(sheet.SheetWidth, dpi), PixelsFor(sheet.SheetHeight, dpi), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TScaleCanvas canvas(painter);
    SetResolution(canvas, dpi);
    const TPrintView view;
    if (options.What == TRenderOptions::TWhat::TestSheet)
        view.DrawTestSheet(canvas, doc);
    else
        view.DrawSheet(canvas, doc, options.Back);
    return image;
}

void LoadLogo(TDIB &logo, const QString &fileName)
{
    try {
        logo.LoadFromFile(fileName);
    } catch (const std::exception &error) {
        Fail(QStringLiteral("%1: %2").arg(fileName, QString::fromUtf8(error.what())));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const TToolSettings settings;
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders a card side or a printed sheet to a PNG file."));
    parser.addHelpOption();
    const QCommandLineOption cardOption(QStringLiteral("card"), QStringLiteral("Card-data file (.tsx) to show."),
                                        QStringLiteral("file"));
    const QCommandLineOption layoutOption(QStringLiteral("layout"), QStringLiteral("Template to use, e.g. 111."),
                                          QStringLiteral("name"));
    const QCommandLineOption backOption(QStringLiteral("back"), QStringLiteral("Draw the back side."));
    const QCommandLineOption foldingOption(QStringLiteral("folding"), QStringLiteral("Make it a folding card."));
    const QCommandLineOption sheetOption(QStringLiteral("sheet"), QStringLiteral("Draw the printed sheet."));
    const QCommandLineOption testSheetOption(QStringLiteral("test-sheet"), QStringLiteral("Draw the test page."));
    const QCommandLineOption dpiOption(QStringLiteral("dpi"), QStringLiteral("Resolution (default: the screen's)."),
                                       QStringLiteral("dpi"));
    const QCommandLineOption logoOption(QStringLiteral("logo"), QStringLiteral("Front logo picture."),
                                        QStringLiteral("file"));
    const QCommandLineOption backLogoOption(QStringLiteral("back-logo"), QStringLiteral("Back logo picture."),
                                            QStringLiteral("file"));
    const QCommandLineOption fontOption(QStringLiteral("font"), QStringLiteral("Font face for all texts."),
                                        QStringLiteral("name"));
    const QCommandLineOption noLinesOption(QStringLiteral("no-lines"), QStringLiteral("Leave the rules out."));
    const QCommandLineOption centreOption(QStringLiteral("centre-back"),
                                          QStringLiteral("Centre the back texts over the card height."));
    parser.addOptions({cardOption, layoutOption, backOption, foldingOption, sheetOption, testSheetOption, dpiOption,
                       logoOption, backLogoOption, fontOption, noLinesOption, centreOption});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("PNG file to write."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    TDocument doc;
    if (parser.isSet(cardOption)) {
        if (!doc.LoadFromFile(parser.value(cardOption)))
            Fail(QStringLiteral("cannot load %1").arg(parser.value(cardOption)));
    } else {
        doc.LoadDefault();
    }
    if (parser.isSet(foldingOption))
        doc.SetKartentyp(TDocument::Klappkarte);
    else
        doc.SetKartentyp(doc.Kartentyp()); // the sheet follows a loaded card type
    if (parser.isSet(layoutOption)) {
        const int index = doc.Layouts().IndexOfName(parser.value(layoutOption));
        if (index < 0)
            Fail(QStringLiteral("no template %1").arg(parser.value(layoutOption)));
        doc.SelectLayout(doc.Layouts().Items(index));
    }
    if (parser.isSet(logoOption))
        LoadLogo(doc.Logo, parser.value(logoOption));
    if (parser.isSet(backLogoOption))
        LoadLogo(doc.LogoRueckseite, parser.value(backLogoOption));
    if (parser.isSet(fontOption))
        doc.Fontname = parser.value(fontOption);
    if (parser.isSet(noLinesOption))
        doc.LinienAnzeigen = false;
    if (parser.isSet(centreOption))
        doc.TextZentrierenRueckseite = true;

    TRenderOptions options;
    options.Back = parser.isSet(backOption);
    if (parser.isSet(testSheetOption))
        options.What = TRenderOptions::TWhat::TestSheet;
    else if (parser.isSet(sheetOption))
        options.What = TRenderOptions::TWhat::Sheet;
    if (parser.isSet(dpiOption)) {
        bool ok = false;
        options.Dpi = parser.value(dpiOption).toDouble(&ok);
        if (!ok || options.Dpi < 10 || options.Dpi > 1200)
            Fail(QStringLiteral("resolution must be between 10 and 1200 dpi"));
    }

    const QImage image =
        options.What == TRenderOptions::TWhat::Card ? RenderCard(doc, options) : RenderSheet(doc, options);
    const QString output = parser.positionalArguments().constFirst();
    if (!image.save(output, "PNG"))
        Fail(QStringLiteral("cannot write %1").arg(output));
    return 0;
}
