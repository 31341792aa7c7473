#pragma once

#include <QMenu>
#include <QStringList>

// "Zuletzt geöffnet": the card files last opened or saved, newest first,
// kept in the settings so the next start offers them too.
class TRecentFilesMenu : public QMenu
{
    Q_OBJECT

public:
    static constexpr int Capacity = 8;

    TRecentFilesMenu(const QString &title, QWidget *parent);

    QStringList Files() const { return FFiles; }
    // The file goes to the top of the list, once; the oldest beyond the
    // capacity drops out.
    void Add(const QString &path);
    void Remove(const QString &path);

signals:
    void FileChosen(const QString &path);

private:
    void Load();
    void Store() const;
    void Rebuild();

    QStringList FFiles;
};
