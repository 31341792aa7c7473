#include "render/uDIB.h"

#include "locale/ulocalize.h"
#include "render/DaVinci.h"
#include "render/Leonardo.h"
#include "render/uScaler.h"
#include "render/uVectorPicture.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QPainter>

namespace {

const char CannotReadPictureKey[] = "IDS_CANNOTREADPICT";
const char LeftOutKey[] = "ID_LOGOWEGGELASSEN";
// Of what a logo file named and was left out, the user reads the first few
// names, each cut to what tells it apart.
constexpr int ShownLeftOutNames = 3;
constexpr int ShownNameLength = 60;
// The bitmap of a vector logo, for its faded copy and turned cards: a whole
// card's width at 300 dots per inch and then some.
constexpr int VectorBitmapSide = 1200;
// What a screen shows of a logo at most; larger pictures are reduced to
// this once before the preview and the thumbnails take their copies.
constexpr int ScreenSide = 1024;

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
    RegisterDefaultText(LeftOutKey, QString::fromUtf8("Aus der Logodatei %s wurde weggelassen, was auf andere "
                                                      "Dateien oder Adressen verweist oder zu groß ist: %s"));
}

TDIB::TDIB()
    : FPixels(MakePixels({}))
{
}

TDIB::~TDIB() = default;

void TDIB::LoadFromFile(const QString &Name)
{
    const bool hadPicture = !IsEmpty();
    FreePicture();
    FFileName.clear();

    TDIBHandle picture;
    QByteArray format;
    const int result = Name.isEmpty() ? irNotAPicture : ImportPictureFile(Name, picture, format);
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
    FPixels = MakePixels(std::move(picture));
    FFileName = Name;
    FFileStamp = StampOf(Name);
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
    FPixels = MakePixels(std::move(bitmap));
    ReadHeader();
    FVector = std::move(vector);
    FFileName = Name;
    FFileStamp = StampOf(Name);
    return true;
}

void TDIB::Assign(const TDIB &Source)
{
    if (&Source == this)
        return;
    FreePicture();
    FFileName.clear();
    if (!Source.IsEmpty()) {
        FPixels = Source.FPixels;
        FFileName = Source.FFileName;
        FFileStamp = Source.FFileStamp;
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
    FPixels = MakePixels(std::move(H));
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
    FreeDrawCopies();
    if (ConvertDIB(&FPixels->Handle, 24, 0))
        ReadHeader();
}

TDIBHandle &TDIB::Handle()
{
    Detach();
    FreeDrawCopies();
    FVector.reset();
    FFileStamp = TFileStamp();
    return FPixels->Handle;
}

QStringList TDIB::LeftOut() const
{
    return FVector ? FVector->LeftOut() : QStringList();
}

QString TDIB::LeftOutText() const
{
    const QStringList leftOut = LeftOut();
    if (leftOut.isEmpty())
        return {};
    QStringList shown;
    for (QString name : leftOut.mid(0, ShownLeftOutNames)) {
        // The document chose the names: no line breaks or controls reach
        // the message.
        for (QChar &c : name)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
                || c.category() == QChar::Separator_Paragraph)
                c = QLatin1Char(' ');
        if (name.size() > ShownNameLength)
            name = name.left(ShownNameLength - 1) + QChar(0x2026);
        shown << name;
    }
    if (leftOut.size() > ShownLeftOutNames)
        shown << QString(QChar(0x2026));
    RegisterDIBTexts();
    return FormatDefaultText(LeftOutKey, {FFileName, shown.join(QStringLiteral(", "))});
}

bool TDIB::ShowsFile(const QString &Name) const
{
    if (IsEmpty() || FFileName != Name || FFileStamp.Size < 0)
        return false;
    return StampOf(Name) == FFileStamp;
}

