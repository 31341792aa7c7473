#include "locale/uEnvironmentLanguage.h"

#include "locale/ulocalize.h"

#include <QStringList>

#include <exception>

namespace {

constexpr int English = 1;

// ISO 639-1 codes of the rows of the language table.
constexpr const char *LanguageCodes[LanguageCount] = {"de", "en", "fr", "it", "es", "pt", "nl", "hu", "cs", "sk"};

int LanguageOfLocaleName(const QString &name)
{
    // "fr_CA.UTF-8@euro" -> "fr"
    const QString language = name.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('.'), 0, 0)
                                 .section(QLatin1Char('@'), 0, 0).toLower();
    for (int index = 0; index < LanguageCount; ++index)
        if (language == QLatin1String(LanguageCodes[index]))
            return index;
    return -1;
}

bool IsCLocale(const QString &name)
{
    return name.isEmpty() || name == QLatin1String("C") || name.startsWith(QLatin1String("C."))
           || name == QLatin1String("POSIX");
}

} // namespace

int EnvironmentLanguage(const QProcessEnvironment &environment)
{
    QString locale;
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment.value(QLatin1String(variable));
        if (!locale.isEmpty())
            break;
    }
    if (IsCLocale(locale))
        return English;
    QStringList candidates = environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    candidates << locale;
    for (const QString &candidate : candidates)
        if (const int index = LanguageOfLocaleName(candidate); index >= 0)
            return index;
    return English;
}

void UseEnvironmentLanguage()
{
    // Resource-writing mode refuses every switch with a message box.
    if (Localizer().ResWriteMode())
        return;
    try {
        Localizer().SetLanguage(EnvironmentLanguage());
    } catch (const std::exception &) {
        // The German defaults speak instead.
    }
}

QString TextInEnvironmentLanguage(const std::function<QString()> &make)
{
    TLocalizer messages{QStringList()};
    const TLocalizerOverride installed(messages);
    UseEnvironmentLanguage();
    return make();
}
