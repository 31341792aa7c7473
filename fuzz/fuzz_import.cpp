// The picture import on any file content: bitmap, JPEG, TIFF, PNG or none.

#include "FuzzSupport.h"

#include "render/DaVinci.h"
#include "render/uPackedDIB.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray path = Fuzz::WriteInput(data, size, QStringLiteral("picture")).toLocal8Bit();
    TImportParams params;
    params.Mode = ipImportFile;
    params.FileName = path.constData();
    // A small run-length bitmap may legally unpack to 100 million pixels;
    // unpacking those again only costs time, so only small pictures go on.
    TBitmapInfoHeader header;
    if (ipImportInd(&params) == irOK && ReadDIBHeader(params.Picture, header)
        && qint64(header.biWidth) * qAbs(header.biHeight) <= 1'000'000)
        UnpackImage(params.Picture);
    return 0;
}
