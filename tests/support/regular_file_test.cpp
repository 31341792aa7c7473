#include "support/uRegularFile.h"

#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

TEST(RegularFile, RefusesWithoutWaitingWhatIsNoRegularFile)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("logo.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    // A FIFO without a writer, a terminal, a device, a folder: each would
    // block a read or never end.
    for (const QString &path : {fifo, QStringLiteral("/dev/tty"), QStringLiteral("/dev/zero"), dir.path()}) {
        const TFileContent content = ReadRegularFile(path, 1024);
        EXPECT_EQ(content.Result, TFileContent::Failed) << path.toStdString();
        EXPECT_TRUE(content.Bytes.isEmpty());
    }
    // The kernel's log is a regular file whose read waits for news.
    if (QFileInfo("/proc/kmsg").isReadable()) {
        EXPECT_TRUE(ReadRegularFile(QStringLiteral("/proc/kmsg"), 1024).Bytes.isEmpty());
    }
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(ReadRegularFile(fifo, 1024).Error.Kind, TFileError::NotAFile);
    EXPECT_EQ(ReadRegularFile(dir.filePath("missing"), 1024).Error.Kind, TFileError::CannotRead);
}

TEST(RegularFile, ReadsWholeFilesUpToTheLimitAndSaysWhyNot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("card.tsx");
    const QByteArray bytes = RandomBytes(3 * 1024 * 1024 + 17, 5);
    ASSERT_TRUE(WriteAll(path, bytes));
    const TFileContent whole = ReadRegularFile(path, bytes.size());
    EXPECT_EQ(whole.Result, TFileContent::Read);
    EXPECT_EQ(whole.Bytes, bytes);
    EXPECT_EQ(ReadRegularFile(path, bytes.size() - 1).Result, TFileContent::TooLarge);

    ASSERT_TRUE(WriteAll(path, QByteArray()));
    const TFileContent empty = ReadRegularFile(path, 10);
    EXPECT_EQ(empty.Result, TFileContent::Read);
    EXPECT_TRUE(empty.Bytes.isEmpty());

    if (::geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
        EXPECT_EQ(ReadRegularFile(path, 10).Error.Kind, TFileError::NoPermission);
    }
}

} // namespace
