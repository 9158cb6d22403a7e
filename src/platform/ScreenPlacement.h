#pragma once

#include <QList>
#include <QRect>

// Where a window's stored outer bounds may go on the current desktop: a size no larger than
// the desktop can show, and a window that would lie wholly outside every screen brought back
// onto the primary screen. Anything that is already reachable is left unchanged.
QSize ClampToDesktop(const QSize &size, const QList<QRect> &screens);
QRect BringOntoScreens(const QRect &bounds, const QList<QRect> &screens, const QRect &primary);

// The available geometries of the screens now attached, the primary one first.
QList<QRect> AvailableScreens();
