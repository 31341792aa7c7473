// Contact files on any bytes: every contact read comes out of the writer as
// a card that reads back the same.

#include "FuzzSupport.h"

#include "model/uVCard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const TContact &contact : ReadVCards(Fuzz::Bytes(data, size))) {
        const QByteArray written = WriteVCard(contact);
        const QList<TContact> read = ReadVCards(written);
        if (read.size() != 1 || WriteVCard(read.front()) != written)
            std::abort();
    }
    return 0;
}
