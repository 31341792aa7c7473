#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>

// The program's resources: files below resources/<TYPE>/<name>, compiled in.
namespace Resources {

// The names of one type in the platform's order: named resources
// alphabetically (case-insensitive), then numbered ones in ascending numeric
// order (99 before 100).
QStringList EnumNames(const QString &type);
bool Exists(const QString &type, const QString &name);
// The resource as an open, read-only byte stream; nullptr when it is missing.
std::unique_ptr<QIODevice> Open(const QString &type, const QString &name);
// The whole resource; empty when it is missing.
QByteArray Load(const QString &type, const QString &name);

// The folder that stands for the compiled-in resources (":/res" normally).
QString Root();

// Points all lookups at another folder while it lives, so tests can supply
// their own small resources.
class TRootOverride
{
public:
    explicit TRootOverride(const QString &root);
    ~TRootOverride();
    TRootOverride(const TRootOverride &) = delete;
    TRootOverride &operator=(const TRootOverride &) = delete;

private:
    QString FPrevious;
};

} // namespace Resources
