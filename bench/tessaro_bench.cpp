// Times what a user waits for: the redraw after a keystroke, a printed sheet,
// a whole print run and the program start, and the memory they take.
//
//   tessaro_bench [--benchmark_filter=REGEX] [other Google Benchmark flags]
//
// Every case repeats itself and reports median, mean, spread (stddev, cv)
// and the fastest and slowest repetition. Whole processes report their peak
// resident memory (peak_rss_MB) and the processor time they used
// (child_cpu_ms), which tells the cost apart from waiting on a busy machine.

#include "BenchScene.h"
#include "ChildProcess.h"

#include "model/uDocument.h"
#include "render/uDefaultView.h"
#include "render/uScaler.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

TBenchScene *Scene = nullptr;
QString BenchProgram;

constexpr int Repetitions = 10;

double Fastest(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

double Slowest(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

benchmark::internal::Benchmark *Spread(benchmark::internal::Benchmark *bench)
{
    return bench->Repetitions(Repetitions)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", Fastest)
        ->ComputeStatistics("max", Slowest);
}

void KeystrokeRedraw(benchmark::State &state)
{
    Scene->Keystroke();
    for (auto _ : state)
        Scene->Keystroke();
}

// The photo as logo on both sides of layout 100 while the case runs.
void KeystrokeRedrawPhoto(benchmark::State &state)
{
    TDocument &document = Scene->Document();
    const QString logo = document.Logo.FileName();
    const QString layout = document.Kartenlayout().Name;
    const auto select = [&](const QString &name) {
        document.SelectLayout(document.Layouts().Items(document.Layouts().IndexOfName(name)));
    };
    document.Logo.LoadFromFile(Scene->PhotoFile());
    document.LogoRueckseite.Assign(document.Logo);
    select(QStringLiteral("100"));
    Scene->Keystroke();
    for (auto _ : state)
        Scene->Keystroke();
    document.Logo.LoadFromFile(logo);
    document.LogoRueckseite.Assign(document.Logo);
    select(layout);
}

// The contact QR code on, at the settings a new card gets: the code follows
// every letter, and each layout looks for its free corner.
void KeystrokeRedrawQRCode(benchmark::State &state)
{
    TDocument &document = Scene->Document();
    const TQRCodeSettings settings = document.QRCode();
    TQRCodeSettings shown;
    shown.Anzeigen = true;
    document.SetQRCode(shown);
    Scene->Keystroke();
    for (auto _ : state)
        Scene->Keystroke();
    document.SetQRCode(settings);
}

// A vector PDF at 600 dpi, as a printer receives it: one page per sheet.
class TPdfPages
{
public:
    TPdfPages()
    {
        FBuffer.open(QIODevice::WriteOnly);
        FWriter.setPageSize(QPageSize(QPageSize::A4));
        FWriter.setResolution(600);
        FPainter.begin(&FWriter);
    }
    ~TPdfPages() { FPainter.end(); }

    QPainter &Painter() { return FPainter; }
    const QPdfWriter &Writer() const { return FWriter; }
    void NewPage() { FWriter.newPage(); }

private:
    QBuffer FBuffer;
    QPdfWriter FWriter{&FBuffer};
    QPainter FPainter;
};

void DrawPrintedSheet(QPainter &painter, const TPrinterMetrics &metrics)
{
    TScaleCanvas canvas(painter);
    canvas.SetupForDevice(TScaleDevice::sdPrinter, metrics);
    TPrintView().DrawSheet(canvas, Scene->Document(), false);
}

void SheetIntoPdfPage(benchmark::State &state)
{
    // A fresh file now and then keeps the buffered output small.
    constexpr int PagesPerFile = 50;
    auto pdf = std::make_unique<TPdfPages>();
    const TPrinterMetrics metrics{600, 600, {}};
    int pages = 0;
    for (auto _ : state) {
        DrawPrintedSheet(pdf->Painter(), metrics);
        pdf->NewPage();
        if (++pages % PagesPerFile == 0) {
            state.PauseTiming();
            pdf = std::make_unique<TPdfPages>();
            state.ResumeTiming();
        }
    }
}

void SheetInto300DpiImage(benchmark::State &state)
{
    // A4 at 300 dpi, as a raster printer driver draws it.
    QImage page(2480, 3508, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811);
    page.setDotsPerMeterY(11811);
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter painter(&page);
        TScaleCanvas canvas(painter);
        canvas.SetupForDevice(TScaleDevice::sdScreen);
        canvas.SetZoom(float(300 / (canvas.PixelsPerMMY() * 25.4)));
        TPrintView().DrawSheet(canvas, Scene->Document(), false);
    }
}

// Runs a whole process per iteration; its wall time is the case's time.
void TimeProcess(benchmark::State &state, const QString &program, const QStringList &arguments,
                 const QString &expectedFile = {})
{
    long peakKB = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        if (!expectedFile.isEmpty())
            QFile::remove(expectedFile);
        const TChildResult result = RunChild(program, arguments);
        if (result.ExitCode != 0 || (!expectedFile.isEmpty() && !QFile::exists(expectedFile))) {
            state.SkipWithError(qPrintable(QStringLiteral("%1 failed (exit code %2)")
                                               .arg(arguments.join(QLatin1Char(' ')))
                                               .arg(result.ExitCode)));
            return;
        }
        state.SetIterationTime(result.Seconds);
        peakKB = std::max(peakKB, result.PeakRssKB);
        cpuSeconds += result.CpuSeconds;
    }
    state.counters["peak_rss_MB"] = double(peakKB) / 1024;
    state.counters["child_cpu_ms"] = benchmark::Counter(cpuSeconds * 1000, benchmark::Counter::kAvgIterations);
}

