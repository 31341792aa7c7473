// The profile file reader (card-data files) on any file content: read every
// key, then change some and write the file.

#include "FuzzSupport.h"

#include "support/uProfileIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::WriteInput(data, size, QStringLiteral("input.tsx"));
    TProfileIniFile ini(path);
    QStringList sections;
    ini.ReadSections(sections);
    for (const QString &section : sections) {
        QStringList keys, values;
        ini.ReadSection(section, keys);
        ini.ReadSectionValues(section, values);
        for (const QString &key : keys)
            ini.ReadString(section, key, QString());
    }
    if (!sections.isEmpty()) {
        ini.WriteString(sections.first(), QStringLiteral("Name"), QStringLiteral("x"));
        ini.DeleteKey(sections.last(), QStringLiteral("Name"));
        // New keys at the end of the last section and in a section of their own.
        ini.WriteString(sections.last(), QStringLiteral("Zeile1"), QStringLiteral("y"));
        ini.WriteString(QStringLiteral("Neu"), QStringLiteral("Zeile1"), QStringLiteral("z"));
        ini.WriteString(sections.last(), QStringLiteral("Zeile2"), QStringLiteral("y"));
    }
    // A value with line breaks of its own never adds a section to the file.
    ini.WriteString(QStringLiteral("Daten"), QStringLiteral("Logodatei"),
                    QString::fromLatin1(Fuzz::Bytes(data, qMin<size_t>(size, 64))) + "\r\n[Eingeschleust]\r\nk=v");
    if (TProfileIniFile(path).SectionExists(QStringLiteral("Eingeschleust"))
        && !ini.SectionExists(QStringLiteral("Eingeschleust")))
        std::abort();
    return 0;
}
