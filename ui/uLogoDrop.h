#pragma once

#include <QObject>

class QMimeData;
class QWidget;

// Picture files dropped on an area (a logo group, the preview) become a
// logo while the drop is active.
class TLogoDrop : public QObject
{
    Q_OBJECT

public:
    explicit TLogoDrop(QWidget &area);

    // Off, drops pass to the controls beneath as if the area took none.
    void SetActive(bool active) { FActive = active; }

    // The first local picture file among the dropped data; empty for none.
    static QString PictureFile(const QMimeData *data);

signals:
    // After the drop has ended, so the file manager is not kept waiting
    // while the picture is read or a message is shown.
    void Dropped(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool FActive = true;
};
