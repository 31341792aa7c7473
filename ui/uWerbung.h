#pragma once

#include <QString>

// The maker's web links behind the advertising pictures.
namespace Werbung {

// The web page on business-card accessories; "Newsletter" (compared exactly)
// currently leads to the same page.
QString GetAdvertLink(const QString &key);

// The picture set in use: resources "JPEGWERBUNG" 100 + set, 300 + set.
int AdvertSetNumber();

// Hands a web address or file to the desktop's default program; an empty
// target does nothing and failures are not reported.
void ShellOpen(const QString &target);

} // namespace Werbung
