#pragma once

#include "support/uCustomIni.h"

#include <QIODevice>

#include <memory>
#include <vector>

// A key-value store in INI form held entirely in memory: the built-in layout
// templates and the language texts. Lines are kept verbatim; lookups take the
// first match, names compare without regard to case.
class TMyMemIniFile : public TCustomIniFile
{
public:
    struct Section
    {
        QString Name;
        QStringList Lines;
    };

    TMyMemIniFile() = default;
    explicit TMyMemIniFile(QString fileName) : TCustomIniFile(std::move(fileName)) {}

    void Clear();
    // The first section of that name, or a new empty one appended at the end.
    Section &AddSection(const QString &section);

    QString ReadString(const QString &section, const QString &ident, const QString &def) const override;
    void WriteString(const QString &section, const QString &ident, const QString &value) override;
    void ReadSection(const QString &section, QStringList &strings) const override;
    void ReadSections(QStringList &strings) const override;
    void ReadSectionValues(const QString &section, QStringList &strings) const override;
    void EraseSection(const QString &section) override;
    void DeleteKey(const QString &section, const QString &ident) override;
    void UpdateFile() override {}

    // Clear, then parse the lines.
    void SetStrings(const QStringList &lines);
    // Decodes the rest of the stream (UTF-16 with byte-order mark, or 8-bit).
    void LoadFromStream(QIODevice &stream);
    // A missing file leaves the store empty; read errors throw.
    void LoadFromFile(const QString &fileName);
    // Parses the rest of an 8-bit stream into the store without clearing it.
    void MergeFromStream(QIODevice &stream);

    // Appends the INI text of the whole store.
    void GetStrings(QStringList &strings) const;
    void SaveToStream(QIODevice &stream) const;
    // Throws EIniFileException when the file cannot be written.
    void SaveToFile(const QString &fileName, TAtomicFile::TLinks links = TAtomicFile::FollowLinks) const;

    const std::vector<std::unique_ptr<Section>> &Sections() const { return FSections; }

private:
    // The text of SaveToStream, UTF-8 with CR LF line ends.
    QByteArray FileBytes() const;
    const Section *FindSection(const QString &section) const;
    Section *FindSection(const QString &section);
    void Parse(const QStringList &lines);

    std::vector<std::unique_ptr<Section>> FSections;
};

// The key of a raw line: the text before its first "=", or nothing for a line
// without "=" (which never matches a key).
bool LineHasKey(const QString &line, const QString &ident);
