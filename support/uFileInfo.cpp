#include "support/uFileInfo.h"

#include "ProjVersion.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// Kept in the program file even though nothing reads it from memory: the
// program finds it again by reading its own file, like any other file.
[[gnu::used]] const char ProgramVersionBlock[] = TESSARO_VERSION_BLOCK;

constexpr char BlockStart[] = "\x02TESSARO-VERSIONINFO\x1e";
constexpr char FieldSeparator = '\x1f';
constexpr char RecordEnd = '\x1e';
constexpr char BlockEnd = '\x03';
constexpr qsizetype MaxBlockSize = 64 * 1024;

// Parses the records after a start marker; false when they do not form a
// complete block (a stray copy of the marker, a truncated file).
bool ParseBlock(QByteArrayView data, QHash<QString, QString> &records)
{
    records.clear();
    qsizetype pos = 0;
    while (pos < data.size() && pos < MaxBlockSize) {
        if (data[pos] == BlockEnd)
            return !records.isEmpty();
        const qsizetype end = data.indexOf(RecordEnd, pos);
        if (end < 0)
            return false;
        const QByteArrayView record = data.sliced(pos, end - pos);
        const qsizetype separator = record.indexOf(FieldSeparator);
        if (separator <= 0 || record.contains('\0'))
            return false;
        records.insert(QString::fromUtf8(record.first(separator)),
                       QString::fromUtf8(record.sliced(separator + 1)));
        pos = end + 1;
    }
    return false;
}

bool FindBlock(QByteArrayView file, QHash<QString, QString> &records)
{
    const QByteArrayView start(BlockStart);
    for (qsizetype at = file.indexOf(start); at >= 0; at = file.indexOf(start, at + 1)) {
        if (ParseBlock(file.sliced(at + start.size()), records))
            return true;
    }
    records.clear();
    return false;
}

// "1.1.2.62" into four 16-bit parts, as the fixed part of a version block holds them.
bool ParseVersion(const QString &text, TProjVersion &version)
{
    const QStringList parts = text.split('.');
    if (parts.size() != 4)
        return false;
    quint8 *const targets[] = {&version.vv, &version.rr, &version.mm, &version.pp};
    quint8 values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const uint part = parts[i].toUInt(&ok);
        if (!ok || part > 0xFFFF)
            return false;
        values[i] = static_cast<quint8>(part & 0xFF);
    }
    for (int i = 0; i < 4; ++i)
        *targets[i] = values[i];
    return true;
}

} // namespace

QString TProjVersion::Text() const
{
    return QString::asprintf("%d.%.2d.%.2d.%.2d", vv, rr, mm, pp);
}

TFileInfo::TFileInfo() : TFileInfo(QCoreApplication::applicationFilePath()) {}

TFileInfo::TFileInfo(const QString &fileName) : FileName(fileName)
{
    ReadVersionInfo(fileName);
}

void TFileInfo::ReadVersionInfo(const QString &fileName)
{
    QFile file(fileName);
    FHasVersionBlock = false;
    FVersionBlock.clear();
    LastQueryOk = false;
    *FileVersion = {};
    *ProductVersion = {};
    for (QString *text : {&CompanyName, &FileDescription, &FileVersionText, &InternalName, &LegalCopyright,
                          &OriginalFilename, &ProductName, &ProductVersionText})
        text->clear();
    if (file.open(QIODevice::ReadOnly)) {
        FileDate = QFileInfo(file).lastModified();
        const qint64 size = file.size();
        if (uchar *mapped = size > 0 ? file.map(0, size) : nullptr) {
            FHasVersionBlock = FindBlock(QByteArrayView(reinterpret_cast<const char *>(mapped), size), FVersionBlock);
            file.unmap(mapped);
        } else if (size > 0) {
            FHasVersionBlock = FindBlock(file.readAll(), FVersionBlock);
        }
    }
    if (!FHasVersionBlock)
        return;

    QString fixed;
    if (QueryValue(QStringLiteral("\\"), fixed)) {
        const QStringList versions = fixed.split(' ');
        LastQueryOk = versions.size() == 2 && ParseVersion(versions[0], *FileVersion)
                      && ParseVersion(versions[1], *ProductVersion);
    }
    CompanyName = GetVersionString(QStringLiteral("CompanyName"));
    FileDescription = GetVersionString(QStringLiteral("FileDescription"));
    FileVersionText = GetVersionString(QStringLiteral("FileVersion"));
    InternalName = GetVersionString(QStringLiteral("InternalName"));
    LegalCopyright = GetVersionString(QStringLiteral("LegalCopyright"));
    OriginalFilename = GetVersionString(QStringLiteral("OriginalFilename"));
    ProductName = GetVersionString(QStringLiteral("ProductName"));
    ProductVersionText = GetVersionString(QStringLiteral("ProductVersion"));
}

QString TFileInfo::GetVersionString(const QString &name)
{
    QString value;
    if (FHasVersionBlock
        && QueryValue(QStringLiteral("\\StringFileInfo\\%1\\%2").arg(QLatin1String(StringTableKey), name), value))
        return value;
    return QString::fromUtf16(VersionValueNotFound);
}

bool TFileInfo::QueryValue(const QString &path, QString &value)
{
    const auto it = FVersionBlock.constFind(path);
    LastQueryOk = it != FVersionBlock.constEnd();
    if (LastQueryOk)
        value = *it;
    return LastQueryOk;
}

TFileInfo &ProgramFileInfo()
{
    static TFileInfo info;
    return info;
}
