#include "support/uProfileIni.h"

#include "locale/Unicode.h"
#include "support/uAtomicFile.h"
#include "support/uRegularFile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// Profile files saved as "Unicode" carry a UTF-16 byte-order mark; all
// others are 8-bit text.
QString DecodeProfileText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2));
    return DecodeAnsiText(bytes);
}

bool IsHeader(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith('[') && t.contains(']');
}

QString HeaderName(const QString &line)
{
    const QString t = line.trimmed();
    return t.mid(1, t.indexOf(']') - 1).trimmed();
}

// Names match trimmed and without regard to case.
QString FoldedName(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

// A key of a section in the one key table. A line break cannot occur in
// either name, so it separates them.
QString KeyId(const QString &foldedSection, const QString &ident)
{
    return foldedSection + QChar('\n') + FoldedName(ident);
}

void InsertFirst(QHash<QString, qsizetype> &keys, const QString &key, qsizetype line)
{
    if (!keys.contains(key))
        keys.insert(key, line);
}

bool IsComment(const QString &line)
{
    return line.trimmed().startsWith(';');
}

// Bytes of the text in UTF-8, as QString::toUtf8 gives them: a lone
// surrogate becomes a replacement character of three.
qsizetype Utf8Size(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            bytes += 1;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

} // namespace

QString ProfileKeyOf(const QString &line)
{
    const qsizetype eq = line.indexOf('=');
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

QString ProfileValueOf(const QString &line)
{
    const qsizetype eq = line.indexOf('=');
    QString value = eq < 0 ? QString() : line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

TProfileIniFile::TProfileIniFile(const QString &fileName, TOpenMode mode)
    : TCustomIniFile(fileName)
{
    if (mode == StartEmpty)
        return;
    // The limit holds for the file as it would be written again: in UTF-16
    // the same text takes up to twice the bytes.
    const TFileContent content = ReadRegularFile(fileName, 2 * MaxFileSize + 2);
    if (content.Result == TFileContent::Failed) {
        // A folder that may not be entered hides whether the file exists.
        if (content.Error.Kind != TFileError::NoPermission && !QFileInfo::exists(fileName))
            return;
        throw EIniFileException(content.Error);
    }
    if (content.Result == TFileContent::TooLarge)
        throw EIniFileException({TFileError::TooLarge, QString()});
    QString text = DecodeProfileText(content.Bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    FLines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!FLines.isEmpty() && FLines.back().isEmpty())
        FLines.removeLast();
    // What is read must be writable again, whatever the line ends and the
    // encoding of the file.
    if (FileSize() > MaxFileSize)
        throw EIniFileException({TFileError::TooLarge, QString()});
}

TProfileIniFile::~TProfileIniFile() = default;

void TProfileIniFile::BuildIndex() const
{
    FSectionLines.clear();
    FKeyLines.clear();
    FLastHeader = -1;
    QString current;
    bool counts = false;
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        const QString &line = FLines.at(i);
        if (IsHeader(line)) {
            FLastHeader = i;
            // Only the first section of a name counts, and in it the first key.
            current = FoldedName(HeaderName(line));
            counts = !FSectionLines.contains(current);
            if (counts)
                FSectionLines.insert(current, i);
        } else if (counts && !IsComment(line) && line.contains('=')) {
            InsertFirst(FKeyLines, KeyId(current, ProfileKeyOf(line)), i);
        }
    }
    FIndexValid = true;
}

qsizetype TProfileIniFile::FindSection(const QString &section) const
{
    if (!FIndexValid)
        BuildIndex();
    return FSectionLines.value(FoldedName(section), -1);
}

qsizetype TProfileIniFile::SectionEnd(qsizetype header) const
{
    if (FIndexValid && header == FLastHeader)
        return FLines.size();
    qsizetype i = header + 1;
    while (i < FLines.size() && !IsHeader(FLines.at(i)))
        ++i;
    return i;
}

qsizetype TProfileIniFile::FindKey(const QString &section, const QString &ident) const
{
    if (!FIndexValid)
        BuildIndex();
    return FKeyLines.value(KeyId(FoldedName(section), ident), -1);
}

QString TProfileIniFile::ReadString(const QString &section, const QString &ident, const QString &def) const
{
    const qsizetype key = FindKey(section, ident);
    return key < 0 ? def : ProfileValueOf(FLines.at(key)).left(MaxValueLength);
}

void TProfileIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    const QString name = IniLineText(section);
    const QString key = IniLineText(ident);
    const QString line = key + '=' + IniLineText(value);
    const qsizetype header = FindSection(name);
    if (header < 0) {
        FLines.append('[' + name + ']');
        FLines.append(line);
        FSectionLines.insert(FoldedName(name), FLines.size() - 2);
        FLastHeader = FLines.size() - 2;
        FKeyLines.insert(KeyId(FoldedName(name), key), FLines.size() - 1);
    } else if (const qsizetype existing = FindKey(name, key); existing >= 0) {
        FLines[existing] = line;
    } else {
        // After the section's last non-blank line, so blank separator lines
        // stay between the sections.
        qsizetype at = SectionEnd(header);
        while (at > header + 1 && FLines.at(at - 1).trimmed().isEmpty())
            --at;
        FLines.insert(at, line);
        // Appending at the end of the file moves no other line: the index
        // only gains the key. Anywhere else it is rebuilt on the next lookup.
        if (at == FLines.size() - 1)
            InsertFirst(FKeyLines, KeyId(FoldedName(name), key), at);
        else
            FIndexValid = false;
    }
    Changed();
}

QStringList TProfileIniFile::KeyLines(const QString &section) const
{
    QStringList lines;
    const qsizetype header = FindSection(section);
    if (header < 0)
        return lines;
    const qsizetype end = SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString &line = FLines.at(i);
        if (!IsComment(line) && line.contains('='))
            lines.append(line);
    }
    return lines;
}

