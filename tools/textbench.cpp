// Times drawing a card's text block (five lines, 150 characters) into an
// image at screen resolution, with and without the font metrics cache.
#include "render/uScaleCanvasHelp.h"
#include "render/uTextMetrics.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

double MicrosecondsPerBlock(QPainter &painter, int rounds)
{
    const QStringList lines{
        "Dr. Erika Mustermann, Beraterin",
        "Mustermann & Partner GmbH Bonn",
        "Wilhelmstrasse 17, 53111 Bonn.",
        "Tel. 0228 / 123 456 - 78 Fax 9",
        "erika.mustermann@beispiel.de.",
    };
    TScaleCanvas canvas(painter);
    canvas.SetupForDevice(TScaleDevice::sdScreen);
    QFont font("Arial");
    font.setPointSize(9);
    canvas.SetFont(font);
    for (int i = 0; i < 20; ++i)
        DrawTextBox(canvas, lines, 5, 5, 80, 50, 0, 0, {0, 0}, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        DrawTextBox(canvas, lines, 5, 5, 80, 50, i % 3, 1, {0, 0}, 0);
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / rounds;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5000;

    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const double cached = MicrosecondsPerBlock(painter, rounds);
    TMeasuringFont::SetCacheEnabled(false);
    const double uncached = MicrosecondsPerBlock(painter, rounds / 10 + 1);
    TMeasuringFont::SetCacheEnabled(true);
    std::printf("text block, 5 lines / 150 characters, screen resolution:\n");
    std::printf("  metrics cached:   %8.1f us per block (%d rounds)\n", cached, rounds);
    std::printf("  metrics uncached: %8.1f us per block (%d rounds)\n", uncached, rounds / 10 + 1);
    return 0;
}
