#include "locale/uSaveFormPosition.h"

#include "locale/uHMRegistry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

constexpr int NothingStored = -3599;
constexpr int FirstStartWidth = 795;
constexpr int FirstStartHeight = 579;

enum StoredState { StateNormal = 0, StateMinimised = 1, StateMaximised = 2 };

int StoredStateOf(const QWidget *form)
{
    if (form->isMinimized())
        return StateMinimised;
    if (form->isMaximized())
        return StateMaximised;
    return StateNormal;
}

Qt::WindowStates WindowStatesOf(int stored)
{
    switch (stored) {
    case StateMinimised: return Qt::WindowMinimized;
    case StateMaximised: return Qt::WindowMaximized;
    default: return Qt::WindowNoState;
    }
}

QScreen *ScreenOf(const QWidget *form)
{
    QScreen *screen = form->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

void SaveFormPosition(const QWidget *form, const QString &key)
{
    THMRegIniFile &settings = Settings();
    const int state = StoredStateOf(form);
    settings.WriteInteger(key, QStringLiteral("WindowState"), state);
    if (state == StateMaximised)
        return;
    settings.WriteInteger(key, QStringLiteral("Left"), form->x());
    settings.WriteInteger(key, QStringLiteral("Top"), form->y());
    settings.WriteInteger(key, QStringLiteral("Width"), form->width());
    settings.WriteInteger(key, QStringLiteral("Height"), form->height());
}

bool FormPositionStored(const QString &key)
{
    return Settings().ReadInteger(key, QStringLiteral("Left"), NothingStored) != NothingStored;
}

void LoadFormPosition(QWidget *form, const QString &key)
{
    const THMRegIniFile &settings = Settings();
    QScreen *screen = ScreenOf(form);
    if (!screen)
        return;
    if (!FormPositionStored(key)) {
        const QRect work = screen->availableGeometry();
        form->resize(FirstStartWidth, FirstStartHeight);
        form->move(work.left() + (work.width() - FirstStartWidth) / 2,
                   work.top() + (work.height() - FirstStartHeight) / 2);
        return;
    }
    const int state = settings.ReadInteger(key, QStringLiteral("WindowState"), StoredStateOf(form));
    form->setWindowState(WindowStatesOf(state));
    if (state == StateMinimised || state == StateMaximised)
        return;

    int left = settings.ReadInteger(key, QStringLiteral("Left"), form->x());
    int top = settings.ReadInteger(key, QStringLiteral("Top"), form->y());
    int width = settings.ReadInteger(key, QStringLiteral("Width"), form->width());
    int height = settings.ReadInteger(key, QStringLiteral("Height"), form->height());
    // Fitted to the whole screen, not the work area, in this order.
    const QSize screenSize = screen->geometry().size();
    width = qMin(width, screenSize.width());
    height = qMin(height, screenSize.height());
    if (left + width >= screenSize.width())
        left = screenSize.width() - width;
    if (top + height >= screenSize.height())
        top = screenSize.height() - height;
    left = qMax(left, 0);
    top = qMax(top, 0);
    form->resize(width, height);
    form->move(left, top);
}
