#include "ui/uContactDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

// The format an address book drags its contacts in; empty for none.
QString ContactFormat(const QMimeData *data)
{
    for (const char *format : {"text/vcard", "text/x-vcard"})
        if (data && data->hasFormat(QLatin1String(format)))
            return QLatin1String(format);
    return {};
}

} // namespace

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

QByteArray TContactDrop::ContactData(const QMimeData *data)
{
    const QString format = ContactFormat(data);
    return format.isEmpty() ? QByteArray() : data->data(format);
}

bool TContactDrop::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = ContactFile(drop->mimeData());
        if (path.isEmpty() && ContactFormat(drop->mimeData()).isEmpty())
            break;
        drop->acceptProposedAction();
        if (event->type() != QEvent::Drop)
            return true;
        // A file wins: its name is what the messages can point to. The data
        // is fetched only now, as a drag from another program sends it late.
        if (!path.isEmpty())
            QMetaObject::invokeMethod(this, [this, path] { emit Dropped(path); }, Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(
                this, [this, vcards = ContactData(drop->mimeData())] { emit DataDropped(vcards); },
                Qt::QueuedConnection);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
