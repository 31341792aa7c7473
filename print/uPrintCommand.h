#pragma once

#include <QString>

// Printing from the command line, without a window:
//   tessaro --print-to-pdf OUT.pdf [--sheets N] [--test-page] [CARD.tsx]
//   tessaro --print-to-printer NAME [--sheets N] [--test-page] [CARD.tsx]
// either with --import-contact FILE.vcf [--contact-index N] to print a
// contact's card in the design of the card file.
struct TPrintCommand
{
    QString PdfFile;
    QString Printer;
    int Sheets = 1;
    bool TestPage = false;
    QString CardFile;
    QString ContactFile;
    int ContactIndex = 1; // counted from 1, as users count
};

// The section of the command line's texts in the language files.
inline constexpr char CommandLineTextSection[] = "Kommandozeile";

// Registers the German defaults of the texts the print command reports.
void RegisterPrintCommandTexts();

// Prints as the command asks, with messages in the language of the user's
// environment; returns the program's exit code.
int RunPrintCommand(int &argc, char **argv, const TPrintCommand &command);
