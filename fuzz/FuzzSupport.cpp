// The set-up every fuzz target shares, run once before the first input.

#include "FuzzSupport.h"

#include <QApplication>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
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
    static Fuzz::TSilentDialogs dialogs;
    static TDialogServiceOverride dialogOverride(dialogs);
    if (!home.isValid() || !Fuzz::Scratch().isValid())
        std::abort();
    return 0;
}
