#include "ui/FMaster.h"

#include "locale/uHMRegistry.h"
#include "locale/uSaveFormPosition.h"
#include "locale/ulocalize.h"
#include "model/uContactFile.h"
#include "model/uDocument.h"
#include "print/uPrinterSupport.h"
#include "render/uDefaultView.h"
#include "render/uMMWindow.h"
#include "support/uResources.h"
#include "ui/FHelpWindow.h"
#include "ui/FMasterMenu.h"
#include "ui/uContactDrop.h"
#include "ui/uPrintPage.h"
#include "ui/uQRCodeGroup.h"
#include "ui/uWerbung.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QString PositionKey = QStringLiteral("Position");
const QString AdvertType = QStringLiteral("JPEGWERBUNG");

// Line limits of the memos, by design.
struct TMemoLimit
{
    QPlainTextEdit *TMasterControls::*Memo;
    int Limit;
};
constexpr TMemoLimit MemoLimits[] = {
    {&TMasterControls::meBeruf, 3},     {&TMasterControls::meAdresse, 6},
    {&TMasterControls::meTele, 10},     {&TMasterControls::meTextfeld1, 5},
    {&TMasterControls::meTextfeld2, 5}, {&TMasterControls::meExtraText, 7},
    {&TMasterControls::meExtraTextRueckseite, 7},
};

} // namespace

TMaster::TMaster(QWidget *parent)
    : QMainWindow(parent)
    , TLocalizerForm(this)
{
    setObjectName(QStringLiteral("Master"));
    CreateControls(this);
    FMenu = new TMasterMenu(*this);
    setMinimumSize(740, 725);
    resize(925, 725);
    Loaded();

    LoadAdvertPictures();
    FFirstActivate = true;
    setWindowTitle(GetText(QStringLiteral("ID_PROGRAMMNAME")));
    LoadFormPosition(this, PositionKey);
    FAssistant = new THelpWindow(this);
    pcMain->setCurrentWidget(tsEigeneDaten);
    FDocument = std::make_unique<TDocument>();
    FDocument->LoadDefault();
    CreateRuntimeControls();
    FillPrinterList();
    FPrintPage = new TPrintPage(*this, *FDocument, *FAssistant, this);
    FMainView = std::make_unique<TMainView>();
    ArrangeLayoutGrid();
    dgLayouts->OnResize = [this] { LayoutGridResize(); };
    Localizer().SelectStartLanguage();
    ConnectControls();
    pcMainChange();
    DocumentToControls();
    edTitel->setFocus();
}

TMaster::~TMaster()
{
    // Nothing may paint or react to an edit while the parts go.
    dgLayouts->OnDrawCell = nullptr;
    dgLayouts->OnSelectCell = nullptr;
    dgLayouts->OnKeyDown = nullptr;
    dgLayouts->OnResize = nullptr;
    FPreview->disconnect(this);
    FUpdating = true;

    delete FAssistant;
    FAssistant = nullptr;
    FMainView.reset();
    FDocument->SaveDefault();
    FDocument.reset();
    SaveFormPosition(this, PositionKey);
}

