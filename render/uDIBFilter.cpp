#include "render/uDIBFilter.h"

#include "render/uDIB.h"

#include <cmath>

quint8 ClampByte(float X)
{
    if (!(X >= 0)) // also NaN
        return 0;
    if (X > 255)
        return 255;
    return quint8(std::nearbyint(X));
}

bool ApplyTables(TDIBHandle &H, const TColorTable &T1, const TColorTable &T2, const TColorTable &T3,
                 const TFilterProgress &Progress)
{
    TBitmapInfoHeader header;
    if (!ReadDIBHeader(H, header) || header.biBitCount != 24)
        return false;
    const qsizetype rowBytes = DIBRowBytes(header.biWidth, 24);
    uchar *rows = H.Bits() + sizeof header;
    for (int row = 0; row < header.biHeight; ++row) {
        uchar *pixel = rows + row * rowBytes;
        for (int x = 0; x < header.biWidth; ++x, pixel += 3) {
            pixel[0] = T1[pixel[0]];
            pixel[1] = T2[pixel[1]];
            pixel[2] = T3[pixel[2]];
        }
        if (Progress) {
            // A single row is all of the work at once.
            const int percent =
                header.biHeight > 1 ? int(std::lround(100.0 * row / (header.biHeight - 1))) : 100;
            Progress(percent);
        }
    }
    return true;
}

bool ApplyTable(TDIBHandle &H, const TColorTable &Table, const TFilterProgress &Progress)
{
    return ApplyTables(H, Table, Table, Table, Progress);
}

TColorTable WatermarkTable()
{
    constexpr float Strength = 0.15f;
    TColorTable table;
    for (int i = 0; i < 256; ++i)
        table[i] = ClampByte(float(i) * Strength + (1 - Strength) * 255);
    return table;
}

void MakeWatermark(TDIB &Watermark, const TDIB &Logo)
{
    Watermark.Assign(Logo);
    if (Watermark.IsEmpty())
        return;
    Watermark.ConvertTo24Bit();
    ApplyTable(Watermark.Handle(), WatermarkTable());
}

void TWatermark::Invalidate()
{
    FStale = true;
    FPicture.Clear();
}

const TDIB &TWatermark::Of(const TDIB &Logo) const
{
    if (FStale) {
        MakeWatermark(FPicture, Logo);
        FStale = false;
    }
    return FPicture;
}
