#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

// Reading of UTF-16 and 8-bit text resources into lines.

// 8-bit text as the program receives it: UTF-8 when the bytes are valid
// UTF-8, otherwise Windows-1252 (files written on the original platform).
QString DecodeAnsiText(const QByteArray &bytes);
// Windows-1252 text: Latin-1 with printable characters in 0x80..0x9F.
QString DecodeCp1252(const QByteArray &bytes);

// The list of 16-bit-character strings through which UTF-16 text is read.
class TWideStrings
{
public:
    virtual ~TWideStrings() = default;

    virtual int Count() const = 0;
    // Throws std::out_of_range for an index outside 0 .. Count() - 1.
    virtual QString Get(int index) const = 0;

    // Replaces the content with the lines of the stream's remaining bytes.
    void LoadFromStream(QIODevice &stream);
    // Replaces the content with the lines of the text.
    virtual void SetText(const QString &text) = 0;

    // True when the last LoadFromStream found a byte-order mark.
    bool Unicode() const { return FUnicode; }
    // Number of completed loads; each load is one update.
    int UpdateCount() const { return FUpdates; }

protected:
    bool FUnicode = false;
    int FUpdates = 0;
};

class TWideStringList : public TWideStrings
{
public:
    int Count() const override { return int(FLines.size()); }
    QString Get(int index) const override;
    void SetText(const QString &text) override;
    const QStringList &Lines() const { return FLines; }

private:
    QStringList FLines;
};

// Splits text into lines at CR LF, CR, LF, VT, FF, U+2028, U+2029 and NUL;
// scanning stops at the first NUL; a trailing break adds no empty line.
QStringList SplitTextLines(const QString &text);
