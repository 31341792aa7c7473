#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <unistd.h>

// File permissions hold for the calling thread while it lives, also when
// the tests run as root: its file accesses are those of an ordinary user.
class TFilePermissionsHold
{
public:
    TFilePermissionsHold()
    {
        if (::geteuid() == 0)
            FPrevious = ::setfsuid(65534);
    }
    ~TFilePermissionsHold()
    {
        if (FPrevious >= 0)
            ::setfsuid(uid_t(FPrevious));
    }
    TFilePermissionsHold(const TFilePermissionsHold &) = delete;
    TFilePermissionsHold &operator=(const TFilePermissionsHold &) = delete;

private:
    int FPrevious = -1;
};

// The folder becomes a file system of its own that holds `kilobytes`, as a
// full disk does: a write beyond fails with "No space left on device". It is
// mounted in a mount namespace of the calling thread's own, seen by nobody
// else and gone with it. Mounting needs root: Mounted() says whether it
// worked.
class TFullDisk
{
public:
    TFullDisk(const QString &folder, int kilobytes)
    {
        FNamespace = ::open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC);
        FFolder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (FNamespace < 0 || FFolder < 0 || ::unshare(CLONE_NEWNS) != 0)
            return;
        FUnshared = true;
        const QByteArray path = QFile::encodeName(folder);
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        // Private first, so that the mount cannot spread to other namespaces.
        FMounted = ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                   && ::mount("tessaro-test", path.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TFullDisk()
    {
        // Entering a namespace moves to its root: the working folder comes back.
        if (FUnshared && ::setns(FNamespace, CLONE_NEWNS) == 0) {
            [[maybe_unused]] const int back = ::fchdir(FFolder);
        }
        for (const int descriptor : {FNamespace, FFolder})
            if (descriptor >= 0)
                ::close(descriptor);
    }
    TFullDisk(const TFullDisk &) = delete;
    TFullDisk &operator=(const TFullDisk &) = delete;

    bool Mounted() const { return FMounted; }

private:
    int FNamespace = -1;
    int FFolder = -1;
    bool FUnshared = false;
    bool FMounted = false;
};
