#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

// One four-part version number. Each part is the low byte of the 16-bit part
// found in the version block, so a part of 300 reads as 44.
class TProjVersion
{
    Q_GADGET
    Q_PROPERTY(quint8 vv MEMBER vv)
    Q_PROPERTY(quint8 rr MEMBER rr)
    Q_PROPERTY(quint8 mm MEMBER mm)
    Q_PROPERTY(quint8 pp MEMBER pp)

public:
    quint8 vv = 0; // major version
    quint8 rr = 0; // minor version
    quint8 mm = 0; // release
    quint8 pp = 0; // build

    // "1.01.02.62"
    QString Text() const;
};

// The version information of one file. Our program carries a version block
// generated from the build's project version (see ProjVersion.h); a file
// without one keeps zero versions and empty string values.
class TFileInfo
{
public:
    // Describes the program file.
    TFileInfo();
    explicit TFileInfo(const QString &fileName);
    ~TFileInfo() = default;
    TFileInfo(const TFileInfo &) = delete;
    TFileInfo &operator=(const TFileInfo &) = delete;

    void ReadVersionInfo(const QString &fileName);
    // A string value of the German string table ("ProductName"), or
    // "Nicht gefunden" when the file has no such value.
    QString GetVersionString(const QString &name);

    QString FileName;
    QDateTime FileDate;
    const std::unique_ptr<TProjVersion> FileVersion = std::make_unique<TProjVersion>();
    const std::unique_ptr<TProjVersion> ProductVersion = std::make_unique<TProjVersion>();
    bool LastQueryOk = false;

    QString CompanyName;
    QString FileDescription;
    QString FileVersionText;
    QString InternalName;
    QString LegalCopyright;
    QString OriginalFilename;
    QString ProductName;
    QString ProductVersionText;

    static constexpr char StringTableKey[] = "040704E4";

private:
    bool QueryValue(const QString &path, QString &value);

    // path -> value of the block found in the file; empty when there is none.
    QHash<QString, QString> FVersionBlock;
    bool FHasVersionBlock = false;
};

// Text GetVersionString gives for a value the file does not have.
inline constexpr char16_t VersionValueNotFound[] = u"Nicht gefunden";

// The program file's version information, read on first use.
TFileInfo &ProgramFileInfo();
