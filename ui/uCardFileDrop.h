#pragma once

#include <QObject>

class QWidget;

// Card files dragged from a file manager onto a window: the window and every
// control on it take them (a text field would otherwise insert the path), and
// the card file is handed on once the drop is over.
class TCardFileDrop : public QObject
{
    Q_OBJECT

public:
    explicit TCardFileDrop(QWidget *window);

signals:
    void Dropped(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *FWindow;
};
