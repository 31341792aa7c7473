#include "support/uMemIni.h"

#include "locale/Unicode.h"
#include "support/uAtomicFile.h"
#include "support/uRegularFile.h"

#include <QFile>

bool LineHasKey(const QString &line, const QString &ident)
{
    const qsizetype eq = line.indexOf('=');
    return eq >= 0 && QStringView(line).left(eq).compare(ident, Qt::CaseInsensitive) == 0;
}

void TMyMemIniFile::Clear()
{
    FSections.clear();
}

const TMyMemIniFile::Section *TMyMemIniFile::FindSection(const QString &section) const
{
    for (const auto &s : FSections) {
        if (s->Name.compare(section, Qt::CaseInsensitive) == 0)
            return s.get();
    }
    return nullptr;
}

TMyMemIniFile::Section *TMyMemIniFile::FindSection(const QString &section)
{
    return const_cast<Section *>(std::as_const(*this).FindSection(section));
}

TMyMemIniFile::Section &TMyMemIniFile::AddSection(const QString &section)
{
    if (Section *s = FindSection(section))
        return *s;
    FSections.push_back(std::make_unique<Section>(Section{section, {}}));
    return *FSections.back();
}

QString TMyMemIniFile::ReadString(const QString &section, const QString &ident, const QString &def) const
{
    const Section *s = FindSection(section);
    if (!s)
        return def;
    for (const QString &line : s->Lines) {
        if (LineHasKey(line, ident))
            return line.mid(ident.size() + 1);
    }
    return def;
}

void TMyMemIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    const QString key = IniLineText(ident);
    Section &s = AddSection(IniLineText(section));
    const QString line = key + '=' + IniLineText(value);
    for (QString &existing : s.Lines) {
        if (LineHasKey(existing, key)) {
            existing = line;
            return;
        }
    }
    s.Lines.append(line);
}

void TMyMemIniFile::ReadSection(const QString &section, QStringList &strings) const
{
    strings.clear();
    if (const Section *s = FindSection(section)) {
        for (const QString &line : s->Lines) {
            const qsizetype eq = line.indexOf('=');
            strings.append(eq >= 0 ? line.left(eq) : QString());
        }
    }
}

void TMyMemIniFile::ReadSections(QStringList &strings) const
{
    strings.clear();
    for (const auto &s : FSections)
        strings.append(s->Name);
}

void TMyMemIniFile::ReadSectionValues(const QString &section, QStringList &strings) const
{
    strings.clear();
    if (const Section *s = FindSection(section))
        strings = s->Lines;
}

void TMyMemIniFile::EraseSection(const QString &section)
{
    for (auto it = FSections.begin(); it != FSections.end(); ++it) {
        if ((*it)->Name.compare(section, Qt::CaseInsensitive) == 0) {
            FSections.erase(it);
            return;
        }
    }
}

void TMyMemIniFile::DeleteKey(const QString &section, const QString &ident)
{
    Section *s = FindSection(section);
    if (!s)
        return;
    for (qsizetype i = 0; i < s->Lines.size(); ++i) {
        if (LineHasKey(s->Lines.at(i), ident)) {
            s->Lines.removeAt(i);
            return;
        }
    }
}

void TMyMemIniFile::Parse(const QStringList &lines)
{
    Section *current = nullptr;
    for (const QString &line : lines) {
        if (line.isEmpty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            current = &AddSection(line.mid(1, line.size() - 2));
            continue;
        }
        if (current)
            current->Lines.append(line);
    }
}

void TMyMemIniFile::SetStrings(const QStringList &lines)
{
    Clear();
    Parse(lines);
}

void TMyMemIniFile::LoadFromStream(QIODevice &stream)
{
    TWideStringList lines;
    lines.LoadFromStream(stream);
    SetStrings(lines.Lines());
}

void TMyMemIniFile::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists()) {
        Clear();
        return;
    }
    TFileError error;
    if (!OpenRegularFile(file, error))
        throw EIniFileException(error);
    LoadFromStream(file);
}

void TMyMemIniFile::MergeFromStream(QIODevice &stream)
{
    // 8-bit text: only CR LF, CR and LF end its lines.
    const QString text = DecodeAnsiText(stream.readAll());
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    Parse(lines);
}

void TMyMemIniFile::GetStrings(QStringList &strings) const
{
    for (const auto &s : FSections) {
        strings.append('[' + s->Name + ']');
        strings.append(s->Lines);
        strings.append(QString());
    }
}

QByteArray TMyMemIniFile::FileBytes() const
{
    QStringList lines;
    GetStrings(lines);
    QByteArray bytes;
    for (const QString &line : std::as_const(lines))
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

void TMyMemIniFile::SaveToStream(QIODevice &stream) const
{
    const QByteArray bytes = FileBytes();
    if (stream.write(bytes) != bytes.size())
        throw EIniFileException({TFileError::CannotWrite, stream.errorString()});
}

void TMyMemIniFile::SaveToFile(const QString &fileName, TAtomicFile::TLinks links) const
{
    TFileError error;
    if (!WriteFileAtomically(fileName, FileBytes(), &error, links))
        throw EIniFileException(error);
}
