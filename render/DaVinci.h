#pragma once

#include "render/uPackedDIB.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>

// Picture import: reads a picture file into a packed bitmap.

// The only import mode: read the file named in the block.
inline constexpr quint32 ipImportFile = 1800;

// The 152-byte parameter block of ipImportInd. Fill Size, Mode and FileName;
// everything else stays zero. On success Picture holds the loaded picture.
struct TImportParams
{
    quint32 Size = sizeof(TImportParams);
    quint32 Reserved0[2] = {};
    quint32 Mode = 0;
    quint32 Reserved1[2] = {};
    union {
        const char *FileName; // zero-terminated, in the file system's encoding
        quint64 FileNameSlot = 0;
    };
    quint32 Reserved2[6] = {};
    TDIBHandle Picture;
    uchar Reserved3[152 - 56 - sizeof(TDIBHandle)] = {};
};
static_assert(sizeof(TImportParams) == 152);
static_assert(offsetof(TImportParams, Mode) == 12);
static_assert(offsetof(TImportParams, FileName) == 24);
static_assert(offsetof(TImportParams, Picture) == 56);

// Results of ipImportInd; only irOK means a picture was loaded.
enum TImportResult : int {
    irOK = 0,
    irBadParams = 1,   // block size, mode or file name missing or wrong
    irNotAPicture = 2, // no such file, or not a bitmap, JPEG, TIFF, PNG, GIF or WebP picture
    irTooLarge = 3,    // more pixels than MaxImportPixels, or a file too big to be one
    irCorrupt = 4,     // truncated or damaged picture data
    irNoMemory = 5,
};

// Pictures with more pixels are refused before they are decoded.
inline constexpr qint64 MaxImportPixels = 100'000'000;
// What the decoder may allocate for one picture. Larger pictures are
// decoded at a reduced size where the format allows it and refused where
// it does not.
inline constexpr qint64 DecodeBudgetBytes = 96 * 1024 * 1024;

// Reads the picture file named in the block. On failure the block's Picture
// is empty.
int ipImportInd(TImportParams *params);

// The same for a file name, also giving the format of the file's content
// ("jpeg", "png", ...; empty when it is no picture). The file is read as a
// stream, never mapped: one that shrinks while it is decoded is refused as
// corrupt.
int ImportPictureFile(const QString &fileName, TDIBHandle &picture, QByteArray &format);

// What decoding picture data whole (a picture embedded in an SVG logo)
// allocates, from its header; -1 when it is no bitmap, JPEG, TIFF, PNG, GIF
// or WebP picture, or has more than MaxImportPixels or needs more than
// DecodeBudgetBytes.
qint64 WholeDecodeBytes(const QByteArray &data);
