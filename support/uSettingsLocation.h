#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// Where the program's user settings live. A registry-style key path below
// the user's hive ("Software\Ornak\Tessaro\Druckposition\PDF") maps onto
// QSettings in native format and user scope: organisation and application are
// the two names after "Software", and the rest of the path becomes nested
// groups. On Linux that is an INI file in the user's configuration folder.
namespace SettingsLocation {

// The settings of the key, with its sub-path already opened as group.
// Returns nullptr for a path that does not name at least "Software\Org\App".
std::unique_ptr<QSettings> OpenKey(const QString &keyPath);

// "Druckposition\PDF" -> "Druckposition/PDF": a backslash-separated section
// as a QSettings group path.
QString GroupPath(const QString &section);

} // namespace SettingsLocation
