// Runs a fuzz target's entry point once for every file of its seed corpus,
// without libFuzzer, so that the normal and the sanitizer test builds replay
// every seed and every earlier finding kept there.
//   replay_<name> <file or folder>...

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

bool Replay(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray input = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    bool readable = true;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        QStringList files{argument};
        if (QFileInfo(argument).isDir()) {
            files.clear();
            const QDir folder(argument);
            for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
                files << folder.filePath(name);
        }
        for (const QString &path : files) {
            readable = Replay(path) && readable;
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    // A corpus that is gone or empty would make the test pass without testing.
    return readable && replayed > 0 ? 0 : 1;
}
