#include "ui/FMasterMenu.h"

#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "model/uCardContact.h"
#include "model/uContactFile.h"
#include "model/uDocument.h"
#include "print/uPrinterSupport.h"
#include "support/uStartbildInfoFenster.h"
#include "ui/FHelpWindow.h"
#include "ui/FMaster.h"
#include "ui/uCardFileDrop.h"
#include "ui/uPrintPage.h"
#include "ui/uRecentFilesMenu.h"
#include "ui/uWerbung.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

#include <exception>

namespace {

const QString NewsletterPage = QStringLiteral(
    "https://www.example.org/tessaro/newsletter?utm_source=tessaro&utm_medium=Software&utm_campaign=newsletter");

QString LanguageItemName(int index)
{
    QString code = QString::fromLatin1(LanguageTable[index].Code);
    code[0] = code[0].toUpper();
    return QStringLiteral("mnuSprache") + code;
}

} // namespace

TMasterMenu::TMasterMenu(TMaster &master)
    : QObject(&master)
    , FMaster(master)
{
    FMaster.menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    CreateDateiMenu();
    CreateSpracheMenu();
    CreateHilfeMenu();
    TextsChanged();
    connect(new TCardFileDrop(&FMaster), &TCardFileDrop::Dropped, this, &TMasterMenu::OpenChosenFile);
}

QMenu *TMasterMenu::AddMenu(const char *name, const QString &caption)
{
    QMenuBar *bar = FMaster.menuBar();
    auto *menu = new QMenu(caption, bar);
    menu->setObjectName(QLatin1String(name));
    bar->addMenu(menu);
    return menu;
}

template <class Handler>
QAction *TMasterMenu::AddItem(QMenu *menu, const char *name, const QString &caption, Handler handler)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void TMasterMenu::AddSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