void TProfileIniFile::ReadSection(const QString &section, QStringList &strings) const
{
    strings.clear();
    for (const QString &line : KeyLines(section))
        strings.append(ProfileKeyOf(line));
}

void TProfileIniFile::ReadSections(QStringList &strings) const
{
    strings.clear();
    for (const QString &line : FLines) {
        if (IsHeader(line))
            strings.append(HeaderName(line));
    }
}

void TProfileIniFile::ReadSectionValues(const QString &section, QStringList &strings) const
{
    strings.clear();
    for (const QString &line : KeyLines(section))
        strings.append(ProfileKeyOf(line) + '=' + ProfileValueOf(line));
}

void TProfileIniFile::EraseSection(const QString &section)
{
    const qsizetype header = FindSection(section);
    if (header < 0)
        return;
    FLines.remove(header, SectionEnd(header) - header);
    FIndexValid = false;
    Changed();
}

void TProfileIniFile::DeleteKey(const QString &section, const QString &ident)
{
    const qsizetype key = FindKey(section, ident);
    if (key < 0)
        return;
    FLines.removeAt(key);
    FIndexValid = false;
    Changed();
}

void TProfileIniFile::Changed()
{
    FDirty = true;
    if (FUpdateLevel == 0)
        UpdateFile();
}

void TProfileIniFile::BeginUpdate()
{
    ++FUpdateLevel;
}

void TProfileIniFile::EndUpdate()
{
    if (FUpdateLevel > 0 && --FUpdateLevel == 0 && FDirty)
        UpdateFile();
}

qint64 TProfileIniFile::FileSize() const
{
    qint64 size = 0;
    for (const QString &line : std::as_const(FLines))
        size += Utf8Size(line) + 2;
    return size;
}

bool TProfileIniFile::FileBytes(QByteArray &bytes, TFileError &error) const
{
    bytes.clear();
    if (FileSize() > MaxFileSize) {
        error = {TFileError::TooLarge, QString()};
        return false;
    }
    for (const QString &line : std::as_const(FLines))
        bytes += line.toUtf8() + "\r\n";
    return true;
}

qsizetype TProfileIniFile::LineSize(const QString &ident, const QString &value)
{
    return Utf8Size(IniLineText(ident)) + 1 + Utf8Size(IniLineText(value)) + 2;
}

void TProfileIniFile::UpdateFile()
{
    if (!FDirty)
        return;
    QByteArray bytes;
    TFileError error;
    if (!FileBytes(bytes, error) || !WriteFileAtomically(FileName(), bytes, &error))
        throw EIniFileException(error);
    FDirty = false;
}
