// The logo import on any file content: bitmap, JPEG, TIFF, PNG, GIF, WebP,
// SVG or none.

#include "FuzzSupport.h"

#include "render/DaVinci.h"
#include "render/uPackedDIB.h"
#include "render/uVectorPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::WriteInput(data, size, QStringLiteral("picture"));
    const QByteArray name = path.toLocal8Bit();
    TImportParams params;
    params.Mode = ipImportFile;
    params.FileName = name.constData();
    const int result = ipImportInd(&params);
    // A small run-length bitmap may legally unpack to 100 million pixels;
    // unpacking those again only costs time, so only small pictures go on.
    TBitmapInfoHeader header;
    if (result == irOK && ReadDIBHeader(params.Picture, header)
        && qint64(header.biWidth) * qAbs(header.biHeight) <= 1'000'000)
        UnpackImage(params.Picture);
    // What is no bitmap picture may be a vector logo: drawn as the screen
    // and the faded copy draw it, at small sizes to keep the runs quick.
    if (result == irNotAPicture) {
        if (const auto vector = TVectorPicture::FromFile(path)) {
            vector->Raster(QSize(48, 24));
            vector->RasterOnWhite(QSize(64, 64));
        }
    }
    return 0;
}
