#pragma once

#include "support/uDialogService.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// What every fuzz target shares: an application on the offscreen platform
// with a private home (nothing touches the real user's settings), message
// boxes answered without showing them, and a scratch folder for inputs the
// code under test reads from a file.
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

// Call from LLVMFuzzerInitialize.
inline void Start()
{
    static QTemporaryDir home;
    const QByteArray root = home.path().toLocal8Bit();
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    // The decoders' warnings about broken input would flood the output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QApplication app(argc, argv);
    static TSilentDialogs dialogs;
    static TDialogServiceOverride dialogOverride(dialogs);
    if (!home.isValid() || !Scratch().isValid())
        std::abort();
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

} // namespace Fuzz
