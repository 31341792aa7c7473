#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <functional>

// The language index for messages outside any window, read as gettext reads
// the environment: LC_ALL, else LC_MESSAGES, else LANG names the locale;
// unless that is the C locale, the list in LANGUAGE comes before it. The
// first of them that is one of the program's languages wins, English when
// none is.
int EnvironmentLanguage(const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// Switches the program's localizer to that language; the texts stay as they
// are when it cannot be loaded or in resource-writing mode.
void UseEnvironmentLanguage();

// The text that `make` words, under a localizer of the environment's
// language of its own: resource-writing mode keeps the program's localizer
// German, yet its command line speaks the user's language.
QString TextInEnvironmentLanguage(const std::function<QString()> &make);
