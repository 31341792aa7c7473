#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's content in one step: the bytes go to a temporary file
// beside it, which takes the file's place only when all were written. The
// temporary file is written unbuffered, so a short write on a full disk is
// seen at once; a buffered one can be committed truncated with no error.
// On failure the file stays as it was and `error` (if given) says why.
bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);
