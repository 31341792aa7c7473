#pragma once

#include <QString>

#include <optional>

// What the CUPS server knows about one of its printers.
struct TCupsPrinterDescription
{
    QString Server;       // empty for the local server
    QString Name;
    QString ShareName;    // the name when the printer is shared, else empty
    QString DeviceUri;
    QString MakeAndModel;
    QString Info;         // the administrator's comment
    QString Location;
    QString JobSheets;    // banner pages, "none,none" when there are none
    QString DocumentFormat;
};

namespace Cups {

// The printer's description; nothing when the server cannot be reached or
// has no such printer.
std::optional<TCupsPrinterDescription> DescribePrinter(const QString &name);
// Upper end of the printer's "copies-supported" range; -1 when the server
// cannot be asked or does not say.
int MaxCopies(const QString &name);

} // namespace Cups
