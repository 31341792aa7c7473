#include "support/uAtomicFile.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    const auto fail = [&](const char *what) {
        if (error)
            *error = QStringLiteral("%1 \"%2\". %3").arg(QLatin1String(what), fileName, file.errorString());
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail("Cannot create file");
    if (file.write(bytes) != bytes.size())
        return fail("Cannot write file");
    if (!file.commit())
        return fail("Cannot write file");
    return true;
}
