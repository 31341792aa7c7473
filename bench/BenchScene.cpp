#include "BenchScene.h"

#include "model/uDocument.h"
#include "render/uDefaultView.h"
#include "render/uMMWindow.h"
#include "render/uScaler.h"
#include "ui/uFitMarks.h"

#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>

#include <stdexcept>

namespace {

// A logo with smooth colours and hard edges, so that scaling it costs what a
// photo or a drawn logo would.
QString WriteLogo(const QString &folder)
{
    QImage logo(600, 300, QImage::Format_RGB32);
    QPainter painter(&logo);
    QLinearGradient gradient(0, 0, 600, 300);
    gradient.setColorAt(0, QColor(0x20, 0x60, 0xA0));
    gradient.setColorAt(1, QColor(0xF0, 0xC0, 0x40));
    painter.fillRect(logo.rect(), gradient);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(40, 40, 220, 220));
    painter.fillRect(QRect(320, 60, 240, 60), QColor(0x80, 0x10, 0x10));
    painter.end();
    const QString path = folder + QStringLiteral("/logo.png");
    if (!logo.save(path, "PNG"))
        throw std::runtime_error("cannot write the logo");
    return path;
}

bool ShowsLogo(const TKartenlayout &layout)
{
    for (int i = 0; i < layout.Elements.Count(); ++i)
        if (dynamic_cast<const TPictureFigure *>(&layout.Elements.Items(i)))
            return true;
    return false;
}

} // namespace

void UsePrivateHome(const QString &Folder)
{
    const QByteArray root = QFile::encodeName(Folder);
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
}

TBenchScene::TBenchScene()
    : FFolder(QDir::homePath())
    , FDocument(std::make_unique<TDocument>())
    , FView(std::make_unique<TMainView>())
{
    RegisterDocumentTexts();
    TDocument &doc = *FDocument;
    doc.LoadFromRegistry(QStringLiteral("Benchmark"));
    const QString logo = WriteLogo(FFolder);
    doc.Logo.LoadFromFile(logo);
    doc.LogoRueckseite.LoadFromFile(logo);
    doc.SetMitRueckseite(true);
    for (int i = 0; i < doc.Layouts().Count(); ++i) {
        if (ShowsLogo(doc.Layouts().Items(i))) {
            doc.SelectLayout(doc.Layouts().Items(i));
            break;
        }
    }
    FName = doc.Name();
    FCardFile = FFolder + QStringLiteral("/card.tsx");
    if (!doc.SaveToFile(FCardFile))
        throw std::runtime_error("cannot write the card file");

    // The preview as the main window sets it up for a two-sided card.
    FPreview = std::make_unique<TMMWindow>();
    FPreview->resize(PreviewWidth, PreviewHeight);
    const TBogenlayout &sheet = doc.Bogenlayout();
    const bool rotated = IsLayoutRotated(doc.Kartenlayout(), sheet);
    const float across = rotated ? sheet.CardHeight : sheet.CardWidth;
    const float down = rotated ? sheet.CardWidth : sheet.CardHeight;
    const float worldWidth = rotated ? across * 2.15f : across;
    const float worldHeight = rotated ? down : down * 2.15f;
    FPreview->SetWorldWidth(worldWidth);
    FPreview->SetWorldHeight(worldHeight);
    FPreview->SetTemplateWidth(worldWidth);
    FPreview->SetTemplateHeight(worldHeight);
    FPreview->show();
    FPreview->FitAll();
    QObject::connect(FPreview.get(), &TMMWindow::OnPaint, FPreview.get(), [this, rotated, sheet](TScaleCanvas &canvas) {
        // The window measures what does not fit on every paint.
        FFits = FitCard(*FDocument, FDocument->Kartenlayout());
        FView->DrawSide(canvas, *FDocument, false);
        if (rotated)
            canvas.SetOffsetX(canvas.OffsetX() + sheet.CardHeight * 1.1f);
        else
            canvas.SetOffsetY(canvas.OffsetY() + sheet.CardHeight * 1.1f);
        FView->DrawSide(canvas, *FDocument, true);
    });
    FPreviewImage = QImage(FPreview->viewport()->size(), QImage::Format_RGB32);
}

TBenchScene::~TBenchScene() = default;

QString TBenchScene::PhotoFile()
{
    const QString path = FFolder + QStringLiteral("/photo.jpg");
    if (QFile::exists(path))
        return path;
    // Smooth colours with fine detail, as a phone's photo has.
    QImage photo(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            row[x] = qRgb(x * 255 / 6000, y * 255 / 4000, ((x ^ y) * 7) & 0xFF);
    }
    if (!photo.save(path, "JPEG", 90))
        throw std::runtime_error("cannot write the photo");
    return path;
}

QString TBenchScene::PhotoCardFile()
{
    const QString card = FFolder + QStringLiteral("/photo.tsx");
    if (QFile::exists(card))
        return card;
    const QString path = PhotoFile();
    QFile file(card);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the photo card");
    file.write(QStringLiteral("[Daten]\r\nName=Erika Beispiel\r\nMitRueckseite=1\r\nLogodatei=%1\r\n"
                              "LogodateiR\u00fcckseite=%1\r\n[Layout]\r\nName=100\r\n")
                   .arg(path)
                   .toUtf8());
    return card;
}

void TBenchScene::Keystroke()
{
    // Typing and deleting one letter, by turns.
    ++FKeystrokes;
    FDocument->SetName(FKeystrokes % 2 ? FName + QLatin1Char('n') : FName);
    DrawPreview();
    for (int i = 0; i < FDocument->Layouts().Count(); ++i)
        DrawThumbnail(i);
}

const QImage &TBenchScene::DrawPreview()
{
    FPreviewImage.fill(FPreview->viewport()->palette().window().color());
    FPreview->viewport()->render(&FPreviewImage);
    return FPreviewImage;
}

QImage TBenchScene::DrawThumbnail(int layout) const
{
    // Every thumbnail shows a standard card in a square cell, centred, with
    // five or six pixels to spare on each side.
    QImage bitmap(ThumbnailSide, ThumbnailSide, QImage::Format_RGB888);
    bitmap.fill(Qt::white);
    QPainter surface(&bitmap);
    TScaleCanvas canvas(surface);
    canvas.SetupForDevice(TScaleDevice::sdScreen);
    const TBogenlayout &sheet = FDocument->Bogenlayout();
    const TKartenlayout &item = FDocument->Layouts().Items(layout);
    canvas.SetZoom(float(ThumbnailSide - 11) / float(canvas.MMToLength(sheet.CardWidth)));
    int cardWidth = canvas.MMToLength(sheet.CardWidth);
    int cardHeight = canvas.MMToLength(sheet.CardHeight);
    if (IsLayoutRotated(item, sheet))
        std::swap(cardWidth, cardHeight);
    canvas.SetScrollX(-((ThumbnailSide - cardWidth) / 2));
    canvas.SetScrollY(-((ThumbnailSide - cardHeight) / 2));
    const bool loses = !FitCard(*FDocument, item).isEmpty() || LayoutDropsLogo(*FDocument, item, false) ||
                       LayoutDropsLogo(*FDocument, item, true);
    FView->DrawLayoutSide(canvas, *FDocument, false, item);
    if (loses)
        DrawFitWarning(surface, QPoint(ThumbnailSide - 3, 3));
    surface.end();
    return bitmap;
}
