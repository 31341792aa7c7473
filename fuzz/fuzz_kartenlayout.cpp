// The layout template loader on any template text.

#include "FuzzSupport.h"

#include "model/uKartenlayout.h"
#include "support/uMemIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::TInputStream input(data, size);
    TMyMemIniFile ini;
    ini.LoadFromStream(input.Device());
    TKartenlayout layout;
    if (layout.LoadFromIni(ini)) {
        TKartenlayout copy;
        copy.Assign(layout);
        copy.ClampBackElements();
    }
    return 0;
}
