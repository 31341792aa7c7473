#include "ui/FMaster.h"

#include "locale/uHMRegistry.h"
#include "locale/uSaveFormPosition.h"
#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/uPrinterSupport.h"
#include "render/uDefaultView.h"
#include "render/uMMWindow.h"
#include "support/uResources.h"
#include "ui/FHelpWindow.h"
#include "ui/FMasterMenu.h"
#include "ui/uAccessibleTexts.h"
#include "ui/uCardPreview.h"
#include "ui/uCardPages.h"
#include "ui/uDruckenPage.h"
#include "ui/uBogenwahl.h"
#include "ui/uContactDrop.h"
#include "ui/uLogoDrop.h"
#include "ui/uPrintPage.h"
#include "ui/uSheetPreview.h"
#include "ui/uQRCodeGroup.h"
#include "ui/uWerbung.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>
#include <utility>

namespace {

const QString PositionKey = QStringLiteral("Position");
const QString AdvertType = QStringLiteral("JPEGWERBUNG");
// The window as designed: its size on a screen that has room for it.
constexpr QSize DesignSize(925, 725);

} // namespace

TMaster::TMaster(QWidget *parent, std::chrono::milliseconds cardDataDelay)
    : QMainWindow(parent)
    , TLocalizerForm(this)
{
    setObjectName(QStringLiteral("Master"));
    CreateControls(this);
    FMenu = new TMasterMenu(*this);
    Loaded();

    LoadAdvertPictures();
    FFirstActivate = true;
    setWindowTitle(GetText(QStringLiteral("ID_PROGRAMMNAME")) + QStringLiteral("[*]"));
    if (!FormPositionStored(PositionKey)) {
        const QRect work = screen()->availableGeometry();
        resize(DesignSize.boundedTo(work.size()));
        move(work.center() - rect().center());
    } else {
        LoadFormPosition(this, PositionKey);
    }
    FitOntoScreen();
    FAssistant = new THelpWindow(this);
    pcMain->setCurrentWidget(tsEigeneDaten);
    FDocument = std::make_unique<TDocument>();
    FDocument->LoadDefault();
    FCardDataSaver = new TCardDataSaver(*FDocument, cardDataDelay, Settings(), this);
    connect(FCardDataSaver, &TCardDataSaver::SavedToFile, FMenu, &TMasterMenu::CardFileSaved);
    CreateRuntimeControls();
    FillPrinterList();
    FPrintPage = new TPrintPage(*tsDrucken, {BtnWeiter, BtnZurueck, pcMain}, *FDocument, *FAssistant, this);
    CreateSheetPreview();
    FMainView = std::make_unique<TMainView>();
    ArrangeLayoutGrid();
    connect(tsLayout->dgLayouts, &TDrawGrid::Resized, this, [this] { ArrangeLayoutGrid(); });
    Localizer().SelectStartLanguage();
    ConnectControls();
    pcMainChange();
    DocumentToControls();
    tsEigeneDaten->edTitel->setFocus();
}

TMaster::~TMaster()
{
    // Nothing may paint or react to an edit while the parts go.
    tsLayout->dgLayouts->SetDelegate(nullptr);
    tsLayout->dgLayouts->disconnect(this);
    FPreview->disconnect(this);
    FUpdating = true;
    delete std::exchange(FCardDataSaver, nullptr);

    delete FAssistant;
    FAssistant = nullptr;
    FMainView.reset();
    FDocument->SaveDefault();
    FDocument.reset();
    SaveFormPosition(this, PositionKey);
}

void TMaster::FitOntoScreen()
{
    if (isMaximized() || isMinimized() || !screen())
        return;
    const QRect work = screen()->availableGeometry();
    // The frame is known once the window manager has put it around the window.
    const QSize frame = frameGeometry().size() - size();
    resize(size().boundedTo(work.size() - frame).expandedTo(minimumSize()));
    const QSize outer = size() + frame;
    move(std::clamp(x(), work.left(), std::max(work.left(), work.right() + 1 - outer.width())),
         std::clamp(y(), work.top(), std::max(work.top(), work.bottom() + 1 - outer.height())));
}

