#pragma once

#include "support/uAtomicFile.h"

#include <QByteArray>
#include <QString>

class QFile;

// Files the user names (card files, logos, contacts, languages, sheet
// lists) may turn out to be a FIFO, a terminal, a device or a file that
// never ends, such as /proc/kmsg. Each is opened without waiting and taken
// only when it is a regular file, so no read of the program can block.

// Opens the file for reading when it is a regular file. The descriptor
// stays non-blocking: a file of the kernel's that would wait for data
// fails the read instead. On failure `error` says why: NotAFile,
// NoPermission or CannotRead.
bool OpenRegularFile(QFile &file, TFileError &error);

struct TFileContent
{
    enum TResult { Read, TooLarge, Failed };
    TResult Result = Failed;
    QByteArray Bytes; // the whole file when Read
    TFileError Error; // why, when Failed
};

// The whole regular file, when it holds at most maxBytes. It is read in
// pieces, so a file that claims a large size or grows while it is read
// costs no more than the limit.
TFileContent ReadRegularFile(const QString &fileName, qint64 maxBytes);
