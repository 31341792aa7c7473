#include "support/uAtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace {

TFileError::TKind KindOf(QFileDevice::FileError error, TFileError::TKind otherwise)
{
    switch (error) {
    case QFileDevice::ResourceError:
        return TFileError::NoSpace;
    case QFileDevice::PermissionsError:
        return TFileError::NoPermission;
    default:
        return otherwise;
    }
}

TFileError ErrorOf(const std::error_code &code)
{
    TFileError error;
    error.SystemText = QString::fromLocal8Bit(code.message());
    if (code == std::errc::no_space_on_device)
        error.Kind = TFileError::NoSpace;
    else if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted)
        error.Kind = TFileError::NoPermission;
    else
        error.Kind = TFileError::CannotWrite;
    return error;
}

std::filesystem::path FileSystemPath(const QString &fileName)
{
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

// A name beside the backup that nothing holds yet.
QString StagingName(const QString &backupName)
{
    for (int i = 0;; ++i) {
        const QString name = backupName + QStringLiteral(".%1.tmp").arg(i);
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink())
            return name;
    }
}

} // namespace

TAtomicFile::TAtomicFile(const QString &fileName, TLinks links)
    : FFileName(fileName), FLinks(links)
{
}

TAtomicFile::~TAtomicFile()
{
    Cancel();
}

bool TAtomicFile::Open()
{
    FError = {};
    const QFileInfo target(FFileName);
    if (FLinks == ReplaceLinks && target.isSymLink()) {
        // The temporary file is placed beside the file the name finally
        // means, so the link has to go before it is opened.
        if (!QFile::remove(FFileName))
            return Fail(TFileError::CannotCreate);
    } else if (target.exists() && !target.isFile()) {
        return Fail(TFileError::NotAFile);
    }
    FFile = std::make_unique<QSaveFile>(FFileName);
    if (!FFile->open(QIODevice::WriteOnly))
        return Fail(KindOf(FFile->error(), TFileError::CannotCreate));
    return true;
}

QIODevice &TAtomicFile::Device()
{
    return *FFile;
}

bool TAtomicFile::Write(const QByteArray &bytes)
{
    if (!FFile)
        return false;
    // A write larger than the buffer that the disk takes only in part comes
    // back short and without an error; the next one says why it stopped.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = FFile->write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return Fail(KindOf(FFile->error(), TFileError::CannotWrite));
        done += written;
    }
    return true;
}

bool TAtomicFile::Finish()
{
    if (!FFile)
        return false;
    // A buffered write that fails is only seen by its flush; the save file
    // would otherwise rename a truncated file into place as complete.
    if (!FFile->flush()) {
        // A flush the disk took only in part fails without the system's
        // reason; flushing the rest asks the disk again, which then says why.
        FFile->flush();
        return Fail(KindOf(FFile->error(), TFileError::CannotWrite));
    }
    if (FFile->error() != QFileDevice::NoError)
        return Fail(KindOf(FFile->error(), TFileError::CannotWrite));
    return true;
}

bool TAtomicFile::Commit()
{
    if (!Finish())
        return false;
    if (!FFile->commit())
        return Fail(KindOf(FFile->error(), TFileError::CannotWrite));
    FFile.reset();
    return true;
}

void TAtomicFile::Cancel()
{
    if (FFile)
        FFile->cancelWriting();
    FFile.reset();
}

bool TAtomicFile::Fail(TFileError::TKind kind)
{
    FError.Kind = kind;
    // Without an error code the save file only has "Unknown error" to say
    // (it does so when it cannot create its temporary file).
    if (FFile && FFile->error() != QFileDevice::NoError)
        FError.SystemText = FFile->errorString();
    Cancel();
    return false;
}

bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, TFileError *error,
                         TAtomicFile::TLinks links)
{
    TAtomicFile file(fileName, links);
    const bool written = file.Open() && file.Write(bytes) && file.Commit();
    if (!written && error)
        *error = file.Error();
    return written;
}

bool KeepAsBackup(const QString &fileName, const QString &backupName, TFileError *error)
{
    const QFileInfo current(fileName);
    const QFileInfo backup(backupName);
    if (!current.isFile() || (backup.exists() && !backup.isFile()))
        return true;
    const std::filesystem::path staged = FileSystemPath(StagingName(backupName));
    const std::filesystem::path source = FileSystemPath(current.canonicalFilePath());
    std::error_code code;
    // A second name for the file needs no room on the disk, so even a full
    // disk keeps its backup; where the file system has none, a copy.
    std::filesystem::create_hard_link(source, staged, code);
    if (code) {
        code.clear();
        std::filesystem::copy_file(source, staged, code);
    }
    if (!code)
        std::filesystem::rename(staged, FileSystemPath(backupName), code);
    if (!code)
        return true;
    std::error_code ignored;
    std::filesystem::remove(staged, ignored);
    if (error)
        *error = ErrorOf(code);
    return false;
}