void TMaster::ConnectControls()
{
    connect(pcMain, &QTabWidget::currentChanged, this, [this] { pcMainChange(); });
    connect(BtnWeiter, &QPushButton::clicked, this, [this] { BtnWeiterClick(); });
    connect(BtnZurueck, &QPushButton::clicked, this, [this] { BtnZurueckClick(); });
    tsLayout->dgLayouts->SetDelegate(this);

    TEigeneDatenPage &front = *tsEigeneDaten;
    TRueckseitePage &back = *tsRueckseite;
    for (QLineEdit *field : {front.edTitel, front.edName, front.edNachname, front.edFirma})
        connect(field, &QLineEdit::textChanged, this, [this] { textchange(); });
    FMemoLimits = {{front.meBeruf, 3},     {front.meAdresse, 6},   {front.meTele, 10},
                   {back.meTextfeld1, 5},  {back.meTextfeld2, 5},  {front.meExtraText, 7},
                   {back.meExtraTextRueckseite, 7}};
    for (const TMemoLimit &limit : FMemoLimits) {
        connect(limit.Memo, &QPlainTextEdit::textChanged, this, [this] { textchange(); });
        limit.Memo->installEventFilter(this);
    }

    const TKartentypPage &type = *tsVisitenkartentyp;
    connect(type.rbStandardkarte, &QRadioButton::toggled, this, [this](bool on) { if (on) rbStandardkarteClick(); });
    connect(type.rbKlappvisitenkarte, &QRadioButton::toggled, this,
            [this](bool on) { if (on) rbKlappvisitenkarteClick(); });
    connect(type.rbEinseitig, &QRadioButton::toggled, this, [this](bool on) { if (on) rbEinseitigClick(); });
    connect(type.rbBeidseitig, &QRadioButton::toggled, this, [this](bool on) { if (on) rbBeidseitigClick(); });
    connect(type.gbBogen, &TBogenwahl::BogenGewaehlt, this,
            [this](const TBogenlayout &sheet) { BogenGewaehlt(sheet); });

    connect(front.BtnFirmenlogo, &QPushButton::clicked, this, [this] { LoadLogo(FDocument->Logo); });
    connect(front.BtnEntfernen, &QPushButton::clicked, this, [this] { ClearLogo(FDocument->Logo); });
    connect(back.BtnLogoEinfuegenRueckseite, &QPushButton::clicked, this,
            [this] { LoadLogo(FDocument->LogoRueckseite); });
    connect(back.BtnLogoEntfernenRueckseite, &QPushButton::clicked, this,
            [this] { ClearLogo(FDocument->LogoRueckseite); });

    connect(new TLogoDrop(*front.gbFirmendaten), &TLogoDrop::Dropped, this,
            [this](const QString &path) { InsertLogo(FDocument->Logo, path); });
    connect(new TLogoDrop(*back.gbLogoRueckseite), &TLogoDrop::Dropped, this,
            [this](const QString &path) { InsertLogo(FDocument->LogoRueckseite, path); });
    FPreviewLogoDrop = new TLogoDrop(*FPreview);
    connect(FPreviewLogoDrop, &TLogoDrop::Dropped, this, [this](const QString &path) {
        InsertLogo(pcMain->currentWidget() == tsRueckseite ? FDocument->LogoRueckseite : FDocument->Logo, path);
    });

    connect(tsLayout->chLinien, &QCheckBox::toggled, this, [this] { chLinienClick(); });
    connect(tsLayout->cbTextZentrierenRueckseite, &QCheckBox::toggled, this,
            [this] { cbTextZentrierenRueckseiteClick(); });
    connect(tsLayout->gbQRCode, &TQRCodeGroup::Changed, this, [this] { gbQRCodeChange(); });
    auto *contactDrop = new TContactDrop(*this);
    connect(contactDrop, &TContactDrop::Dropped, FMenu, &TMasterMenu::ImportChosenContact);
    connect(contactDrop, &TContactDrop::DataDropped, FMenu, &TMasterMenu::ImportDroppedContact);

    for (QLabel *image : AdvertImages())
        image->installEventFilter(this);
}

QList<QLabel *> TMaster::AdvertImages() const
{
    return {tsVisitenkartentyp->imgWerbungKartentyp, tsEigeneDaten->imgWerbung, tsRueckseite->imgWerbungRueckseite,
            tsDrucken->imgWerbungDrucken};
}

void TMaster::FillPrinterList()
{
    QComboBox *printers = tsDrucken->gbDrucker->cbDrucker;
    const QStringList names = TPrinterSupport::PrinterNames();
    printers->addItems(names);
    printers->setCurrentIndex(int(names.indexOf(PrinterSupport().GetDeviceName())));
}

void TMaster::OpenCardFile(const QString &path)
{
    FMenu->OpenCardFile(path);
}

void TMaster::ImportContactFile(const QString &path)
{
    FMenu->ImportChosenContact(path);
}

void TMaster::LoadAdvertPictures()
{
    const QByteArray pages = Resources::Load(AdvertType, QString::number(300 + Werbung::AdvertSetNumber()));
    QPixmap picture;
    if (!pages.isEmpty() && picture.loadFromData(pages, "JPEG")) {
        for (QLabel *image : AdvertImages()) {
            image->setPixmap(picture);
            image->show();
        }
    }
    const QByteArray print = Resources::Load(AdvertType, QStringLiteral("401"));
    if (!print.isEmpty() && picture.loadFromData(print, "JPEG")) {
        tsDrucken->imgWerbungDrucken->setPixmap(picture);
        tsDrucken->imgWerbungDrucken->show();
    }
}

