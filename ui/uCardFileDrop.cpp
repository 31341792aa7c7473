#include "ui/uCardFileDrop.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

const QString CardSuffix = QStringLiteral("tsx");

// The first local card file among the dragged ones.
QString CardFileOf(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo(path).suffix().compare(CardSuffix, Qt::CaseInsensitive) == 0)
            return path;
    }
    return {};
}

} // namespace

TCardFileDrop::TCardFileDrop(QWidget *window) : QObject(window), FWindow(window)
{
    window->setAcceptDrops(true);
    QApplication::instance()->installEventFilter(this);
}

bool TCardFileDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != FWindow)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = CardFileOf(drop->mimeData());
    if (path.isEmpty())
        return false;
    drop->acceptProposedAction();
    // The file manager waits for the drop to end; the save question must not
    // keep it waiting.
    if (type == QEvent::Drop)
        QMetaObject::invokeMethod(this, [this, path] { emit Dropped(path); }, Qt::QueuedConnection);
    return true;
}
