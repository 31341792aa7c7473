#include "ui/uPrintPage.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/uPdfExport.h"
#include "print/uPrintTexts.h"
#include "print/uPrinterSupport.h"
#include "print/uPrinterTarget.h"
#include "ui/FHelpWindow.h"
#include "ui/uDruckenPage.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Menu commands that must not run while a job prints.
constexpr const char *LockedMenuItems[] = {"mnuDateiNeu", "mnuDateiOeffnen", "mnuDateiSpeichern",
                                           "mnuDateiSpeichernUnter", "mnuDateiBeenden"};

} // namespace

TPrintPage::TPrintPage(TDruckenPage &page, std::initializer_list<QWidget *> locked, TDocument &document,
                       THelpWindow &assistant, QWidget *window)
    : QObject(window), FPage(page), FLocked(locked), FDocument(document), FAssistant(assistant), FWindow(window)
{
    RegisterPrintTexts();
    TPdfExport::RegisterTexts();
    const TCalibrationGroup &calibration = *FPage.gbDruckbereich;
    connect(calibration.BtnTestseiteDrucken, &QPushButton::clicked, this, [this] { BtnTestseiteDruckenClick(); });
    connect(calibration.BtnDruckpositionAnpassen, &QPushButton::clicked, this,
            [this] { BtnDruckpositionAnpassenClick(); });
    const std::pair<QToolButton *, TOffsetMove> moves[] = {
        {calibration.BtnDruckPosUp, TOffsetMove::Up},       {calibration.BtnDruckPosDown, TOffsetMove::Down},
        {calibration.BtnDruckPosLeft, TOffsetMove::Left},   {calibration.BtnDruckPosRight, TOffsetMove::Right},
        {calibration.BtnDruckPosCenter, TOffsetMove::Center}};
    for (const auto &[button, move] : moves)
        connect(button, &QToolButton::clicked, this, [this, move = move] { MoveOffsets(move); });
    connect(&calibration, &TCalibrationGroup::SideChanged, this, [this] { ShowPrintOffsets(); });
    connect(&calibration, &TCalibrationGroup::OffsetsTyped, this,
            [this](const TPrintOffsets &offsets) { SetOffsets(offsets); });
    connect(FPage.seAnzahl, &QSpinBox::valueChanged, this, [this] { seAnzahlChange(); });
    connect(FPage.gbDrucker->cbDrucker, &QComboBox::activated, this, [this](int index) { cbDruckerChange(index); });
    connect(FPage.gbDrucker->BtnEigenschaften, &QPushButton::clicked, this, [this] { BtnEigenschaftenClick(); });
}

TPrintPage::~TPrintPage() = default;

void TPrintPage::Enter()
{
    ShowPrinterInfo();
    LoadPrintOffsets();
    seAnzahlChange();
}

void TPrintPage::TextsChanged()
{
    seAnzahlChange();
    ShowPrintOffsets();
    // The PDF printer's description is one of the program's texts; entering
    // the page shows it anew anyway.
    if (FPage.isVisible())
        ShowPrinterInfo();
}

void TPrintPage::PrintCards()
{
    RunJob(nullptr);
}

void TPrintPage::BtnTestseiteDruckenClick()
{
    RunJob(&TPrintJob::PrintTestSheet);
}

void TPrintPage::ExportPdf()
{
    const QString path = TPdfExport::ChooseFile(FDocument.FileName());
    if (path.isEmpty())
        return;
    try {
        TPdfExport(path).PrintCards(FDocument, FPage.seAnzahl->value(), *this);
    } catch (const std::exception &error) {
        ShowMessageBox(TMsgDlgType::Error, QString::fromStdString(error.what()));
    }
}

void TPrintPage::RunJob(TPrintResult (TPrintJob::*action)())
{
    TPrinterTarget target(PrinterSupport());
    TPrintJob job(FDocument, target, *this, FCorrection);
    try {
        if (action)
            (job.*action)();
        else
            job.PrintCards(FPage.seAnzahl->value());
    } catch (const std::exception &error) {
        ShowMessageBox(TMsgDlgType::Error, QString::fromStdString(error.what()));
    }
}

void TPrintPage::BtnDruckpositionAnpassenClick()
{
    TCalibrationGroup &calibration = *FPage.gbDruckbereich;
    calibration.SetOpen(!calibration.IsOpen());
}

