#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;
class QSaveFile;

// Why a file could not be read or written: a kind the program words in the
// user's language, and the system's own text (which Qt may translate).
struct TFileError
{
    // TooLarge: more than the program would read back.
    enum TKind { None, NotAFile, NoSpace, NoPermission, CannotCreate, CannotWrite, CannotRead, TooLarge };
    TKind Kind = None;
    QString SystemText;
};

// A file whose new content takes its place in one step: the bytes go to a
// temporary file beside it, which replaces the file only when everything
// was written, so a full disk or a cancelled job leaves the file as it was.
// A target that exists and is not a regular file (a folder, a FIFO, a
// device) is refused, never replaced.
class TAtomicFile
{
public:
    // FollowLinks writes the file a symbolic link points to; ReplaceLinks
    // puts the new file in the link's place and leaves its target alone.
    enum TLinks { FollowLinks, ReplaceLinks };

    explicit TAtomicFile(const QString &fileName, TLinks links = FollowLinks);
    ~TAtomicFile(); // cancels what was not committed
    TAtomicFile(const TAtomicFile &) = delete;
    TAtomicFile &operator=(const TAtomicFile &) = delete;

    bool Open();
    // Valid between Open and Commit or Cancel.
    QIODevice &Device();
    bool Write(const QByteArray &bytes);
    // True when every byte written so far is in the temporary file; the
    // last buffered bytes are written now, so a full disk shows here.
    bool Finish();
    // Finish, then the temporary file takes the file's place.
    bool Commit();
    void Cancel();

    const QString &FileName() const { return FFileName; }
    const TFileError &Error() const { return FError; }

private:
    bool Fail(TFileError::TKind kind);

    QString FFileName;
    TLinks FLinks;
    std::unique_ptr<QSaveFile> FFile;
    TFileError FError;
};

// Replaces a file's content in one step with TAtomicFile. On failure the
// file stays as it was and `error` (if given) says why.
bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, TFileError *error = nullptr,
                         TAtomicFile::TLinks links = TAtomicFile::FollowLinks);

// Makes the file's present content the backup under backupName, replacing
// an older backup in one step; call when the new content is complete but
// not yet in place. Nothing to keep (no file yet) or a backup name taken by
// something other than a file (which is left alone) is no failure. On
// failure the older backup stays as it was.
bool KeepAsBackup(const QString &fileName, const QString &backupName, TFileError *error = nullptr);
