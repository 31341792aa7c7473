// UTF-16 and 8-bit text resources on any bytes, with or without a byte-order
// mark.

#include "FuzzSupport.h"

#include "locale/Unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::TInputStream input(data, size);
    TWideStringList list;
    list.LoadFromStream(input.Device());
    for (int i = 0; i < list.Count(); ++i)
        list.Get(i);
    DecodeAnsiText(input.Bytes());
    return 0;
}
