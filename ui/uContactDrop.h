#pragma once

#include <QByteArray>
#include <QObject>

class QMimeData;
class QWidget;

// Takes vCard files, and vCard data as address books drag contacts, dropped
// anywhere on a window; every other drop goes on to the control beneath.
class TContactDrop : public QObject
{
    Q_OBJECT

public:
    // Watches the window and each of its controls that takes drops.
    explicit TContactDrop(QWidget &window);

    // The first vCard file among the dropped data; empty for none.
    static QString ContactFile(const QMimeData *data);
    // The vCard data among the dropped data; empty for none.
    static QByteArray ContactData(const QMimeData *data);

signals:
    // After the drop has ended, so the source of the drag is not kept waiting
    // while the import asks or reports.
    void Dropped(const QString &path);
    void DataDropped(const QByteArray &vcards);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
