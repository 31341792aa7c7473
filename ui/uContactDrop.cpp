#include "ui/uContactDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

TContactDrop::TContactDrop(QWidget &window)
    : QObject(&window)
{
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (control->acceptDrops())
            control->installEventFilter(this);
    }
}

QString TContactDrop::ContactFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls()) {
        const QString suffix = QFileInfo(url.path()).suffix();
        if (url.isLocalFile()
            && (suffix.compare(QLatin1String("vcf"), Qt::CaseInsensitive) == 0
                || suffix.compare(QLatin1String("vcard"), Qt::CaseInsensitive) == 0))
            return url.toLocalFile();
    }
    return {};
}

bool TContactDrop::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = ContactFile(drop->mimeData());
        if (path.isEmpty())
            break;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop)
            QMetaObject::invokeMethod(this, [this, path] { emit Dropped(path); }, Qt::QueuedConnection);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
