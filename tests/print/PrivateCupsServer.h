#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>

// A CUPS server of our own, listening only on a socket in a temporary
// folder, with raw queues that print into /dev/null. While it runs, CUPS
// calls of this thread go to it. Check Running(): without cupsd it does not start.
class TPrivateCupsServer
{
public:
    TPrivateCupsServer()
    {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/usr/local/sbin"});
        if (!FDir.isValid() || cupsd.isEmpty() || !WriteConfig())
            return;
        FSocket = FDir.filePath(QStringLiteral("cups.sock"));
        FDaemon.start(cupsd, {"-f", "-c", FDir.filePath("cupsd.conf"), "-s", FDir.filePath("cups-files.conf")});
        if (!FDaemon.waitForStarted(5000))
            return;
        for (int i = 0; i < 100 && !QFile::exists(FSocket); ++i)
            QThread::msleep(50);
        if (!QFile::exists(FSocket))
            return;
        FServerName = FSocket.toUtf8();
        cupsSetServer(FServerName.constData());
        qputenv("CUPS_SERVER", FServerName);
        FRunning = true;
    }

    ~TPrivateCupsServer()
    {
        cupsSetServer(nullptr);
        qunsetenv("CUPS_SERVER");
        if (FDaemon.state() != QProcess::NotRunning) {
            FDaemon.terminate();
            if (!FDaemon.waitForFinished(5000))
                FDaemon.kill();
            FDaemon.waitForFinished(2000);
        }
    }

    bool Running() const { return FRunning; }
    QString Log() const
    {
        QFile log(FDir.filePath(QStringLiteral("error_log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    // Adds an enabled raw queue; false when lpadmin refuses.
    bool AddPrinter(const QString &name, const QString &info, const QString &location) const
    {
        QProcess lpadmin;
        lpadmin.start(QStringLiteral("lpadmin"), {"-h", FSocket, "-p", name, "-E", "-v", "file:///dev/null", "-D",
                                                   info, "-L", location});
        return lpadmin.waitForFinished(10000) && lpadmin.exitStatus() == QProcess::NormalExit
               && lpadmin.exitCode() == 0;
    }

    // Deletes a queue, as an administrator may while the program runs.
    bool RemovePrinter(const QString &name) const
    {
        QProcess lpadmin;
        lpadmin.start(QStringLiteral("lpadmin"), {"-h", FSocket, "-x", name});
        return lpadmin.waitForFinished(10000) && lpadmin.exitStatus() == QProcess::NormalExit
               && lpadmin.exitCode() == 0;
    }

private:
    bool WriteConfig()
    {
        const QDir dir(FDir.path());
        for (const char *sub : {"state", "cache", "spool", "tmp"})
            if (!dir.mkpath(QLatin1String(sub)))
                return false;
        const QString root = FDir.path();
        const QByteArray server = "Listen " + dir.filePath("cups.sock").toUtf8() + "\n"
                                  "LogLevel warn\nBrowsing Off\nDefaultAuthType None\n"
                                  "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                                  "<Location /admin>\nOrder allow,deny\nAllow all\n</Location>\n"
                                  "<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n</Limit>\n</Policy>\n";
        const QByteArray files = ("ServerRoot " + root + "\nStateDir " + root + "/state\nCacheDir " + root
                                  + "/cache\nRequestRoot " + root + "/spool\nTempDir " + root + "/tmp\nErrorLog "
                                  + root + "/error_log\nAccessLog " + root + "/access_log\nPageLog " + root
                                  + "/page_log\nFileDevice Yes\nSandboxing Relaxed\n")
                                     .toUtf8();
        return Write("cupsd.conf", server) && Write("cups-files.conf", files);
    }
    bool Write(const char *name, const QByteArray &data)
    {
        QFile file(FDir.filePath(QLatin1String(name)));
        return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
    }

    QTemporaryDir FDir;
    QString FSocket;
    QByteArray FServerName;
    QProcess FDaemon;
    bool FRunning = false;
};
