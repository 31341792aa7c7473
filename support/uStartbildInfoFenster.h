#pragma once

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class TFileInfo;

// Milliseconds and a way to let the application work while waiting, so the
// splash's timing can be tested without sleeping.
class TTickClock
{
public:
    virtual ~TTickClock() = default;
    virtual qint64 Ticks() = 0;
    // Processes window events, waiting at most maxMs for one to arrive.
    virtual void WaitForEvents(int maxMs) = 0;
};
TTickClock &SystemTickClock();

// The splash window shown while the main window is being built.
class TStartbild : public QWidget
{
    Q_OBJECT

public:
    explicit TStartbild(TFileInfo &info);

    QLabel *Image1;
    QLabel *lbVersion; // carries the version, not shown
};

// Keeps the splash on screen for at least MinimumShowMs.
class TSplash
{
public:
    static constexpr int MinimumShowMs = 2000;

    explicit TSplash(TTickClock &clock = SystemTickClock());
    ~TSplash();
    TSplash(const TSplash &) = delete;
    TSplash &operator=(const TSplash &) = delete;

    // Shows nothing while the environment variable TESSARO_NO_SPLASH is set.
    void Show(TFileInfo &info);
    // Shows the main window, which stays usable while the splash waits out
    // its time on top of it; then removes the splash.
    void Hide(QWidget *mainWindow);
    TStartbild *Window() const { return FWindow; }

private:
    TTickClock &FClock;
    QPointer<TStartbild> FWindow;
    qint64 FShownAt = 0;
};

// The program's splash: shown before the main window is created, removed after.
void ShowSplash();
void HideSplash(QWidget *mainWindow);

// The about window.
class TDlgInfo : public QDialog
{
    Q_OBJECT

public:
    using TUrlOpener = std::function<bool(const QUrl &)>;

    explicit TDlgInfo(TFileInfo &info, QWidget *parent = nullptr);

    // Replaces the desktop's "open" for the web address (tests).
    void SetUrlOpener(TUrlOpener opener) { FUrlOpener = std::move(opener); }

    static const QString WebAddress;
    static const QString Credits;

    QLabel *Image1;
    QFrame *Bevel1;
    QFrame *Bevel2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *lblKelmar;
    QLabel *Label1;
    QLabel *Version;
    QPushButton *OKButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void lblKelmarClick();

    TUrlOpener FUrlOpener;
};

void ShowAbout();
