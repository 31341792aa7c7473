#pragma once

#include "support/uCustomIni.h"

#include <QHash>
#include <QStringList>

// An INI file on disk with the rules of the classic profile service, used for
// the card-data files: section and key names match without regard to case; a
// read returns the value without surrounding blanks and without one pair of
// enclosing quotation marks; a write replaces an existing key in place,
// appends a new key at the end of its section and a new section at the end of
// the file, and creates the file when it is missing.
//
// Like the classic service, a read returns at most 2047 characters: no card
// holds more, and longer values would only slow down everything that draws
// them. Unlike it, the file is always written whole and atomically (a
// temporary file renamed over the target), so an interrupted write leaves
// the previous file intact, and line breaks inside names and values are
// dropped rather than written raw. A refused write throws EIniFileException.
class TProfileIniFile : public TCustomIniFile
{
public:
    enum TOpenMode { ReadExisting, StartEmpty };

    static constexpr qsizetype MaxValueLength = 2047;
    // No card-data file comes anywhere near. It counts the file as this
    // class writes it (UTF-8, CR LF), so that every file written is read
    // again and every file read can be written again.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    // Reads the file when it exists (a file that cannot be read, is no
    // regular file or would be larger than MaxFileSize written again throws,
    // the last with TooLarge), or starts empty so that the first write
    // replaces the whole file.
    explicit TProfileIniFile(const QString &fileName, TOpenMode mode = ReadExisting);
    ~TProfileIniFile() override;

    QString ReadString(const QString &section, const QString &ident, const QString &def) const override;
    void WriteString(const QString &section, const QString &ident, const QString &value) override;
    void ReadSection(const QString &section, QStringList &strings) const override;
    void ReadSections(QStringList &strings) const override;
    void ReadSectionValues(const QString &section, QStringList &strings) const override;
    void EraseSection(const QString &section) override;
    void DeleteKey(const QString &section, const QString &ident) override;
    // Writes pending changes; throws EIniFileException when refused.
    void UpdateFile() override;

    // Between BeginUpdate and EndUpdate writes are collected in memory and
    // EndUpdate writes the file once. Outside, every write goes to disk.
    void BeginUpdate();
    void EndUpdate();
    // Bytes of the file's text as UpdateFile writes it.
    qint64 FileSize() const;
    // That text; false, with the error TooLarge, when it is larger than
    // MaxFileSize.
    bool FileBytes(QByteArray &bytes, TFileError &error) const;
    // The bytes a key's line takes in the file.
    static qsizetype LineSize(const QString &ident, const QString &value);

private:
    qsizetype FindSection(const QString &section) const;
    qsizetype SectionEnd(qsizetype header) const;
    // The lines of a section that hold a key, comments left out.
    QStringList KeyLines(const QString &section) const;
    qsizetype FindKey(const QString &section, const QString &ident) const;
    void BuildIndex() const;
    void Changed();

    // Where each section's header and each key's line stand, by case-folded
    // names; rebuilt after changes, so reading many numbered keys stays
    // linear. One table for all keys: a table per section would cost more
    // than the file itself for files of many small sections.
    QStringList FLines;
    mutable QHash<QString, qsizetype> FSectionLines;
    mutable QHash<QString, qsizetype> FKeyLines;
    // The last header line of the file: its section runs to the end, so
    // appending to it needs no scan for the next header.
    mutable qsizetype FLastHeader = -1;
    mutable bool FIndexValid = false;
    int FUpdateLevel = 0;
    bool FDirty = false;
};

// The name part of a profile line "name = value", trimmed; empty for lines
// without "=".
QString ProfileKeyOf(const QString &line);
// The value part, trimmed and with one pair of enclosing quotes removed.
QString ProfileValueOf(const QString &line);
