#pragma once

#include "render/uPackedDIB.h"

#include <QRgb>

class QPainter;

// Processing of packed bitmaps. Every handle these calls return is a packed
// bitmap the caller owns; the sources stay valid.

// Raster operation of StretchDIBBlt: copy the source.
inline constexpr quint32 SRCCOPY = 0x00CC0020;

// Fills header (size bytes, at most 40) from the picture; false for an empty
// or malformed handle.
bool DIBInfo(const TDIBHandle &handle, TBitmapInfoHeader *header, int size);
// An independent copy of the picture.
TDIBHandle CopyHandle(const TDIBHandle &handle);
// Releases the picture.
void DIBFree(TDIBHandle &handle);
// Converts the picture to bitCount bits per pixel (only 24 is supported:
// blue-green-red rows without colour table); the variable may receive a new
// block. False, with the picture unchanged, when it cannot be converted.
bool ConvertDIB(TDIBHandle *handle, int bitCount, int flags);
// The picture resampled to width x height: averaged over the covered area
// when shrinking, interpolated when enlarging. Empty on failure.
TDIBHandle StretchDIB(const TDIBHandle &handle, int width, int height, int flags);
// The picture turned by tenths of a degree (positive = counter-clockwise)
// on a canvas just large enough to hold it, corners filled with background.
TDIBHandle RotateDIB(const TDIBHandle &handle, int tenthsOfDegree, QRgb background);
// Draws the source rectangle (top-down picture coordinates) stretched into
// the destination rectangle. The painter's smooth-pixmap hint is the stretch
// mode: with it the picture is scaled smoothly. Only SRCCOPY is supported.
bool StretchDIBBlt(QPainter &dc, int x, int y, int width, int height, const TDIBHandle &handle, int sourceX,
                   int sourceY, int sourceWidth, int sourceHeight, quint32 rop);