void TMaster::imgWerbungClick()
{
    const QString key = pcMain->currentWidget() == tsDrucken ? QStringLiteral("Newsletter") : QString();
    Werbung::ShellOpen(Werbung::GetAdvertLink(key));
}

void TMaster::RegisterDefaultTexts()
{
    SetDefaultText(QStringLiteral("ID_PROGRAMMNAME"), QStringLiteral("Tessaro"));
    AddDefaultText(QStringLiteral("Weiter"));
    AddDefaultText(QStringLiteral("Drucken"));
    AddDefaultText(QStringLiteral("Eigene Daten"));
    AddDefaultText(QStringLiteral("Layout"));
    SetDefaultText(QStringLiteral("ID_DRUCK1"), QStringLiteral("Bitte legen Sie %d Visitenkartenbogen in den Drucker ein"));
    SetDefaultText(QStringLiteral("ID_DRUCK2"),
                   QStringLiteral("Bitte legen Sie die Bögen jetzt so ein, daß die Rückseite bedruckt werden kann "
                                  "und klicken dann auf OK."));
    SetDefaultText(QStringLiteral("ID_DRUCKPOS1"), QStringLiteral("keine waagrechte Verschiebung"));
    SetDefaultText(QStringLiteral("ID_DRUCKPOS2"), QStringLiteral("Ausdruck um %.1f mm nach links verschieben"));
    SetDefaultText(QStringLiteral("ID_DRUCKPOS3"), QStringLiteral("Ausdruck um %.1f mm nach rechts verschieben"));
    SetDefaultText(QStringLiteral("ID_DRUCKPOS4"), QStringLiteral("keine senkrechte Verschiebung"));
    SetDefaultText(QStringLiteral("ID_DRUCKPOS5"), QStringLiteral("Ausdruck um %.1f mm nach oben verschieben"));
    SetDefaultText(QStringLiteral("ID_DRUCKPOS6"), QStringLiteral("Ausdruck um %.1f mm nach unten verschieben"));
    SetDefaultText(QStringLiteral("ID_TESTDRUCK1"), QStringLiteral("Bitte legen Sie ein normales Blatt in den Drucker ein"));
    SetDefaultText(QStringLiteral("ID_OHNE"), QStringLiteral("ohne"));
    SetDefaultText(QStringLiteral("ID_SAVE"), QStringLiteral("Sollen die aktuellen Visitenkartendaten gespeichert werden?"));
    SetDefaultText(QStringLiteral("ID_VCARDOHNENAME"),
                   QStringLiteral("Die Karte hat noch keinen Namen. Ohne Namen kann sie nicht als vCard gespeichert werden."));
    SetDefaultText(QStringLiteral("ID_ANZKARTEN"), QStringLiteral("entspricht %d Visitenkarten"));
    SetDefaultText(QStringLiteral("ID_ALLEDATEIEN"), QStringLiteral("Alle Dateien"));
    SetDefaultText(QStringLiteral("ID_LOGOLADEN"), QStringLiteral("Logodatei öffnen"));
    SetDefaultText(QStringLiteral("ID_FILENOTFOUND"), QStringLiteral("Die Datei \"%s\" konnte nicht gefunden werden."));
    SetDefaultText(QStringLiteral("ID_NOACROBAT"),
                   QStringLiteral("Das Anzeigeprogramm für pdf Dateien (Adobe Acrobat Reader) wurde nicht gefunden. "
                                  "Bitte laden Sie es von der Internetseite des Herstellers herunter."));
    SetDefaultText(QStringLiteral("ID_VORDERSEITE"), QStringLiteral("Nur auf Vorderseite"));
    SetDefaultText(QStringLiteral("ID_RÜCKSEITE"), QStringLiteral("Nur auf Rückseite"));
    SetDefaultText(QStringLiteral("ID_BEIDSEITIG"), QStringLiteral("beidseitig"));
    for (const char *key : {"Software", "Visitenkarten", "Zubehör"})
        RegisterSectionDefault(QStringLiteral("PDF"), QString::fromUtf8(key), QString());
    RegisterAccessibleTexts();
}

void TMaster::TextsChanged()
{
    const bool german = Localizer().LanguageIndex() == 0;
    for (QLabel *image : AdvertImages())
        image->setVisible(german);
    if (FMenu)
        FMenu->TextsChanged();
    if (FPrintPage)
        FPrintPage->TextsChanged();
    if (FSheetPreview)
        FSheetPreview->TextsChanged();
    tsVisitenkartentyp->gbBogen->TextsChanged();
    if (FDocument)
        ShowFoldingGroups();
    // The language's caption of the button is "Weiter"; here it prints.
    if (pcMain->currentWidget() == tsDrucken)
        BtnWeiter->setText(GetText(QStringLiteral("Drucken")));
}