void PrintToPdf(benchmark::State &state)
{
    const QString output = Scene->Folder() + QStringLiteral("/print.pdf");
    TimeProcess(state, QStringLiteral(TESSARO_PROGRAM),
                {QStringLiteral("--print-to-pdf"), output, QStringLiteral("--sheets"),
                 QString::number(state.range(0)), Scene->CardFile()},
                output);
}

void PrintPhotoToPdf(benchmark::State &state)
{
    const QString output = Scene->Folder() + QStringLiteral("/photo.pdf");
    TimeProcess(state, QStringLiteral(TESSARO_PROGRAM),
                {QStringLiteral("--print-to-pdf"), output, QStringLiteral("--sheets"), QString::number(state.range(0)),
                 Scene->PhotoCardFile()},
                output);
    state.counters["pdf_MB"] = double(QFileInfo(output).size()) / (1024 * 1024);
}

void WizardInsertPhoto(benchmark::State &state)
{
    // The child measures the insertion itself; its start is not part of it.
    const QString timeFile = Scene->Folder() + QStringLiteral("/insert-seconds");
    long peakKB = 0;
    for (auto _ : state) {
        QFile::remove(timeFile);
        const TChildResult result =
            RunChild(BenchProgram, {QLatin1String(InsertPhotoSwitch), Scene->PhotoFile(), timeFile});
        QFile file(timeFile);
        if (result.ExitCode != 0 || !file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("the wizard did not insert the photo");
            return;
        }
        state.SetIterationTime(file.readAll().toDouble());
        peakKB = std::max(peakKB, result.PeakRssKB);
    }
    state.counters["peak_rss_MB"] = double(peakKB) / 1024;
}

void StartToFirstPaint(benchmark::State &state)
{
    TimeProcess(state, BenchProgram, {QLatin1String(FirstPaintSwitch)});
}

void WizardWithThumbnails(benchmark::State &state)
{
    TimeProcess(state, BenchProgram, {QLatin1String(ThumbnailsSwitch)});
}

} // namespace

int main(int argc, char **argv)
{
    if (const auto code = RunMeasureChild(argc, argv))
        return *code;
    if (argc == 2 || argc == 4) {
        if (const auto code = RunStartChild(argc, argv))
            return *code;
    }
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    UsePrivateHome(home.path());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The measured start leaves the splash out: it stays up two seconds by design.
    qputenv("TESSARO_NO_SPLASH", "1");
    QApplication app(argc, argv);
    BenchProgram = QCoreApplication::applicationFilePath();
    TBenchScene scene;
    Scene = &scene;

    Spread(benchmark::RegisterBenchmark("KeystrokeRedraw", KeystrokeRedraw))->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("KeystrokeRedrawPhoto", KeystrokeRedrawPhoto))->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("KeystrokeRedrawQRCode", KeystrokeRedrawQRCode))->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("SheetIntoPdfPage600dpi", SheetIntoPdfPage))->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("SheetInto300dpiImage", SheetInto300DpiImage))->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("PrintToPdf", PrintToPdf))
        ->Arg(1)
        ->Arg(99)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("PrintPhotoToPdf", PrintPhotoToPdf))
        ->Arg(99)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("WizardInsertPhoto", WizardInsertPhoto))
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("StartToFirstPaint", StartToFirstPaint))
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    Spread(benchmark::RegisterBenchmark("WizardWithAllThumbnails", WizardWithThumbnails))
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
