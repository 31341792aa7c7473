#pragma once

#include <QImage>
#include <QtGlobal>

// The information header at the start of a packed device-independent bitmap.
struct TBitmapInfoHeader
{
    quint32 biSize = 0;
    qint32 biWidth = 0;
    qint32 biHeight = 0; // positive: rows are stored bottom-up
    quint16 biPlanes = 0;
    quint16 biBitCount = 0;
    quint32 biCompression = 0;
    quint32 biSizeImage = 0;
    qint32 biXPelsPerMeter = 0;
    qint32 biYPelsPerMeter = 0;
    quint32 biClrUsed = 0;
    quint32 biClrImportant = 0;
};
static_assert(sizeof(TBitmapInfoHeader) == 40);

// Bytes of one pixel row, padded to a multiple of four.
qsizetype DIBRowBytes(int width, int bitCount);

// The owner of one packed bitmap: the header, the colour table (1 and 8 bits
// per pixel) and the bottom-up pixel rows in one block. Move-only; the
// block is released when its owner ends or is reset.
class TDIBHandle
{
public:
    TDIBHandle() = default;
    ~TDIBHandle();
    TDIBHandle(TDIBHandle &&other) noexcept;
    TDIBHandle &operator=(TDIBHandle &&other) noexcept;
    TDIBHandle(const TDIBHandle &) = delete;
    TDIBHandle &operator=(const TDIBHandle &) = delete;

    // A zero-filled block; empty when the memory is not available.
    static TDIBHandle Allocate(qsizetype size);

    bool IsEmpty() const { return FData == nullptr; }
    explicit operator bool() const { return !IsEmpty(); }
    uchar *Bits() { return FData; }
    const uchar *Bits() const { return FData; }
    qsizetype Size() const { return FSize; }
    void Reset();

private:
    uchar *FData = nullptr;
    qsizetype FSize = 0;
};

// The header of a well-formed packed bitmap; false for an empty handle or a
// block whose header, colour table or rows do not fit.
bool ReadDIBHeader(const TDIBHandle &handle, TBitmapInfoHeader &header);

// Packs an image; bitCount is 0 or 24. 0 keeps the picture's own kind: 1 or 8 bits
// with colour table for palette and grey pictures, 32 bits (blue, green,
// red, alpha) when it has an alpha channel, 24 bits otherwise. bitCount 24
// forces blue-green-red rows; transparent parts then become white, the colour
// of the card. Empty when memory runs out.
TDIBHandle PackImage(const QImage &image, int bitCount = 0);

// The picture averaged down to the size (never up) and packed with 24 bits,
// transparent parts on white. Only one row of the picture is converted at
// a time, so a large palette or grey picture costs no more than itself.
TDIBHandle PackReduced(const QImage &image, QSize size);

// The picture of a packed bitmap as a top-down image (null for an empty or
// malformed handle): ARGB32 for 32 bits, RGB32 for everything else.
QImage UnpackImage(const TDIBHandle &handle);
