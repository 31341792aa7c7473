#pragma once

#include "support/uDialogService.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// What every fuzz target shares: an application on the offscreen platform
// with a private home (nothing touches the real user's settings) and message
// boxes answered without showing them, made by the one LLVMFuzzerInitialize
// of FuzzSupport.cpp; a scratch folder for inputs the code under test reads
// from a file, and the input as a stream for those that read from one.
namespace Fuzz {

class TSilentDialogs : public TDialogService
{
public:
    int MessageBox(TMsgDlgType, const QString &, const QString &, int, int defaultButton) override
    {
        return defaultButton ? defaultButton : mbOK;
    }
    QString GetOpenFileName(const TFileDialogRequest &) override { return {}; }
    QString GetSaveFileName(const TFileDialogRequest &) override { return {}; }
};

inline QTemporaryDir &Scratch()
{
    static QTemporaryDir dir;
    return dir;
}

inline QByteArray Bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Writes the input into the scratch folder and returns the file's path.
inline QString WriteInput(const uint8_t *data, size_t size, const QString &name = QStringLiteral("input"))
{
    const QString path = Scratch().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

// The input as a read-only device.
class TInputStream
{
public:
    TInputStream(const uint8_t *data, size_t size) : FBytes(Fuzz::Bytes(data, size))
    {
        FBuffer.setBuffer(&FBytes);
        FBuffer.open(QIODevice::ReadOnly);
    }

    QIODevice &Device() { return FBuffer; }
    const QByteArray &Bytes() const { return FBytes; }

private:
    QByteArray FBytes;
    QBuffer FBuffer;
};

} // namespace Fuzz
