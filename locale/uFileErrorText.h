#pragma once

#include <QString>

struct TFileError;

// Registers the German texts of failed file operations (the reasons, and
// the notice of a settings file put aside); safe to call again.
void RegisterFileErrorTexts();

// Why a file could not be read or written, in the program's language: Qt's
// own translation of the system's text where Qt has one, else the
// program's words for the kind of failure. The system's texts come in
// English or the system's language, which need not be the program's.
QString FileErrorReason(const TFileError &error);
