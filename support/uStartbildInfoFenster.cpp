#include "support/uStartbildInfoFenster.h"

#include "support/uDialogService.h"
#include "support/uFileInfo.h"
#include "support/uProductPictures.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

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

QLabel *PictureLabel(QWidget *parent, const char *pictureName, QSize size)
{
    auto *label = new QLabel(parent);
    label->setFixedSize(size);
    label->setScaledContents(true);
    label->setPixmap(QPixmap::fromImage(LoadProductPicture(pictureName)));
    return label;
}

QFrame *Bevel(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
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
    Image1 = PictureLabel(this, SplashPictureName, SplashPictureSize);
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

    Bevel1 = Bevel(this);
    Image1 = PictureLabel(Bevel1, AboutPictureName, AboutPictureSize);
    Image1->installEventFilter(this);
    auto *picture = new QVBoxLayout(Bevel1);
    picture->setContentsMargins(QMargins());
    picture->addWidget(Image1);

    Bevel2 = Bevel(this);
    Label3 = new QLabel(QStringLiteral("Programmierung:"), Bevel2);
    Label4 = new QLabel(QStringLiteral("Kelmar Softwareentwicklung\nLindenweg 12, 12345 Musterstadt"), Bevel2);
    lblKelmar = new QLabel(WebAddress, Bevel2);
    QFont linkFont = lblKelmar->font();
    linkFont.setUnderline(true);
    lblKelmar->setFont(linkFont);
    lblKelmar->setStyleSheet(QStringLiteral("color: blue"));
    lblKelmar->setCursor(Qt::PointingHandCursor);
    lblKelmar->installEventFilter(this);
    Label1 = new QLabel(QStringLiteral("Version:"), Bevel2);
    Version = new QLabel(info.FileVersion->Text(), Bevel2);
    Version->setStyleSheet(QStringLiteral("color: grey"));
    auto *texts = new QGridLayout(Bevel2);
    texts->addWidget(Label3, 0, 0, Qt::AlignTop);
    texts->addWidget(Label4, 0, 1);
    texts->addWidget(lblKelmar, 1, 1, Qt::AlignLeft);
    texts->addWidget(Label1, 2, 0);
    texts->addWidget(Version, 2, 1);
    texts->setColumnStretch(1, 1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setMinimumSize(77, 27);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(12);
    column->addWidget(Bevel1);
    column->addWidget(Bevel2);
    column->addWidget(OKButton, 0, Qt::AlignHCenter);
    // The window is as large as its picture and texts need, never smaller.
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->activate();
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
