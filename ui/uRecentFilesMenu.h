#pragma once

#include "locale/uHMRegistry.h"

#include <QMenu>
#include <QStringList>

#include <functional>

// "Zuletzt geöffnet": the card files last opened or saved, newest first,
// kept in the settings so the next start offers them too.
class TRecentFilesMenu : public QMenu
{
    Q_OBJECT

public:
    static constexpr int Capacity = 8;

    TRecentFilesMenu(const QString &title, QWidget *parent, THMRegIniFile &settings = Settings());

    QStringList Files() const { return FFiles; }
    // The file goes to the top of the list, once; the oldest beyond the
    // capacity drops out. Both change the list as stored now, with the
    // files other running instances added meanwhile.
    void Add(const QString &path);
    void Remove(const QString &path);

signals:
    void FileChosen(const QString &path);

private:
    void Load();
    void Store() const;
    void Update(const std::function<void()> &change);
    void Rebuild();

    THMRegIniFile &FSettings;
    QStringList FFiles;
};
