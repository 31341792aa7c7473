#include "model/uPersonName.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// The words that belong to the family name that follows them.
bool IsParticle(const QString &word)
{
    static const QStringList particles{"van", "von", "de",  "da",  "del", "der", "den", "des", "di", "do",
                                       "dos", "das", "du",  "la",  "le",  "ten", "ter", "zu",  "zur"};
    return particles.contains(word, Qt::CaseInsensitive);
}

} // namespace

TPersonName SplitPersonName(const QString &name, const QString &nachname)
{
    const QString full = name.simplified();
    const QString family = nachname.simplified();
    // Without a name the card names nobody, whatever its Nachname says.
    if (full.isEmpty())
        return {};
    if (!family.isEmpty()) {
        // Taken out where it stands as whole words; a family name the name
        // does not show leaves the whole name as given names.
        const QRegularExpression words(QStringLiteral("(?:^| )") + QRegularExpression::escape(family)
                                           + QStringLiteral("(?: |$)"),
                                       QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = words.match(full);
        if (!match.hasMatch())
            return {full, family};
        const QString rest = full.left(match.capturedStart()) + QLatin1Char(' ') + full.mid(match.capturedEnd());
        return {rest.simplified(), family};
    }
    const QStringList words = full.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return {QString(), full};
    qsizetype first = words.size() - 1;
    while (first > 1 && IsParticle(words.at(first - 1)))
        --first;
    return {words.mid(0, first).join(QLatin1Char(' ')), words.mid(first).join(QLatin1Char(' '))};
}

QString NachnameForFamilyName(const QString &name, const QString &familyName)
{
    const QString family = familyName.simplified();
    if (family.isEmpty() || SplitPersonName(name).FamilyName == family)
        return {};
    return family;
}
