#include "render/uRGBHSL.h"

QColor MixColors(const QColor &A, const QColor &B)
{
    const QColor a = A.toRgb();
    const QColor b = B.toRgb();
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}