TDIB::TFileStamp TDIB::StampOf(const QString &Name)
{
    const QFileInfo info(Name);
    if (!info.exists())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

void TDIB::Detach()
{
    if (FPixels.use_count() > 1)
        FPixels = MakePixels(CopyHandle(FPixels->Handle));
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
    // Every device gets the picture at its size there, taken from the
    // millimetres rather than the rounded device box, so every slot of a
    // sheet asks for the same size: averaged down, which keeps it smooth,
    // and on screen no more pixels to scale per keystroke than the box has.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QSize onDevice(qMax(1, qRound(ACanvas.MMToLength(Right - Left) * ratio)),
                         qMax(1, qRound(ACanvas.MMToLength(Bottom - Top) * ratio)));
    const QRect target(left, top, width, height);
    if (FVector) {
        DrawVectors(painter, target, onDevice, IsPaper(painter));
        return;
    }
    const QImage picture = DrawCopy(onDevice, IsPaper(painter));
    if (picture.isNull())
        return;
    // Colour-on-colour stretching: the picture is scaled smoothly. Lossless
    // pictures must not reach a PDF as JPEG.
    DrawStretched(painter, target, picture, FLossless);
}

void TDIB::DrawVectors(QPainter &painter, const QRect &target, const QSize &onDevice, bool onPaper) const
{
    // Paper takes the vectors, sharp at any size, unless they would make
    // every card large; those and a screen get them rasterised at the
    // device's own resolution, once per size.
    if (onPaper && FVector->PrintsAsVectors()) {
        FVector->Draw(painter, target);
        return;
    }
    const QImage raster = onPaper ? FVector->PaperRaster(onDevice) : FVector->Raster(onDevice);
    DrawStretched(painter, target, raster, true);
}

void TDIB::DrawStretched(QPainter &painter, const QRect &target, const QImage &picture, bool lossless)
{
    const bool wasSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    const bool wasLossless = painter.testRenderHint(QPainter::LosslessImageRendering);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::LosslessImageRendering, lossless);
    painter.drawImage(target, picture, picture.rect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
    painter.setRenderHint(QPainter::LosslessImageRendering, wasLossless);
}

void TDIB::SetDrawCacheEnabled(bool enabled)
{
    DrawCacheSwitch() = enabled;
}

bool TDIB::DrawCacheEnabled()
{
    return DrawCacheSwitch();
}

QImage TDIB::DrawCopy(const QSize &onDevice, bool onPaper) const
{
    const QSize size(qMin(FHeader.biWidth, onDevice.width()), qMin(FHeader.biHeight, onDevice.height()));
    if (!DrawCacheEnabled())
        return MakeDrawCopy(size, onPaper);
    // Paper and screen copies of one size differ in where they are taken from.
    const quint64 key = quint64(size.width()) << 33 | quint64(size.height()) << 1 | quint64(onPaper);
    QCache<quint64, QImage> &copies = FPixels->DrawCopies;
    if (const QImage *cached = copies.object(key))
        return *cached;
    auto *copy = new QImage(MakeDrawCopy(size, onPaper));
    const QImage result = *copy;
    copies.insert(key, copy, qMax<qsizetype>(1, copy->sizeInBytes() / 1024));
    return result;
}

QImage TDIB::MakeDrawCopy(const QSize &size, bool onPaper) const
{
    const TDIBHandle &whole = FPixels->Handle;
    const QSize wholeSize(FHeader.biWidth, FHeader.biHeight);
    if (size == wholeSize)
        return UnpackImage(whole);
    const QSize screen = wholeSize.scaled(ScreenSide, ScreenSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (onPaper || screen == wholeSize || size.width() > screen.width() || size.height() > screen.height())
        return UnpackImage(StretchDIB(whole, size.width(), size.height(), 0));
    // Without the caches the reduction is made anew, as every other copy.
    TDIBHandle fresh;
    TDIBHandle &reduced = DrawCacheEnabled() ? FPixels->ScreenSize : fresh;
    if (reduced.IsEmpty())
        reduced = StretchDIB(whole, screen.width(), screen.height(), 0);
    return UnpackImage(StretchDIB(reduced, size.width(), size.height(), 0));
}

void TDIB::FreeDrawCopies()
{
    FPixels->DrawCopies.clear();
    FPixels->ScreenSize.Reset();
}

std::shared_ptr<TDIB::TPixels> TDIB::MakePixels(TDIBHandle Handle)
{
    auto pixels = std::make_shared<TPixels>();
    pixels->Handle = std::move(Handle);
    return pixels;
}

void TDIB::FreePicture()
{
    FVector.reset();
    FLossless = true;
    FPixels = MakePixels({});
    FHeader = TBitmapInfoHeader();
}

void TDIB::ReadHeader()
{
    if (!DIBInfo(FPixels->Handle, &FHeader, sizeof FHeader))
        FHeader = TBitmapInfoHeader();
}
