// The layout template loader on any template text.

#include "FuzzSupport.h"

#include "model/uKartenlayout.h"
#include "support/uMemIni.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = Fuzz::Bytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TMyMemIniFile ini;
    ini.LoadFromStream(buffer);
    TKartenlayout layout;
    if (layout.LoadFromIni(ini)) {
        TKartenlayout copy;
        copy.Assign(layout);
        copy.ClampBackElements();
    }
    return 0;
}