void TMaster::ConnectControls()
{
    connect(pcMain, &QTabWidget::currentChanged, this, [this] { pcMainChange(); });
    connect(BtnWeiter, &QPushButton::clicked, this, [this] { BtnWeiterClick(); });
    connect(BtnZurueck, &QPushButton::clicked, this, [this] { BtnZurueckClick(); });
    dgLayouts->OnDrawCell = [this](QPainter &painter, int col, int row, const QRect &rect,
                                   TDrawGrid::TCellState state) { dgLayoutsDrawCell(painter, col, row, rect, state); };
    dgLayouts->OnSelectCell = [this](int col, int row) { return dgLayoutsSelectCell(col, row); };
    dgLayouts->OnKeyDown = [this](int &key, Qt::KeyboardModifiers shift) { dgLayoutsKeyDown(key, shift); };

    connect(edTitel, &QLineEdit::textChanged, this, [this] { textchange(); });
    connect(edName, &QLineEdit::textChanged, this, [this] { textchange(); });
    for (const TMemoLimit &limit : MemoLimits) {
        QPlainTextEdit *memo = this->*limit.Memo;
        connect(memo, &QPlainTextEdit::textChanged, this, [this] { textchange(); });
        memo->installEventFilter(this);
    }

    connect(rbStandardkarte, &QRadioButton::toggled, this, [this](bool on) { if (on) rbStandardkarteClick(); });
    connect(rbKlappvisitenkarte, &QRadioButton::toggled, this, [this](bool on) { if (on) rbKlappvisitenkarteClick(); });
    connect(rbEinseitig, &QRadioButton::toggled, this, [this](bool on) { if (on) rbEinseitigClick(); });
    connect(rbBeidseitig, &QRadioButton::toggled, this, [this](bool on) { if (on) rbBeidseitigClick(); });

    connect(BtnFirmenlogo, &QPushButton::clicked, this, [this] { LoadLogo(FDocument->Logo); });
    connect(BtnEntfernen, &QPushButton::clicked, this, [this] { ClearLogo(FDocument->Logo); });
    connect(BtnLogoEinfuegenRueckseite, &QPushButton::clicked, this, [this] { LoadLogo(FDocument->LogoRueckseite); });
    connect(BtnLogoEntfernenRueckseite, &QPushButton::clicked, this, [this] { ClearLogo(FDocument->LogoRueckseite); });

    connect(chLinien, &QCheckBox::toggled, this, [this] { chLinienClick(); });
    connect(cbTextZentrierenRueckseite, &QCheckBox::toggled, this, [this] { cbTextZentrierenRueckseiteClick(); });
    connect(gbQRCode, &TQRCodeGroup::Changed, this, [this] { gbQRCodeChange(); });
    connect(new TContactDrop(*this), &TContactDrop::Dropped, this, [this](const QString &path) { ImportContact(path); });

    for (QLabel *image : {imgWerbungKartentyp, imgWerbung, imgWerbungRueckseite, imgWerbungDrucken})
        image->installEventFilter(this);
    Client->installEventFilter(this);
    FormResize();
}

void TMaster::FillPrinterList()
{
    const QStringList names = TPrinterSupport::PrinterNames();
    cbDrucker->addItems(names);
    cbDrucker->setCurrentIndex(int(names.indexOf(PrinterSupport().GetDeviceName())));
}

void TMaster::OpenCardFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        ShowMessageBox(TMsgDlgType::Error, FormatText(QStringLiteral("ID_FILENOTFOUND"), {path}));
        return;
    }
    if (FDocument->LoadWithMessage(path))
        DocumentToControls();
}

void TMaster::ImportContact(const QString &path)
{
    if (ImportContactFile(*FDocument, path)) {
        DocumentToControls();
        RedrawPreviews();
    }
}

