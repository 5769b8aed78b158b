#pragma once

// Makes a window the active one, offscreen and on a real X server alike (a
// bare X server has no window manager to hand out the focus).

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace tessaly::test {

inline bool MakeActive(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    // Generous: a sanitizer build on a busy machine is slow to be served.
    return QTest::qWaitForWindowActive(window, 20000);
}

} // namespace tessaly::test