void TMaster::ShowFoldingGroups()
{
    // Hidden group boxes take no room in their page's panel.
    const bool folding = FDocument->Kartentyp() == TDocument::Klappkarte;
    tsEigeneDaten->gbExtraText->setVisible(folding);
    tsEigeneDaten->imgWerbung->setVisible(!folding && Localizer().LanguageIndex() == 0);
    tsRueckseite->gbExtraTextRueckseite->setVisible(folding);
}

bool TMaster::event(QEvent *event)
{
    if (event->type() == ShowAssistantEvent) {
        WMShowAssistant();
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TMaster::closeEvent(QCloseEvent *event)
{
    // A card that has a file would lose its edits there; one without comes
    // back from the settings at the next start. The system's request to end
    // waits for no answer.
    const bool ask = !FEndRequested && !FDocument->FileName().isEmpty();
    if ((ask && !FMenu->QuerySave()) || !FCardDataSaver->WriteAtEnd())
        event->ignore();
    else
        QMainWindow::closeEvent(event);
}

void TMaster::CloseAtRequestToEnd()
{
    FEndRequested = true;
    close();
}

bool TMaster::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        for (const TMemoLimit &limit : FMemoLimits) {
            if (watched == limit.Memo)
                return LimitMemoLines(limit.Memo, static_cast<QKeyEvent *>(event)->key(), limit.Limit);
        }
    } else if (event->type() == QEvent::MouseButtonRelease
               && AdvertImages().contains(qobject_cast<QLabel *>(watched))) {
        imgWerbungClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMaster::FormActivate()
{
    if (!FFirstActivate)
        return;
    FFirstActivate = false;
    // Now the window has its frame, which must fit onto the screen too.
    FitOntoScreen();
    QCoreApplication::postEvent(this, new QEvent(ShowAssistantEvent));
}

void TMaster::WMShowAssistant()
{
    if (!FAssistant->GetDontShowAgain())
        FAssistant->ShowBeside(this);
}

int TMaster::VisibleTabIndex() const
{
    int visible = 0;
    for (int i = 0; i < pcMain->currentIndex(); ++i)
        visible += pcMain->isTabVisible(i) ? 1 : 0;
    return visible;
}

void TMaster::BtnWeiterClick()
{
    if (pcMain->currentWidget() == tsDrucken) {
        PrintCards();
        return;
    }
    for (int i = pcMain->currentIndex() + 1; i < pcMain->count(); ++i) {
        if (pcMain->isTabVisible(i)) {
            pcMain->setCurrentIndex(i);
            return;
        }
    }
}

void TMaster::BtnZurueckClick()
{
    if (VisibleTabIndex() <= 0)
        return;
    for (int i = pcMain->currentIndex() - 1; i >= 0; --i) {
        if (pcMain->isTabVisible(i)) {
            pcMain->setCurrentIndex(i);
            return;
        }
    }
}

void TMaster::pcMainChange()
{
    auto *page = static_cast<TWizardPage *>(pcMain->currentWidget());
    // One preview serves all pages but "Drucken", which shows the sheet: it
    // fills the room beside the page's panel.
    if (page != tsDrucken)
        page->TakePreview(panContainerVorschau);

    BtnWeiter->setText(GetText(QStringLiteral("Weiter")) + QStringLiteral(" >>"));
    BtnZurueck->setEnabled(VisibleTabIndex() > 0);

    FPreviewLogoDrop->SetActive(page == tsEigeneDaten || page == tsRueckseite);

    ShowFoldingGroups();
    if (page == tsEigeneDaten) {
        FAssistant->ShowPicture(THelpWindow::PictureEigeneDaten);
        tsEigeneDaten->edTitel->setFocus();
    } else if (page == tsRueckseite) {
        FAssistant->ShowPicture(THelpWindow::PictureEigeneDaten);
    } else if (page == tsLayout) {
        FAssistant->ShowPicture(THelpWindow::PictureLayout);
        tsLayout->dgLayouts->setFocus();
    } else if (page == tsVisitenkartentyp) {
        FAssistant->ShowPicture(THelpWindow::PictureKartentyp);
    } else if (page == tsDrucken) {
        FAssistant->ShowPicture(THelpWindow::PictureDrucken);
        FPrintPage->Enter();
        FSheetPreview->Redraw();
        BtnWeiter->setText(GetText(QStringLiteral("Drucken")));
    }
}
