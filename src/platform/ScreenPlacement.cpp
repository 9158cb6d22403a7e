#include "ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {
// Where a window brought back lands, inside the primary screen's available area.
constexpr int ReturnOffset = 10;
} // namespace

QSize ClampToDesktop(const QSize &size, const QList<QRect> &screens)
{
    QRect desktop;
    for (const QRect &screen : screens)
        desktop = desktop.united(screen);
    if (desktop.isEmpty())
        return size;
    return QSize(std::min(size.width(), desktop.width()),
                 std::min(size.height(), desktop.height()));
}

QRect BringOntoScreens(const QRect &bounds, const QList<QRect> &screens, const QRect &primary)
{
    const bool reachable = std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        return screen.intersects(bounds);
    });
    if (reachable || primary.isEmpty())
        return bounds;
    return QRect(primary.topLeft() + QPoint(ReturnOffset, ReturnOffset), bounds.size());
}

QList<QRect> AvailableScreens()
{
    QList<QRect> areas;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    }
    return areas;
}
