#include "ui/uRecentFilesMenu.h"

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

TRecentFilesMenu::TRecentFilesMenu(const QString &title, QWidget *parent, THMRegIniFile &settings)
    : QMenu(title, parent)
    , FSettings(settings)
{
    Load();
    Rebuild();
}

void TRecentFilesMenu::Add(const QString &path)
{
    const QString file = Normalized(path);
    Update([&] {
        FFiles.removeAll(file);
        FFiles.prepend(file);
        while (FFiles.size() > Capacity)
            FFiles.removeLast();
    });
}

void TRecentFilesMenu::Remove(const QString &path)
{
    const QString file = Normalized(path);
    Update([&] { FFiles.removeAll(file); });
}

void TRecentFilesMenu::Update(const std::function<void()> &change)
{
    FSettings.Update([&] {
        Load();
        const QStringList before = FFiles;
        change();
        if (FFiles != before)
            Store();
    });
    Rebuild();
}

void TRecentFilesMenu::Load()
{
    FFiles.clear();
    for (int i = 0; i < Capacity; ++i) {
        const QString file = FSettings.ReadString(Section, ValueName(i), QString());
        if (!file.isEmpty() && !FFiles.contains(file))
            FFiles << file;
    }
}

void TRecentFilesMenu::Store() const
{
    // Places beyond the list are emptied, so a shorter list reads back as it is.
    for (int i = 0; i < Capacity; ++i)
        FSettings.WriteString(Section, ValueName(i), FFiles.value(i));
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
