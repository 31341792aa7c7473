#include "ui/uWerbung.h"

#include <QDesktopServices>
#include <QUrl>

namespace Werbung {

namespace {
const QString AccessoriesPage = QStringLiteral("https://www.example.org/tessaro/visitenkartenzubehoer");
}

QString GetAdvertLink(const QString &)
{
    // The newsletter has no page of its own yet.
    return AccessoriesPage;
}

int AdvertSetNumber()
{
    return 1;
}

void ShellOpen(const QString &target)
{
    if (target.isEmpty())
        return;
    const QUrl url(target);
    // A Windows path such as "c:\pdf\x.pdf" parses as scheme "c"; only real
    // schemes are handed on as addresses.
    if (url.isValid() && url.scheme().size() > 1)
        QDesktopServices::openUrl(url);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

} // namespace Werbung
