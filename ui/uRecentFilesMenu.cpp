#include "ui/uRecentFilesMenu.h"

#include "locale/uHMRegistry.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString Section = QStringLiteral("Zuletzt");
constexpr int ItemWidth = 480;

QString ValueName(int index)
{
    return QStringLiteral("Datei%1").arg(index + 1);
}

QString Normalized(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

TRecentFilesMenu::TRecentFilesMenu(const QString &title, QWidget *parent) : QMenu(title, parent)
{
    Load();
    Rebuild();
}

void TRecentFilesMenu::Add(const QString &path)
{
    const QString file = Normalized(path);
    FFiles.removeAll(file);
    FFiles.prepend(file);
    while (FFiles.size() > Capacity)
        FFiles.removeLast();
    Store();
    Rebuild();
}

void TRecentFilesMenu::Remove(const QString &path)
{
    if (FFiles.removeAll(Normalized(path)) == 0)
        return;
    Store();
    Rebuild();
}

void TRecentFilesMenu::Load()
{
    for (int i = 0; i < Capacity; ++i) {
        const QString file = Settings().ReadString(Section, ValueName(i), QString());
        if (!file.isEmpty() && !FFiles.contains(file))
            FFiles << file;
    }
}

void TRecentFilesMenu::Store() const
{
    // Places beyond the list are emptied, so a shorter list reads back as it is.
    for (int i = 0; i < Capacity; ++i)
        Settings().WriteString(Section, ValueName(i), FFiles.value(i));
}

void TRecentFilesMenu::Rebuild()
{
    clear();
    const QString home = QDir::homePath() + QLatin1Char('/');
    for (int i = 0; i < FFiles.size(); ++i) {
        const QString file = FFiles.at(i);
        QString shown = file.startsWith(home) ? QStringLiteral("~/") + file.mid(home.size()) : file;
        shown = fontMetrics().elidedText(QDir::toNativeSeparators(shown), Qt::ElideMiddle, ItemWidth);
        QAction *item = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown.replace(QLatin1Char('&'), QStringLiteral("&&"))));
        item->setToolTip(file);
        connect(item, &QAction::triggered, this, [this, file] { emit FileChosen(file); });
    }
    menuAction()->setEnabled(!FFiles.isEmpty());
}
