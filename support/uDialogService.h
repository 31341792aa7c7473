#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every message box and file dialog of the program goes through this
// service, so tests can answer them from a script instead of blocking on a
// modal window.
enum class TMsgDlgType { Warning, Error, Information, Confirmation };

// Button flags; MessageBox returns the one that was pressed.
enum TMsgDlgButton : int {
    mbYes = 0x1,
    mbNo = 0x2,
    mbOK = 0x4,
    mbCancel = 0x8,
};

struct TFileDialogRequest
{
    QString Title;
    QString InitialDir;
    QString FileName;     // proposed file name (save dialogs)
    QString Filter;       // "Card files (*.tsx);;All files (*)"
    QString DefaultSuffix; // "tsx"
    bool OverwritePrompt = true;
};

class TDialogService
{
public:
    virtual ~TDialogService() = default;

    // Shows a message; returns the button pressed (one of the flags given).
    virtual int MessageBox(TMsgDlgType type, const QString &caption, const QString &text, int buttons,
                           int defaultButton) = 0;
    // The chosen file's path, or empty when the dialog was cancelled.
    virtual QString GetOpenFileName(const TFileDialogRequest &request) = 0;
    virtual QString GetSaveFileName(const TFileDialogRequest &request) = 0;
    // The index of the item the user picks, or -1 when the choice was
    // cancelled. Services without a user cancel it.
    virtual int ChooseItem(const QString &title, const QString &label, const QStringList &items);

    // Parent window for the dialogs; may be null.
    void SetParentWidget(QWidget *parent) { FParent = parent; }
    QWidget *ParentWidget() const { return FParent; }

private:
    QWidget *FParent = nullptr;
};

// The current service: the widget dialogs unless a replacement is installed.
TDialogService &Dialogs();

// Installs a replacement (tests) while it lives; the previous service comes back at its end.
class TDialogServiceOverride
{
public:
    explicit TDialogServiceOverride(TDialogService &service);
    ~TDialogServiceOverride();
    TDialogServiceOverride(const TDialogServiceOverride &) = delete;
    TDialogServiceOverride &operator=(const TDialogServiceOverride &) = delete;

private:
    TDialogService *FPrevious;
};
