#pragma once

#include <QByteArray>
#include <QObject>

class QAction;
class QMenu;
class TMaster;
class TRecentFilesMenu;

// The main window's menu bar: card-data files (with the recently used ones
// and those dropped on the window), the PDF export, the language switch, the
// maker's web pages and PDF documents, the assistant and the about window.
// Menus and items carry their component names as object names, so the
// localizer translates them with the rest of the window.
class TMasterMenu : public QObject
{
public:
    explicit TMasterMenu(TMaster &master);

    // After a language switch: the items offered in one language only.
    void TextsChanged();

    void mnuDateiNeuClick();
    void mnuDateiOeffnenClick();
    void mnuDateiSpeichernClick();
    void mnuDateiSpeichernUnterClick();
    void mnuDateiPdfExportClick();
    void mnuDateiKontaktImportierenClick();
    void mnuDateiAlsVCardSpeichernClick();
    void mnuDateiDruckenClick();
    void mnuDateiDruckereinrichtungClick();
    void mnuDateiBeendenClick();
    // Switches to the language in the item's tag; other senders are ignored.
    void mnuSpracheClick(QObject *sender);
    void mnuPravendoSoftwareClick();
    void mnuWeitereOrnakVisitenkartenClick();
    void mnuOrnakVisitenkartenzubehoerkatalogClick();
    void mnuNewsUpdatesClick();
    // The Help menu opens.
    void mnuHilfeClick();
    void mnuAssistentBeimStartAnzeigenClick();
    void mnuAssistentanzeigenClick();
    void mnuAssistentverbergenClick();
    void mnuHilfeInfoClick();

    // The card went to a file by another way than this menu: the file joins
    // the recent list, the title shows it.
    void CardFileSaved();

    // Loads a card file and shows it; a missing file is reported and leaves
    // the recent list.
    void OpenCardFile(const QString &path);
    // A recent or dropped card file: opened as "Öffnen" does, after the save question.
    void OpenChosenFile(const QString &path);
    // A dropped vCard file: imported as the menu does, after the save question.
    void ImportChosenContact(const QString &path);
    // vCard data dropped from an address book: imported the same way.
    void ImportDroppedContact(const QByteArray &vcards);

    // Asks whether a modified document is to be saved first; false when the
    // command is to stop.
    bool QuerySave();

    // Opens the PDF document with the desktop's viewer; a missing file or a
    // missing viewer is reported.
    void OpenPdfFile(const QString &path);

private:
    void CreateDateiMenu();
    void CreateSpracheMenu();
    void CreateHilfeMenu();
    QMenu *AddMenu(const char *name, const QString &caption);
    template <class Handler>
    QAction *AddItem(QMenu *menu, const char *name, const QString &caption, Handler handler);
    void AddSeparator(QMenu *menu, const char *name);
    void ImportContact(const QString &path);
    void ShowImportedContact();
    // Passes `done` on; a file opened or saved joins the recent list.
    bool Remember(bool done);
    // False, with the not-found message, for a file that is not there; it
    // leaves the recent list.
    bool CardFileExists(const QString &path);
    void LoadCardFile(const QString &path);

    TMaster &FMaster;
    // The item of the language last switched to; none at start.
    QAction *FCheckedLanguage = nullptr;
    TRecentFilesMenu *FRecentFiles = nullptr;
    QAction *FNewsUpdates = nullptr;
    QAction *FAssistentBeimStartAnzeigen = nullptr;
    QAction *FAssistentanzeigen = nullptr;
    QAction *FAssistentverbergen = nullptr;
};
