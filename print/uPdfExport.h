#pragma once

#include "print/uPrintJob.h"
#include "print/uPrinterSupport.h"

#include <QPrinter>

// The whole print job written into a PDF file named beforehand: the pages of
// the PDF printer with its stored print offsets, every front followed by its
// back for a two-sided card, with no question. The printer chosen in the
// window stays as it is.
class TPdfExport
{
public:
    // Registers the German defaults of the save dialog's texts.
    static void RegisterTexts();
    // The save dialog, proposing the card file's name with ".pdf"; empty
    // when cancelled.
    static QString ChooseFile(const QString &cardFile);

    explicit TPdfExport(const QString &fileName);

    // Throws EPrinterError when the file cannot be written; an existing file
    // is replaced only by a complete one.
    TPrintResult PrintCards(const TDocument &document, int sheets, TPrintJobUi &ui);

private:
    QPrinter FPrinter;
    TPrinterSupport FSupport;
};
