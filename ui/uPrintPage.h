#pragma once

#include "print/uPrintJob.h"
#include "print/uPrintOffsets.h"

#include <QObject>

#include <initializer_list>
#include <memory>
#include <vector>

class QProgressDialog;
class QWidget;
class TDocument;
class TDruckenPage;
class THelpWindow;

// What the page "Drucken" does: the printer choice, the number of sheets, the
// test page and the print-position calibration of the fronts and the backs,
// and the print job itself.
// It wires the page's controls when it is made; the window's controls given
// as locked are disabled with the page's while a job prints.
class TPrintPage : public QObject, private TPrintJobUi
{
public:
    TPrintPage(TDruckenPage &page, std::initializer_list<QWidget *> locked, TDocument &document,
               THelpWindow &assistant, QWidget *window);
    ~TPrintPage() override;

    // Entering the page: printer description, offsets and sheet count.
    void Enter();
    // After a language switch.
    void TextsChanged();

    void PrintCards();
    void BtnTestseiteDruckenClick();
    // The sheets of the page into a PDF file chosen in a save dialog, as the
    // PDF printer prints them but without the prompts for the printer.
    void ExportPdf();

private:
    void BtnDruckpositionAnpassenClick();
    void MoveOffsets(TOffsetMove move);
    // The chosen pass's new offsets, stored for the printer.
    void SetOffsets(const TPrintOffsets &offsets);
    void LoadPrintOffsets();
    void ShowPrintOffsets();
    void seAnzahlChange();
    void cbDruckerChange(int index);
    void BtnEigenschaftenClick();
    void ShowPrinterInfo();
    // Runs one print action; a printer's refusal is shown, not thrown on.
    void RunJob(TPrintResult (TPrintJob::*action)());

    void EnableControls(bool enabled) override;
    void SetBusy(bool busy) override;
    bool PageProgress(int page, int count) override;
    void EndProgress() override;
    void ShowAssistantPicture(int number) override;

    TDruckenPage &FPage;
    std::vector<QWidget *> FLocked;
    TDocument &FDocument;
    THelpWindow &FAssistant;
    QWidget *FWindow;
    TPrintCorrection FCorrection;
    std::unique_ptr<QProgressDialog> FProgress;
};
