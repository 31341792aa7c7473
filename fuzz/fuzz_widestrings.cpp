// UTF-16 and 8-bit text resources on any bytes, with or without a byte-order
// mark.

#include "FuzzSupport.h"

#include "locale/Unicode.h"

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
    TWideStringList list;
    list.LoadFromStream(buffer);
    for (int i = 0; i < list.Count(); ++i)
        list.Get(i);
    DecodeAnsiText(bytes);
    return 0;
}
