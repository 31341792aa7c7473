// The in-memory INI store on any bytes: parse, look up every key through
// every typed reader, write it back and parse the result again.

#include "FuzzSupport.h"

#include "support/uMemIni.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::TInputStream input(data, size);
    TMyMemIniFile ini;
    ini.LoadFromStream(input.Device());

    QStringList sections;
    ini.ReadSections(sections);
    for (const QString &section : sections) {
        QStringList keys, values;
        ini.ReadSection(section, keys);
        ini.ReadSectionValues(section, values);
        for (const QString &key : keys) {
            ini.ReadString(section, key, QString());
            ini.ReadInteger(section, key, 0);
            ini.ReadFloat(section, key, 0);
            ini.ReadBool(section, key, false);
        }
    }

    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    ini.SaveToStream(saved);
    saved.close();
    saved.open(QIODevice::ReadOnly);
    TMyMemIniFile again;
    again.LoadFromStream(saved);
    return 0;
}