void TMaster::LoadAdvertPictures()
{
    const QByteArray pages = Resources::Load(AdvertType, QString::number(300 + Werbung::AdvertSetNumber()));
    QPixmap picture;
    if (!pages.isEmpty() && picture.loadFromData(pages, "JPEG")) {
        for (QLabel *image : {imgWerbung, imgWerbungKartentyp, imgWerbungDrucken, imgWerbungRueckseite}) {
            image->setPixmap(picture);
            image->show();
        }
    }
    const QByteArray print = Resources::Load(AdvertType, QStringLiteral("401"));
    if (!print.isEmpty() && picture.loadFromData(print, "JPEG")) {
        imgWerbungDrucken->setPixmap(picture);
        imgWerbungDrucken->show();
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
}

void TMaster::TextsChanged()
{
    const bool german = Localizer().LanguageIndex() == 0;
    for (QLabel *image : {imgWerbungKartentyp, imgWerbung, imgWerbungRueckseite, imgWerbungDrucken})
        image->setVisible(german);
    if (FMenu)
        FMenu->TextsChanged();
    if (FPrintPage)
        FPrintPage->TextsChanged();
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

bool TMaster::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Client && event->type() == QEvent::Resize) {
        FormResize();
    } else if (event->type() == QEvent::KeyPress) {
        for (const TMemoLimit &limit : MemoLimits) {
            if (watched == this->*limit.Memo)
                return LimitMemoLines(this->*limit.Memo, static_cast<QKeyEvent *>(event)->key(), limit.Limit);
        }
    } else if (event->type() == QEvent::MouseButtonRelease
               && (watched == imgWerbungKartentyp || watched == imgWerbung || watched == imgWerbungRueckseite
                   || watched == imgWerbungDrucken)) {
        imgWerbungClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMaster::FormActivate()
{
    if (!FFirstActivate)
        return;
    FFirstActivate = false;
    QCoreApplication::postEvent(this, new QEvent(ShowAssistantEvent));
}

void TMaster::WMShowAssistant()
{
    if (!FAssistant->GetDontShowAgain())
        FAssistant->ShowBeside(this);
}

void TMaster::FormResize()
{
    const int width = Client->width();
    const int height = Client->height();
    bvTop->setGeometry(0, 0, width, bvTop->height());
    const int top = bvTop->height() + 8;
    pcMain->setGeometry(8, top, width - 16, height - top - BtnWeiter->height() - 16);
    const int left = (width - BtnZurueck->width() - BtnWeiter->width() - 8) / 2;
    const int buttonTop = height - 8 - BtnWeiter->height();
    BtnZurueck->move(left, buttonTop);
    BtnWeiter->move(left + BtnZurueck->width() + 8, buttonTop);
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
    QWidget *page = pcMain->currentWidget();
    // One preview serves all pages: it fills the room beside the page's panel.
    if (page->layout()->indexOf(panContainerVorschau) < 0) {
        if (QLayout *previous = panContainerVorschau->parentWidget()->layout())
            previous->removeWidget(panContainerVorschau);
        panContainerVorschau->setParent(page);
        static_cast<QBoxLayout *>(page->layout())->addWidget(panContainerVorschau, 1);
        panContainerVorschau->show();
    }

    BtnWeiter->setText(GetText(QStringLiteral("Weiter")) + QStringLiteral(" >>"));
    BtnZurueck->setEnabled(VisibleTabIndex() > 0);

    const bool folding = FDocument->Kartentyp() == TDocument::Klappkarte;
    if (page == tsEigeneDaten) {
        FAssistant->ShowPicture(THelpWindow::PictureEigeneDaten);
        edTitel->setFocus();
        gbExtraText->setVisible(folding);
        imgWerbung->setVisible(gbExtraText->isHidden() && Localizer().LanguageIndex() == 0);
        StackGroupBoxes({gbPersDaten, gbExtraText, gbFirmendaten});
        gbFirmendaten->update();
    } else if (page == tsRueckseite) {
        FAssistant->ShowPicture(THelpWindow::PictureEigeneDaten);
        gbExtraTextRueckseite->setVisible(folding);
        StackGroupBoxes({gbRueckseite, gbExtraTextRueckseite, gbLogoRueckseite});
    } else if (page == tsLayout) {
        FAssistant->ShowPicture(THelpWindow::PictureLayout);
        dgLayouts->setFocus();
    } else if (page == tsVisitenkartentyp) {
        FAssistant->ShowPicture(THelpWindow::PictureKartentyp);
    } else if (page == tsDrucken) {
        FAssistant->ShowPicture(THelpWindow::PictureDrucken);
        FPrintPage->Enter();
        BtnWeiter->setText(GetText(QStringLiteral("Drucken")));
    }
}

void TMaster::StackGroupBoxes(std::initializer_list<QWidget *> boxes)
{
    auto box = boxes.begin();
    // Visibility as set, whether or not the page is shown right now.
    auto shown = [](const QWidget *widget) { return !widget->isHidden(); };
    int position = (*box)->y() + (shown(*box) ? (*box)->height() + 8 : 0);
    for (++box; box != boxes.end(); ++box) {
        if (!shown(*box))
            continue;
        (*box)->move((*box)->x(), position);
        position = (*box)->y() + (*box)->height() + 8;
    }
}
