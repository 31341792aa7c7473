#include "support/uStartbildInfoFenster.h"

#include "support/uDialogService.h"
#include "support/uFileInfo.h"
#include "support/uProductPictures.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

class TSystemTickClock : public TTickClock
{
public:
    TSystemTickClock() { FTimer.start(); }
    qint64 Ticks() override { return FTimer.elapsed(); }
    void WaitForEvents(int maxMs) override
    {
        // The timer guarantees a wake-up; other events end the wait sooner.
        QTimer wakeUp;
        wakeUp.setSingleShot(true);
        wakeUp.start(maxMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

private:
    QElapsedTimer FTimer;
};

void CentreOnScreen(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

QLabel *PictureLabel(QWidget *parent, const char *pictureName, QRect bounds)
{
    auto *label = new QLabel(parent);
    label->setGeometry(bounds);
    label->setScaledContents(true);
    label->setPixmap(QPixmap::fromImage(LoadProductPicture(pictureName)));
    return label;
}

QLabel *TextLabel(QWidget *parent, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

QFrame *Bevel(QWidget *parent, QRect bounds)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(bounds);
    return frame;
}

} // namespace

TTickClock &SystemTickClock()
{
    static TSystemTickClock clock;
    return clock;
}

TStartbild::TStartbild(TFileInfo &info)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Startbild"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(SplashPictureSize);
    Image1 = PictureLabel(this, SplashPictureName, rect());
    lbVersion = new QLabel(QString::asprintf("Version %d.%.2d", info.FileVersion->vv, info.FileVersion->rr), this);
    lbVersion->setGeometry(275, 277, 115, 15);
    lbVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbVersion->setAttribute(Qt::WA_TranslucentBackground);
    lbVersion->hide();
    CentreOnScreen(*this);
}

TSplash::TSplash(TTickClock &clock) : FClock(clock) {}

TSplash::~TSplash()
{
    delete FWindow;
}

void TSplash::Show(TFileInfo &info)
{
    // Timed and scripted starts go without the splash and its two seconds.
    if (qEnvironmentVariableIsSet("TESSARO_NO_SPLASH"))
        return;
    FShownAt = FClock.Ticks();
    delete FWindow;
    FWindow = new TStartbild(info);
    FWindow->show();
    FWindow->repaint();
}

void TSplash::Hide(QWidget *mainWindow)
{
    if (mainWindow) {
        mainWindow->show();
        mainWindow->repaint();
    }
    for (qint64 elapsed = FClock.Ticks() - FShownAt; FWindow && elapsed <= MinimumShowMs;
         elapsed = FClock.Ticks() - FShownAt)
        FClock.WaitForEvents(int(MinimumShowMs + 1 - elapsed));
    delete FWindow;
}

namespace {
TSplash &ProgramSplash()
{
    static TSplash splash;
    return splash;
}
} // namespace

void ShowSplash()
{
    ProgramSplash().Show(ProgramFileInfo());
}

void HideSplash(QWidget *mainWindow)
{
    ProgramSplash().Hide(mainWindow);
}

const QString TDlgInfo::WebAddress = QStringLiteral("https://kelmar.example.org/");
const QString TDlgInfo::Credits = QStringLiteral(
    "Tessaro wurde entwickelt von\n\n"
    "Kelmar Softwareentwicklung\n"
    "Lindenweg 12\n"
    "12345 Musterstadt\n\n"
    "https://kelmar.example.org/");

TDlgInfo::TDlgInfo(TFileInfo &info, QWidget *parent)
    : QDialog(parent), FUrlOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("DlgInfo"));
    setWindowTitle(QStringLiteral("Infos"));
    setFixedSize(423, 457);

    Image1 = PictureLabel(this, AboutPictureName, QRect(QPoint(12, 12), AboutPictureSize));
    Image1->installEventFilter(this);
    Bevel1 = Bevel(this, QRect(12, 12, 400, 300));
    Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Bevel2 = Bevel(this, QRect(12, 324, 400, 79));
    Label3 = TextLabel(this, QStringLiteral("Programmierung:"), QPoint(20, 334));
    Label4 = TextLabel(this, QStringLiteral("Kelmar Softwareentwicklung, Lindenweg 12, 12345 Musterstadt"),
                       QPoint(104, 334));
    lblKelmar = TextLabel(this, WebAddress, QPoint(104, 350));
    QFont linkFont = lblKelmar->font();
    linkFont.setUnderline(true);
    lblKelmar->setFont(linkFont);
    lblKelmar->setStyleSheet(QStringLiteral("color: blue"));
    lblKelmar->setCursor(Qt::PointingHandCursor);
    lblKelmar->adjustSize();
    lblKelmar->installEventFilter(this);
    Label1 = TextLabel(this, QStringLiteral("Version:"), QPoint(20, 376));
    Version = TextLabel(this, info.FileVersion->Text(), QPoint(104, 376));
    Version->setStyleSheet(QStringLiteral("color: grey"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(173, 420, 77, 27);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    CentreOnScreen(*this);
}

bool TDlgInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (watched == Image1 && (mouse->modifiers() & Qt::ShiftModifier)) {
            Dialogs().MessageBox(TMsgDlgType::Information, windowTitle(), Credits, mbOK, mbOK);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == lblKelmar) {
        lblKelmarClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TDlgInfo::lblKelmarClick()
{
    if (!FUrlOpener(QUrl(WebAddress)))
        Dialogs().MessageBox(TMsgDlgType::Information, windowTitle(),
                             QStringLiteral("Der Internet-Browser konnte nicht geöffnet werden"), mbOK, mbOK);
}

void ShowAbout()
{
    TDlgInfo dialog(ProgramFileInfo(), QApplication::activeWindow());
    dialog.exec();
}
