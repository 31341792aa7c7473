#include "render/uDIB.h"

#include "locale/ulocalize.h"
#include "render/DaVinci.h"
#include "render/Leonardo.h"
#include "render/uScaler.h"

#include <QFile>
#include <QPaintDevice>
#include <QPainter>

namespace {

const char CannotReadPictureKey[] = "IDS_CANNOTREADPICT";

bool IsPrinter(const QPainter &painter)
{
    return painter.device() && painter.device()->devType() == QInternal::Printer;
}

bool &DrawCacheSwitch()
{
    static bool enabled = true;
    return enabled;
}

} // namespace

void RegisterDIBTexts()
{
    RegisterDefaultText(CannotReadPictureKey, "Die Bilddatei konnte nicht geladen werden");
}

void TDIB::LoadFromFile(const QString &Name)
{
    const bool hadPicture = !IsEmpty();
    FreePicture();
    FFileName.clear();

    const QByteArray encodedName = QFile::encodeName(Name);
    TImportParams params;
    params.Mode = ipImportFile;
    params.FileName = encodedName.constData();
    if (ipImportInd(&params) != irOK) {
        // Whoever keeps a copy of the old picture (the watermark) must learn
        // that it is gone.
        if (hadPicture)
            Changed();
        RegisterDIBTexts();
        throw EDIBError(GetDefaultText(CannotReadPictureKey).toStdString());
    }
    SetHandle(std::move(params.Picture));
    FFileName = Name;
}

void TDIB::Assign(const TDIB &Source)
{
    if (&Source == this)
        return;
    FreePicture();
    FFileName.clear();
    if (!Source.IsEmpty()) {
        FHandle = CopyHandle(Source.FHandle);
        FFileName = Source.FFileName;
        ReadHeader();
    }
    Changed();
}

void TDIB::SetHandle(TDIBHandle H)
{
    FreePicture();
    FFileName.clear();
    FHandle = std::move(H);
    ReadHeader();
    Changed();
}

void TDIB::Clear()
{
    FreePicture();
    FFileName.clear();
    Changed();
}

void TDIB::ConvertTo24Bit()
{
    if (!IsEmpty() && FHeader.biBitCount != 24 && ConvertDIB(&FHandle, 24, 0))
        ReadHeader();
}

void TDIB::Draw(TScaleCanvas &ACanvas, float Left, float Top, float Right, float Bottom) const
{
    if (IsEmpty())
        return;
    const int left = ACanvas.MMToX(Left);
    const int top = ACanvas.MMToY(Top);
    const int width = ACanvas.MMToX(Right) - left;
    const int height = ACanvas.MMToY(Bottom) - top;
    TBitmapInfoHeader header;
    if (!DIBInfo(FHandle, &header, sizeof header))
        return;

    QPainter &painter = ACanvas.Canvas();
    // Colour-on-colour stretching: the picture is scaled smoothly.
    const bool wasSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    const bool resample = IsPrinter(painter) && (width < header.biWidth || height < header.biHeight);
    if (DrawCacheEnabled()) {
        const QImage &picture = DrawCopy(width, height, resample);
        if (!picture.isNull())
            painter.drawImage(QRect(left, top, width, height), picture, picture.rect());
    } else if (resample) {
        // A printer gets the picture at its device size: the resampler
        // averages it down, which keeps the print smooth; it is never enlarged.
        TDIBHandle resampled =
            StretchDIB(FHandle, qMin(header.biWidth, width), qMin(header.biHeight, height), 0);
        TBitmapInfoHeader small;
        if (DIBInfo(resampled, &small, sizeof small))
            StretchDIBBlt(painter, left, top, width, height, resampled, 0, 0, small.biWidth,
                          small.biHeight, SRCCOPY);
    } else {
        StretchDIBBlt(painter, left, top, width, height, FHandle, 0, 0, header.biWidth,
                      header.biHeight, SRCCOPY);
    }
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

const QImage &TDIB::DrawCopy(int width, int height, bool resampled) const
{
    if (!resampled) {
        if (FUnpacked.isNull())
            FUnpacked = UnpackImage(FHandle);
        return FUnpacked;
    }
    // A printer needs only the resampled copy; the whole picture unpacked
    // beside it would double what a large logo costs.
    const QSize size(qMin(FHeader.biWidth, width), qMin(FHeader.biHeight, height));
    if (FResampled.size() != size)
        FResampled = UnpackImage(StretchDIB(FHandle, size.width(), size.height(), 0));
    return FResampled;
}

void TDIB::FreeDrawCopies()
{
    FUnpacked = QImage();
    FResampled = QImage();
}

void TDIB::FreePicture()
{
    FreeDrawCopies();
    DIBFree(FHandle);
    FHeader = TBitmapInfoHeader();
}

void TDIB::ReadHeader()
{
    FreeDrawCopies();
    if (!DIBInfo(FHandle, &FHeader, sizeof FHeader))
        FHeader = TBitmapInfoHeader();
}

void TDIB::Changed()
{
    if (OnChange)
        OnChange(*this);
}