void TMasterMenu::CreateDateiMenu()
{
    QMenu *menu = AddMenu("mnuDatei", QStringLiteral("&Datei"));
    AddItem(menu, "mnuDateiNeu", QStringLiteral("&Neu"), [this] { mnuDateiNeuClick(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    AddItem(menu, "mnuDateiOeffnen", QStringLiteral("Ö&ffnen..."), [this] { mnuDateiOeffnenClick(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FRecentFiles = new TRecentFilesMenu(QStringLiteral("&Zuletzt geöffnet"), menu);
    FRecentFiles->setObjectName(QStringLiteral("mnuDateiZuletzt"));
    menu->addMenu(FRecentFiles);
    connect(FRecentFiles, &TRecentFilesMenu::FileChosen, this, &TMasterMenu::OpenChosenFile);
    AddItem(menu, "mnuDateiSpeichern", QStringLiteral("&Speichern"), [this] { mnuDateiSpeichernClick(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    AddItem(menu, "mnuDateiSpeichernUnter", QStringLiteral("Speichern &unter..."),
            [this] { mnuDateiSpeichernUnterClick(); });
    AddSeparator(menu, "N6");
    AddItem(menu, "mnuDateiKontaktImportieren", QString::fromUtf8("&Kontakt importieren…"),
            [this] { mnuDateiKontaktImportierenClick(); });
    AddItem(menu, "mnuDateiAlsVCardSpeichern", QString::fromUtf8("Als &vCard speichern…"),
            [this] { mnuDateiAlsVCardSpeichernClick(); });
    AddSeparator(menu, "N2");
    AddItem(menu, "mnuDateiPdfExport", QStringLiteral("Als &PDF exportieren…"), [this] { mnuDateiPdfExportClick(); });
    // Printing runs from the wizard's last page; these two stay hidden.
    QAction *print = AddItem(menu, "mnuDateiDrucken", QStringLiteral("&Drucken..."), [this] { mnuDateiDruckenClick(); });
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    print->setVisible(false);
    AddItem(menu, "mnuDateiDruckereinrichtung", QStringLiteral("Drucker&einrichtung..."),
            [this] { mnuDateiDruckereinrichtungClick(); })
        ->setVisible(false);
    AddSeparator(menu, "N1");
    AddItem(menu, "mnuDateiBeenden", QStringLiteral("&Beenden"), [this] { mnuDateiBeendenClick(); })
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
}

void TMasterMenu::CreateSpracheMenu()
{
    QMenu *menu = AddMenu("mnuSprache", QStringLiteral("&Sprache"));
    auto *group = new QActionGroup(menu);
    for (int index = 0; index < LanguageCount; ++index) {
        const QString name = LanguageItemName(index);
        QAction *item = menu->addAction(QString::fromUtf8(LanguageTable[index].MenuCaption));
        item->setObjectName(name);
        item->setData(index);
        item->setCheckable(true);
        item->setActionGroup(group);
        connect(item, &QAction::triggered, this, [this, item] { mnuSpracheClick(item); });
    }

    QMenuBar *bar = FMaster.menuBar();
    auto addLink = [&](const char *name, const QString &caption, void (TMasterMenu::*handler)()) {
        QAction *item = bar->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    // A brochure for some languages only; it stays hidden.
    addLink("mnuPravendoSoftware", QStringLiteral("Pravendo Software"), &TMasterMenu::mnuPravendoSoftwareClick)
        ->setVisible(false);
    addLink("mnuWeitereOrnakVisitenkarten", QStringLiteral("Ornak Visitenkarten"),
            &TMasterMenu::mnuWeitereOrnakVisitenkartenClick)
        ->setToolTip(QStringLiteral("WWW"));
    addLink("mnuOrnakVisitenkartenzubehoerkatalog", QStringLiteral("Visitenkartenzubehör"),
            &TMasterMenu::mnuOrnakVisitenkartenzubehoerkatalogClick);
    FNewsUpdates = addLink("mnuNewsUpdates", QStringLiteral("Aktuelle News und Updates"),
                           &TMasterMenu::mnuNewsUpdatesClick);
}

void TMasterMenu::CreateHilfeMenu()
{
    QMenu *menu = AddMenu("mnuHilfe", QStringLiteral("&Hilfe"));
    connect(menu, &QMenu::aboutToShow, this, &TMasterMenu::mnuHilfeClick);
    FAssistentBeimStartAnzeigen = AddItem(menu, "mnuAssistentBeimStartAnzeigen",
                                          QStringLiteral("Assistent beim Start anzeigen"),
                                          [this] { mnuAssistentBeimStartAnzeigenClick(); });
    FAssistentBeimStartAnzeigen->setCheckable(true);
    AddSeparator(menu, "N3");
    FAssistentanzeigen = AddItem(menu, "mnuAssistentanzeigen", QStringLiteral("Assistent anzeigen"),
                                 [this] { mnuAssistentanzeigenClick(); });
    FAssistentverbergen = AddItem(menu, "mnuAssistentverbergen", QStringLiteral("Assistent verbergen"),
                                  [this] { mnuAssistentverbergenClick(); });
    AddSeparator(menu, "N4");
    // There is no help file; the classic help items stay hidden.
    for (const auto &[name, caption] : {std::pair{"Inhalt1", "&Inhalt"}, std::pair{"Suchen1", "&Suchen..."},
                                        std::pair{"Hilfebenutzen1", "&Hilfe benutzen"}}) {
        QAction *item = menu->addAction(QString::fromUtf8(caption));
        item->setObjectName(QLatin1String(name));
        item->setVisible(false);
    }
    AddSeparator(menu, "N5");
    AddItem(menu, "mnuHilfeInfo", QStringLiteral("In&fo..."), [this] { mnuHilfeInfoClick(); });
}

void TMasterMenu::TextsChanged()
{
    FNewsUpdates->setVisible(Localizer().LanguageIndex() == 0);
}

bool TMasterMenu::QuerySave()
{
    if (!FMaster.Document().Modified())
        return true;
    switch (ShowMessageBox(TMsgDlgType::Confirmation, FMaster.GetText(QStringLiteral("ID_SAVE")),
                           mbYes | mbNo | mbCancel, mbYes)) {
    case mbYes:
        return Remember(FMaster.Document().Save());
    case mbNo:
        return true;
    default:
        return false;
    }
}

bool TMasterMenu::Remember(bool done)
{
    if (done)
        FRecentFiles->Add(FMaster.Document().FileName());
    return done;
}

void TMasterMenu::mnuDateiNeuClick()
{
    if (!QuerySave())
        return;
    FMaster.Document().Clear();
    FMaster.DocumentToControls();
}

void TMasterMenu::mnuDateiOeffnenClick()
{
    if (!QuerySave())
        return;
    if (Remember(FMaster.Document().Open()))
        FMaster.DocumentToControls();
}

void TMasterMenu::OpenChosenFile(const QString &path)
{
    // A vanished file is reported before the question whether to save.
    if (CardFileExists(path) && QuerySave())
        LoadCardFile(path);
}

void TMasterMenu::OpenCardFile(const QString &path)
{
    if (CardFileExists(path))
        LoadCardFile(path);
}

bool TMasterMenu::CardFileExists(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    FRecentFiles->Remove(path);
    ShowMessageBox(TMsgDlgType::Error, FMaster.FormatText(QStringLiteral("ID_FILENOTFOUND"), {path}));
    return false;
}

void TMasterMenu::LoadCardFile(const QString &path)
{
    if (Remember(FMaster.Document().LoadWithMessage(path)))
        FMaster.DocumentToControls();
}

void TMasterMenu::mnuDateiSpeichernClick()
{
    Remember(FMaster.Document().Save());
    FMaster.DocumentToControls();
}

void TMasterMenu::mnuDateiSpeichernUnterClick()
{
    Remember(FMaster.Document().SaveAs());
    FMaster.DocumentToControls();
}

void TMasterMenu::CardFileSaved()
{
    Remember(true);
    FMaster.DocumentToControls();
}

void TMasterMenu::mnuDateiPdfExportClick()
{
    FMaster.FPrintPage->ExportPdf();
}

void TMasterMenu::mnuDateiKontaktImportierenClick()
{
    if (!QuerySave())
        return;
    const QString path = ChooseContactFile(FMaster.Document());
    if (!path.isEmpty())
        ImportContact(path);
}

void TMasterMenu::ImportChosenContact(const QString &path)
{
    if (QuerySave())
        ImportContact(path);
}

void TMasterMenu::ImportDroppedContact(const QByteArray &vcards)
{
    if (QuerySave() && ImportContactData(FMaster.Document(), vcards))
        ShowImportedContact();
}

void TMasterMenu::ImportContact(const QString &path)
{
    if (ImportContactFile(FMaster.Document(), path))
        ShowImportedContact();
}

void TMasterMenu::ShowImportedContact()
{
    FMaster.DocumentToControls();
    FMaster.RedrawPreviews();
}

void TMasterMenu::mnuDateiAlsVCardSpeichernClick()
{
    // A contact without a name is nothing an address book could keep: no empty file.
    if (WriteVCard(ContactOfCard(FMaster.Document())).isEmpty()) {
        ShowMessageBox(TMsgDlgType::Warning, FMaster.GetText(QStringLiteral("ID_VCARDOHNENAME")));
        return;
    }
    ExportContact(FMaster.Document());
}

void TMasterMenu::mnuDateiDruckenClick()
{
    FMaster.PrintCards();
}

void TMasterMenu::mnuDateiDruckereinrichtungClick()
{
    PrinterSupport().ShowProperties(&FMaster);
}

void TMasterMenu::mnuDateiBeendenClick()
{
    FMaster.close();
}

void TMasterMenu::mnuSpracheClick(QObject *sender)
{
    auto *item = qobject_cast<QAction *>(sender);
    if (!item || item->objectName().compare(QLatin1String("mnuSprache"), Qt::CaseInsensitive) == 0)
        return;
    const int index = item->data().toInt();
    try {
        Localizer().SetLanguage(index);
    } catch (const std::exception &error) {
        // The framework has already moved the check mark; it goes back.
        if (FCheckedLanguage)
            FCheckedLanguage->setChecked(true);
        else
            item->setChecked(false);
        ShowMessageBox(TMsgDlgType::Error, QString::fromUtf8(error.what()));
        return;
    }
    FCheckedLanguage = item;
    item->setChecked(true);
    Settings().WriteInteger(QString(), QStringLiteral("Sprache"), index);
    FMaster.DocumentToControls();
}

void TMasterMenu::mnuPravendoSoftwareClick()
{
    QString document = GetSectionText(QStringLiteral("PDF"), QStringLiteral("Software"));
    if (document.isEmpty())
        return;
    // Language texts written on Windows name the subfolder "pdf\".
    document.replace(QLatin1Char('\\'), QLatin1Char('/'));
    OpenPdfFile(QCoreApplication::applicationDirPath() + QLatin1Char('/') + document);
}

void TMasterMenu::mnuWeitereOrnakVisitenkartenClick()
{
    Werbung::ShellOpen(GetSectionText(QStringLiteral("Links"), QStringLiteral("Visitenkarten")));
}

void TMasterMenu::mnuOrnakVisitenkartenzubehoerkatalogClick()
{
    Werbung::ShellOpen(GetSectionText(QStringLiteral("Links"), QStringLiteral("Visitenkartenzubehör")));
}

void TMasterMenu::mnuNewsUpdatesClick()
{
    Werbung::ShellOpen(NewsletterPage);
}

void TMasterMenu::mnuHilfeClick()
{
    const THelpWindow &assistant = FMaster.Assistant();
    FAssistentanzeigen->setEnabled(assistant.isHidden());
    FAssistentverbergen->setEnabled(assistant.isVisible());
    FAssistentBeimStartAnzeigen->setChecked(!assistant.GetDontShowAgain());
}

void TMasterMenu::mnuAssistentBeimStartAnzeigenClick()
{
    // The framework has inverted the check mark already.
    THelpWindow &assistant = FMaster.Assistant();
    if (!FAssistentBeimStartAnzeigen->isChecked()) {
        assistant.SetDontShowAgain(true);
        return;
    }
    assistant.SetDontShowAgain(false);
    assistant.ShowBeside(&FMaster);
}

void TMasterMenu::mnuAssistentanzeigenClick()
{
    if (FMaster.Assistant().isHidden())
        FMaster.Assistant().ShowBeside(&FMaster);
}

void TMasterMenu::mnuAssistentverbergenClick()
{
    if (FMaster.Assistant().isVisible())
        FMaster.Assistant().hide();
}

void TMasterMenu::mnuHilfeInfoClick()
{
    ShowAbout();
}

void TMasterMenu::OpenPdfFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        ShowMessageBox(TMsgDlgType::Error, FMaster.FormatText(QStringLiteral("ID_FILENOTFOUND"), {path}));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowMessageBox(TMsgDlgType::Error, FMaster.GetText(QStringLiteral("ID_NOACROBAT")));
}
