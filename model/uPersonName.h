#pragma once

#include <QString>

// A person's name as address books keep it: given names and family name.
struct TPersonName
{
    QString GivenName;
    QString FamilyName;

    bool operator==(const TPersonName &) const = default;
};

// Splits the name a card shows ("Jan van der Berg") into given names and
// family name.
//
// A family name given beside the name (Nachname) decides: the rest of the
// name, with the family name taken out where it stands, are the given names.
// Otherwise the family name is the last word together with the name
// particles before it ("van der Berg", "de la Cruz", "zu Guttenberg"); the
// first word is always a given name, however it is spelt. A family name
// joined by a hyphen is one word and stays whole. Two family names side by
// side, as in Spanish or Portuguese names, cannot be told from a middle name:
// only the last one counts as family name unless Nachname names both. An
// empty name has no parts, even beside a Nachname.
TPersonName SplitPersonName(const QString &name, const QString &nachname = {});

// The Nachname a card with that name needs for its vCard to name this
// family name; empty when the name splits so by itself.
QString NachnameForFamilyName(const QString &name, const QString &familyName);
