#pragma once

#include "print/uPrintCommand.h"

#include <QStringList>

// What the program was asked to do on its command line.
struct TCommandLine
{
    enum TAction { Wizard, Printing, Help, Version, Error };

    TAction Action = Wizard;
    // Wizard: the card file to open, if any, and the vCard file to import
    // onto the card.
    QString CardFile;
    QString ContactFile;
    TPrintCommand Print;
    // Error: the key of its text and the argument the text names.
    QString ErrorKey;
    QString ErrorArgument;
};

// The exit codes the program documents.
enum TExitCode : int { ExitSuccess = 0, ExitFailure = 1, ExitUsage = 2 };

// arguments: the program's name first, as the system passed them. Needs no
// application object, so help and errors need no display.
TCommandLine ParseCommandLine(const QStringList &arguments);

// Registers the German defaults of the command line's texts.
void RegisterCommandLineTexts();

// The usage text: every option with its line, the card file argument and
// the exit codes, in the current language.
QString UsageText(const QString &program);
// The one line that reports a command line error, with the hint to --help.
QString ErrorLine(const QString &program, const TCommandLine &commandLine);

// Answers help, version and errors on the standard streams in the user's
// language; returns the exit code.
int ReportCommandLine(const QStringList &arguments, const TCommandLine &commandLine);
