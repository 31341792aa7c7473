#include "support/uSettingsLocation.h"

namespace SettingsLocation {

QString GroupPath(const QString &section)
{
    QStringList parts = section.split('\\', Qt::SkipEmptyParts);
    return parts.join('/');
}

std::unique_ptr<QSettings> OpenKey(const QString &keyPath)
{
    const QStringList parts = keyPath.split('\\', Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0)
        return nullptr;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, parts.at(1), parts.at(2));
    const QString group = parts.mid(3).join('/');
    if (!group.isEmpty())
        settings->beginGroup(group);
    return settings;
}

} // namespace SettingsLocation
