#pragma once

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringEncoder>

// Whole-file reads and writes for tests that check bytes on disk, and bytes
// of no format at all for files damaged beyond recognition.
inline QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The same bytes for the same seed, so a failure can be repeated.
inline QByteArray RandomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// The text in UTF-16 of the byte order, led by its byte-order mark, as
// editors on other systems save it.
inline QByteArray Utf16WithMark(const QString &text, QStringConverter::Encoding byteOrder)
{
    QStringEncoder encoder(byteOrder, QStringConverter::Flag::WriteBom);
    return encoder(text);
}
