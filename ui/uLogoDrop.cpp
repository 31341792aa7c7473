#include "ui/uLogoDrop.h"

#include "render/uDIB.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

TLogoDrop::TLogoDrop(QWidget &area)
    : QObject(&area)
{
    // Controls that take no drops themselves pass them on to the area.
    area.setAcceptDrops(true);
    area.installEventFilter(this);
}

QString TLogoDrop::PictureFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    const QStringList suffixes = LogoFileSuffixes();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && suffixes.contains(QFileInfo(url.path()).suffix(), Qt::CaseInsensitive))
            return url.toLocalFile();
    }
    return {};
}

bool TLogoDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!FActive || (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = PictureFile(drop->mimeData());
    if (path.isEmpty())
        return QObject::eventFilter(watched, event);
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        QMetaObject::invokeMethod(this, [this, path] { emit Dropped(path); }, Qt::QueuedConnection);
    return true;
}
