#include <QCoreApplication>
#include <QTextStream>

#include "ProjVersion.h"

#include <cstring>

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            QTextStream(stdout) << "Tessaro " << tessaro::version::Text << '\n';
            return 0;
        }
    }
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "Tessaro: the wizard is not available yet\n";
    return 1;
}
