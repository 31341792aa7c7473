#include "print/uCupsQuery.h"

#include <cups/cups.h>

#include <memory>

namespace Cups {
namespace {

struct TDestDeleter
{
    void operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
};
struct TDestInfoDeleter
{
    void operator()(cups_dinfo_t *info) const { cupsFreeDestInfo(info); }
};
using TDest = std::unique_ptr<cups_dest_t, TDestDeleter>;
using TDestInfo = std::unique_ptr<cups_dinfo_t, TDestInfoDeleter>;

TDest NamedDest(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    return TDest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), nullptr));
}

QString Option(const cups_dest_t &dest, const char *name)
{
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

// Our server's name as the user would write it; empty when it is this machine.
QString RemoteServerName()
{
    const QString server = QString::fromUtf8(cupsServer());
    if (server.startsWith('/') || server.startsWith(QLatin1String("localhost")))
        return {};
    return server;
}

} // namespace

std::optional<TCupsPrinterDescription> DescribePrinter(const QString &name)
{
    const TDest dest = NamedDest(name);
    if (!dest)
        return std::nullopt;
    TCupsPrinterDescription description;
    description.Server = RemoteServerName();
    description.Name = QString::fromUtf8(dest->name);
    if (Option(*dest, "printer-is-shared") == QLatin1String("true"))
        description.ShareName = description.Name;
    description.DeviceUri = Option(*dest, "device-uri");
    description.MakeAndModel = Option(*dest, "printer-make-and-model");
    description.Info = Option(*dest, "printer-info");
    description.Location = Option(*dest, "printer-location");
    description.JobSheets = Option(*dest, "job-sheets");
    const TDestInfo info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (info) {
        if (ipp_attribute_t *format = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), info.get(), "document-format"))
            description.DocumentFormat = QString::fromUtf8(ippGetString(format, 0, nullptr));
    }
    return description;
}

int MaxCopies(const QString &name)
{
    const TDest dest = NamedDest(name);
    if (!dest)
        return -1;
    const TDestInfo info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info)
        return -1;
    ipp_attribute_t *copies = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest.get(), info.get(), CUPS_COPIES);
    if (!copies)
        return -1;
    switch (ippGetValueTag(copies)) {
    case IPP_TAG_RANGE: {
        int upper = -1;
        ippGetRange(copies, 0, &upper);
        return upper;
    }
    case IPP_TAG_INTEGER: // printers without a range give the one count they allow
        return ippGetInteger(copies, 0);
    default:
        return -1;
    }
}

} // namespace Cups
