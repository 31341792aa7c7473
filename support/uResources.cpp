#include "support/uResources.h"

#include "support/uRegularFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace Resources {
namespace {

QString &RootSlot()
{
    static QString root = QStringLiteral(":/res");
    return root;
}

bool IsNumbered(const QString &name, quint64 &number)
{
    bool ok = false;
    number = name.toULongLong(&ok);
    return ok && !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) { return c.isDigit(); });
}

QString PathOf(const QString &type, const QString &name)
{
    return RootSlot() + '/' + type + '/' + name;
}

} // namespace

QString Root()
{
    return RootSlot();
}

QStringList EnumNames(const QString &type)
{
    QStringList names = QDir(RootSlot() + '/' + type).entryList(QDir::Files, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        quint64 na = 0, nb = 0;
        const bool numA = IsNumbered(a, na);
        const bool numB = IsNumbered(b, nb);
        if (numA != numB)
            return numB; // named ones first
        if (numA)
            return na < nb;
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

bool Exists(const QString &type, const QString &name)
{
    return QFile::exists(PathOf(type, name));
}

std::unique_ptr<QIODevice> Open(const QString &type, const QString &name)
{
    auto file = std::make_unique<QFile>(PathOf(type, name));
    // Resources may come from a folder instead of the program: there, only
    // a regular file is read, so a FIFO or device cannot block the start.
    TFileError error;
    const bool opened = RootSlot().startsWith(QLatin1Char(':')) ? file->open(QIODevice::ReadOnly)
                                                                  : OpenRegularFile(*file, error);
    return opened ? std::move(file) : nullptr;
}

QByteArray Load(const QString &type, const QString &name)
{
    const auto stream = Open(type, name);
    return stream ? stream->readAll() : QByteArray();
}

TRootOverride::TRootOverride(const QString &root)
    : FPrevious(RootSlot())
{
    RootSlot() = root;
}

TRootOverride::~TRootOverride()
{
    RootSlot() = FPrevious;
}

} // namespace Resources
