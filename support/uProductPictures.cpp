#include "support/uProductPictures.h"

#include "support/uResources.h"

QImage LoadProductPicture(const char *name)
{
    return QImage::fromData(Resources::Load(QLatin1String(ProductPictureType), QLatin1String(name)), "JPEG");
}
