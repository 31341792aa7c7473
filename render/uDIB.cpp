#include "render/uDIB.h"

#include "locale/ulocalize.h"
#include "render/DaVinci.h"
#include "render/Leonardo.h"
#include "render/uScaler.h"
#include "render/uVectorPicture.h"

#include <QFile>
#include <QImageReader>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QPainter>

namespace {

const char CannotReadPictureKey[] = "IDS_CANNOTREADPICT";
// The bitmap of a vector logo, for its faded copy and turned cards: a whole
// card's width at 300 dots per inch and then some.
constexpr int VectorBitmapSide = 1200;

// Paper: a printer or a PDF, which stores whatever picture it is given.
bool IsPaper(QPainter &painter)
{
    return (painter.device() && painter.device()->devType() == QInternal::Printer)
           || (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf);
}

bool &DrawCacheSwitch()
{
    static bool enabled = true;
    return enabled;
}

} // namespace

QStringList LogoFileSuffixes()
{
    return {QStringLiteral("bmp"), QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("png"),
            QStringLiteral("gif"), QStringLiteral("tif"),  QStringLiteral("tiff"), QStringLiteral("webp"),
            QStringLiteral("svg")};
}

void RegisterDIBTexts()
{
    RegisterDefaultText(CannotReadPictureKey, "Die Bilddatei konnte nicht geladen werden");
}

TDIB::TDIB()
    : FHandle(std::make_shared<TDIBHandle>())
{
}

TDIB::~TDIB() = default;

void TDIB::LoadFromFile(const QString &Name)
{
    const bool hadPicture = !IsEmpty();
    FreePicture();
    FFileName.clear();

    const QByteArray encodedName = QFile::encodeName(Name);
    TImportParams params;
    params.Mode = ipImportFile;
    params.FileName = encodedName.constData();
    const int result = ipImportInd(&params);
    if (result == irNotAPicture && LoadVectors(Name)) {
        emit PictureChanged();
        return;
    }
    if (result != irOK) {
        // Whoever keeps a copy of the old picture (the watermark) must learn
        // that it is gone.
        if (hadPicture)
            emit PictureChanged();
        RegisterDIBTexts();
        throw EDIBError(GetDefaultText(CannotReadPictureKey).toStdString());
    }
    QImageReader reader(Name);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    FHandle = std::make_shared<TDIBHandle>(std::move(params.Picture));
    FFileName = Name;
    FLossless = format != "jpeg" && format != "webp";
    ReadHeader();
    emit PictureChanged();
}

bool TDIB::LoadVectors(const QString &Name)
{
    std::shared_ptr<TVectorPicture> vector = TVectorPicture::FromFile(Name);
    if (!vector)
        return false;
    TDIBHandle bitmap = PackImage(vector->RasterOnWhite(QSize(VectorBitmapSide, VectorBitmapSide)), 24);
    if (!bitmap)
        return false;
    FHandle = std::make_shared<TDIBHandle>(std::move(bitmap));
    ReadHeader();
    FVector = std::move(vector);
    FFileName = Name;
    return true;
}

void TDIB::Assign(const TDIB &Source)
{
    if (&Source == this)
        return;
    FreePicture();
    FFileName.clear();
    if (!Source.IsEmpty()) {
        FHandle = Source.FHandle;
        FFileName = Source.FFileName;
        FLossless = Source.FLossless;
        ReadHeader();
        FVector = Source.FVector;
    }
    emit PictureChanged();
}

void TDIB::SetHandle(TDIBHandle H)
{
    FreePicture();
    FFileName.clear();
    FHandle = std::make_shared<TDIBHandle>(std::move(H));
    ReadHeader();
    emit PictureChanged();
}

void TDIB::Clear()
{
    FreePicture();
    FFileName.clear();
    emit PictureChanged();
}

void TDIB::ConvertTo24Bit()
{
    if (IsEmpty() || FHeader.biBitCount == 24)
        return;
    Detach();
    if (ConvertDIB(FHandle.get(), 24, 0))
        ReadHeader();
}

