#include "support/uRegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TFileError ErrorOfErrno(int code)
{
    TFileError error;
    error.SystemText = QString::fromLocal8Bit(std::strerror(code));
    error.Kind = code == EACCES || code == EPERM ? TFileError::NoPermission
                 : code == EISDIR || code == ENXIO ? TFileError::NotAFile
                                                   : TFileError::CannotRead;
    return error;
}

// What one read asks for: large enough to be quick, small enough that a
// file claiming a huge size allocates nothing up front.
constexpr qint64 PieceBytes = 1024 * 1024;

} // namespace

bool OpenRegularFile(QFile &file, TFileError &error)
{
    error = {};
    const QByteArray name = QFile::encodeName(file.fileName());
    // O_NONBLOCK: opening a FIFO without a writer or a terminal returns at
    // once instead of waiting; O_NOCTTY: a terminal never becomes ours.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = ErrorOfErrno(errno);
        return false;
    }
    struct stat info;
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        error = known ? TFileError{TFileError::NotAFile, QString()} : ErrorOfErrno(errno);
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = {TFileError::CannotRead, file.errorString()};
        ::close(fd);
        return false;
    }
    return true;
}

TFileContent ReadRegularFile(const QString &fileName, qint64 maxBytes)
{
    TFileContent content;
    QFile file(fileName);
    if (!OpenRegularFile(file, content.Error))
        return content;
    if (file.size() > maxBytes) {
        content.Result = TFileContent::TooLarge;
        return content;
    }
    QByteArray bytes;
    // One byte beyond the limit tells a file that grew while it was read.
    while (bytes.size() <= maxBytes) {
        const qint64 want = qMin(PieceBytes, maxBytes + 1 - bytes.size());
        const qsizetype start = bytes.size();
        bytes.resize(start + want);
        const qint64 got = file.read(bytes.data() + start, want);
        if (got < 0) {
            content.Error = {TFileError::CannotRead, file.errorString()};
            return content;
        }
        bytes.resize(start + got);
        if (got == 0)
            break;
    }
    if (bytes.size() > maxBytes) {
        content.Result = TFileContent::TooLarge;
        return content;
    }
    content.Result = TFileContent::Read;
    content.Bytes = std::move(bytes);
    return content;
}
