// The card-data file reader on any file content, logos included (a logo path
// may name anything, the input itself among it).

#include "FuzzSupport.h"

#include "model/uDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Loading the fifteen templates is costly; one document serves all runs.
    static TDocument document;
    const QString path = Fuzz::WriteInput(data, size, QStringLiteral("input.tsx"));
    document.Clear();
    document.LoadFromFile(path);
    return 0;
}