TDIBHandle &TDIB::Handle()
{
    FreeDrawCopies();
    FVector.reset();
    Detach();
    return *FHandle;
}

void TDIB::Detach()
{
    if (FHandle.use_count() > 1)
        FHandle = std::make_shared<TDIBHandle>(CopyHandle(*FHandle));
}

void TDIB::Draw(TScaleCanvas &ACanvas, float Left, float Top, float Right, float Bottom) const
{
    if (IsEmpty())
        return;
    const int left = ACanvas.MMToX(Left);
    const int top = ACanvas.MMToY(Top);
    const int width = ACanvas.MMToX(Right) - left;
    const int height = ACanvas.MMToY(Bottom) - top;

    QPainter &painter = ACanvas.Canvas();
    if (FVector) {
        DrawVectors(painter, QRect(left, top, width, height), IsPaper(painter));
        return;
    }
    // Every device gets the picture at its size there, taken from the
    // millimetres rather than the rounded device box, so every slot of a
    // sheet asks for the same size: averaged down, which keeps it smooth,
    // and on screen no more pixels to scale per keystroke than the box has.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QSize onDevice(qMax(1, qRound(ACanvas.MMToLength(Right - Left) * ratio)),
                         qMax(1, qRound(ACanvas.MMToLength(Bottom - Top) * ratio)));
    const QImage picture = DrawCopy(onDevice);
    if (picture.isNull())
        return;

    // Colour-on-colour stretching: the picture is scaled smoothly.
    const bool wasSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // Lossless pictures must not reach a PDF as JPEG.
    const bool wasLossless = painter.testRenderHint(QPainter::LosslessImageRendering);
    painter.setRenderHint(QPainter::LosslessImageRendering, FLossless);
    painter.drawImage(QRect(left, top, width, height), picture, picture.rect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
    painter.setRenderHint(QPainter::LosslessImageRendering, wasLossless);
}

void TDIB::DrawVectors(QPainter &painter, const QRect &target, bool onPaper) const
{
    // Paper takes the vectors, sharp at any size; a screen gets them
    // rasterised at its own resolution, once per size.
    if (onPaper) {
        FVector->Draw(painter, target);
        return;
    }
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QImage raster = FVector->Raster((QSizeF(target.size()) * ratio).toSize());
    const bool wasSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, raster);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
}

void TDIB::SetDrawCacheEnabled(bool enabled)
{
    DrawCacheSwitch() = enabled;
}

bool TDIB::DrawCacheEnabled()
{
    return DrawCacheSwitch();
}

QImage TDIB::DrawCopy(const QSize &onDevice) const
{
    const QSize size(qMin(FHeader.biWidth, onDevice.width()), qMin(FHeader.biHeight, onDevice.height()));
    if (!DrawCacheEnabled())
        return MakeDrawCopy(size);
    const quint64 key = quint64(size.width()) << 32 | quint64(size.height());
    if (const QImage *cached = FDrawCopies.object(key))
        return *cached;
    auto *copy = new QImage(MakeDrawCopy(size));
    const QImage result = *copy;
    FDrawCopies.insert(key, copy, qMax<qsizetype>(1, copy->sizeInBytes() / 1024));
    return result;
}

QImage TDIB::MakeDrawCopy(const QSize &size) const
{
    if (size == QSize(FHeader.biWidth, FHeader.biHeight))
        return UnpackImage(*FHandle);
    return UnpackImage(StretchDIB(*FHandle, size.width(), size.height(), 0));
}

void TDIB::FreeDrawCopies()
{
    FDrawCopies.clear();
}

void TDIB::FreePicture()
{
    FreeDrawCopies();
    FVector.reset();
    FLossless = true;
    FHandle = std::make_shared<TDIBHandle>();
    FHeader = TBitmapInfoHeader();
}

void TDIB::ReadHeader()
{
    FreeDrawCopies();
    if (!DIBInfo(*FHandle, &FHeader, sizeof FHeader))
        FHeader = TBitmapInfoHeader();
}
