// The set-up every fuzz target shares, run once before the first input.

#include "FuzzSupport.h"

#include <QApplication>

extern "C" const char *__asan_default_options();

// Under the address sanitizer, allocations are traced through the system
// libraries' frames as well, which the quick unwinder stops at: only then can
// the leak suppressions of their process-wide caches (the fonts a text in an
// SVG logo loads) match.
extern "C" const char *__asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

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
