#include "ui/FHelpWindow.h"

#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "support/uResources.h"
#include "support/udebug.h"
#include "ui/uWerbung.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace {
const QString SettingsSection = QStringLiteral("Assistent");
const QString DontShowAgainValue = QStringLiteral("DontShowAgain");
const QString AdvertType = QStringLiteral("JPEGWERBUNG");
// Room between the do-not-show-again box and the picture's edges.
constexpr int CheckBoxRightMargin = 15;
constexpr int CheckBoxBottomMargin = 7;
} // namespace

THelpWindow::THelpWindow(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
    , TLocalizerForm(this)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Assistent"));
    setAttribute(Qt::WA_ShowWithoutActivating);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(ClientWidth, ClientHeight);
    Image1->installEventFilter(this);

    // The box sits over the picture's lower right corner.
    chDontShowAgain = new QCheckBox(this);
    chDontShowAgain->setObjectName(QStringLiteral("chDontShowAgain"));
    chDontShowAgain->setFocusPolicy(Qt::NoFocus);
    auto *corner = new QHBoxLayout;
    corner->setContentsMargins(0, 0, CheckBoxRightMargin, CheckBoxBottomMargin);
    corner->addWidget(chDontShowAgain, 0, Qt::AlignRight | Qt::AlignBottom);
    auto *picture = new QGridLayout(this);
    picture->setContentsMargins(0, 0, 0, 0);
    picture->setSizeConstraint(QLayout::SetFixedSize);
    picture->addWidget(Image1, 0, 0);
    picture->addLayout(corner, 0, 0);
    // Its size counts before it is first shown, for the place beside the main window.
    picture->activate();

    // A window of its own: it does not come up with its owner.
    hide();
    Loaded();
    chDontShowAgain->setChecked(Settings().ReadBool(SettingsSection, DontShowAgainValue, false));
}

THelpWindow::~THelpWindow()
{
    Settings().WriteBool(SettingsSection, DontShowAgainValue, chDontShowAgain->isChecked());
}

void THelpWindow::LoadPicture(const QByteArray &jpeg)
{
    QPixmap picture;
    if (picture.loadFromData(jpeg, "JPEG"))
        Image1->setPixmap(picture);
}

void THelpWindow::ShowPicture(int number)
{
    FPicture = number;
    Image1->setCursor(Qt::ArrowCursor);
    if (number == PictureAdvert) {
        ShowAdvertPicture();
        return;
    }
    const QString type = (QStringLiteral("JPEG") + Localizer().GetLanguageCode()).toUpper();
    const QString name = QString::number(100 + number);
    if (Resources::Exists(type, name)) {
        LoadPicture(Resources::Load(type, name));
    } else {
        DebugChannel().LogFmt("Assistentbild %s %d nicht gefunden", qPrintable(type), number);
        if (FPicture == PictureStart)
            ShowPicture(PictureEigeneDaten);
    }
    chDontShowAgain->setVisible(number != PictureAfterPrint);
}

void THelpWindow::ShowAdvertPicture()
{
    const QString name = QString::number(100 + Werbung::AdvertSetNumber());
    if (!Resources::Exists(AdvertType, name))
        return;
    LoadPicture(Resources::Load(AdvertType, name));
    Image1->setCursor(Qt::PointingHandCursor);
    chDontShowAgain->hide();
}

void THelpWindow::ShowBeside(QWidget *main)
{
    if (isVisible())
        return;
    const QScreen *screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen->availableGeometry();
    const QRect mainFrame = main->frameGeometry();
    const QSize own = frameGeometry().size();
    const int left = std::min(work.x() + work.width() - own.width(),
                              mainFrame.x() + mainFrame.width() - own.width() / 2);
    const int top = std::min(work.y() + work.height() - own.height(),
                             mainFrame.y() + mainFrame.height() - own.height() / 2);
    move(left, top);
    show();
}

bool THelpWindow::GetDontShowAgain() const
{
    return chDontShowAgain->isChecked();
}

void THelpWindow::SetDontShowAgain(bool value)
{
    chDontShowAgain->setChecked(value);
    Settings().WriteBool(SettingsSection, DontShowAgainValue, value);
}

void THelpWindow::TextsChanged()
{
    ShowPicture(FPicture);
}

void THelpWindow::Image1Click()
{
    if (FPicture == PictureAdvert)
        Werbung::ShellOpen(Werbung::GetAdvertLink(QString()));
}

bool THelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        Image1Click();
    return QWidget::eventFilter(watched, event);
}