void TPrintPage::MoveOffsets(TOffsetMove move)
{
    MoveStoredPrintOffsets(PrinterSupport().GetDeviceKeyName(), move, FPage.gbDruckbereich->Side());
    LoadPrintOffsets();
}

void TPrintPage::SetOffsets(const TPrintOffsets &offsets)
{
    SavePrintOffsets(PrinterSupport().GetDeviceKeyName(), offsets, FPage.gbDruckbereich->Side());
    // Read back: backs never set follow a change of the fronts.
    LoadPrintOffsets();
}

void TPrintPage::LoadPrintOffsets()
{
    FCorrection = LoadPrintCorrection(PrinterSupport().GetDeviceKeyName());
    ShowPrintOffsets();
}

void TPrintPage::ShowPrintOffsets()
{
    TCalibrationGroup &calibration = *FPage.gbDruckbereich;
    const TPrintOffsets &offsets = FCorrection.Of(calibration.Side());
    calibration.ShowOffsets(offsets, ::ShowPrintOffsets(offsets));
}

void TPrintPage::seAnzahlChange()
{
    FPage.labAnzahl->setText(CardCountText(FDocument.Bogenlayout(), FPage.seAnzahl->value()));
}

void TPrintPage::cbDruckerChange(int index)
{
    TPrinterSupport &support = PrinterSupport();
    support.SetPrinterName(FPage.gbDrucker->cbDrucker->itemText(index));
    support.CarryOverPaperSettings();
    ShowPrinterInfo();
    LoadPrintOffsets();
}

void TPrintPage::BtnEigenschaftenClick()
{
    try {
        PrinterSupport().ShowProperties(FWindow);
    } catch (const EPrinterError &error) {
        ShowMessageBox(TMsgDlgType::Error, QString::fromStdString(error.what()));
    }
}

void TPrintPage::ShowPrinterInfo()
{
    TPrinterInfo info;
    PrinterSupport().GetPrinterInfo(info);
    FPage.gbDrucker->ShowDescription(info.Location, info.Comment);
    // No dialog whose answers the printer would not use.
    FPage.gbDrucker->BtnEigenschaften->setEnabled(PrinterSupport().HasProperties());
}

void TPrintPage::EnableControls(bool enabled)
{
    const TPrinterGroup &printer = *FPage.gbDrucker;
    const TCalibrationGroup &calibration = *FPage.gbDruckbereich;
    for (QWidget *control : FLocked)
        control->setEnabled(enabled);
    printer.BtnEigenschaften->setEnabled(enabled && PrinterSupport().HasProperties());
    for (QWidget *control : std::initializer_list<QWidget *>{
             printer.cbDrucker, FPage.seAnzahl, calibration.BtnTestseiteDrucken,
             calibration.BtnDruckpositionAnpassen, calibration.BtnDruckPosLeft, calibration.BtnDruckPosUp,
             calibration.BtnDruckPosRight, calibration.BtnDruckPosDown, calibration.BtnDruckPosCenter,
             calibration.rbDruckPosVorderseite, calibration.rbDruckPosRueckseite, calibration.seDruckPosX,
             calibration.seDruckPosY})
        control->setEnabled(enabled);
    for (const char *name : LockedMenuItems)
        if (auto *item = FWindow->findChild<QAction *>(QLatin1String(name)))
            item->setEnabled(enabled);
}

void TPrintPage::SetBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

bool TPrintPage::PageProgress(int page, int count)
{
    if (!FProgress) {
        FProgress = std::make_unique<QProgressDialog>(FWindow);
        FProgress->setWindowModality(Qt::WindowModal);
        FProgress->setMinimumDuration(0);
        FProgress->setRange(0, count);
    }
    if (FProgress->wasCanceled())
        return false;
    FProgress->setLabelText(FormatPrintText(QStringLiteral("ID_DRUCKFORTSCHRITT"), {page, count}));
    FProgress->setValue(page - 1);
    return !FProgress->wasCanceled();
}

void TPrintPage::EndProgress()
{
    FProgress.reset();
}

void TPrintPage::ShowAssistantPicture(int number)
{
    FAssistant.ShowPicture(number);
}
