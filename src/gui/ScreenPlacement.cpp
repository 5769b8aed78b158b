#include "gui/ScreenPlacement.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>

namespace tessaly {

QRect FitInside(QRect wanted, const QRect& available)
{
    wanted.setWidth(std::min(wanted.width(), available.width()));
    wanted.setHeight(std::min(wanted.height(), available.height()));
    wanted.moveLeft(std::clamp(wanted.left(), available.left(), available.right() - wanted.width() + 1));
    wanted.moveTop(std::clamp(wanted.top(), available.top(), available.bottom() - wanted.height() + 1));
    return wanted;
}

namespace {

int Scaled(int value, qreal factor)
{
    return static_cast<int>(std::lround(value * factor));
}

QRect ScaledRect(const QRect& rect, qreal factor)
{
    return {Scaled(rect.left(), factor), Scaled(rect.top(), factor), Scaled(rect.width(), factor),
        Scaled(rect.height(), factor)};
}

} // namespace

qreal ScreenPixelRatio(const QWidget* widget)
{
    const QScreen* screen = widget->screen();
    return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

QRect FromScreenPixels(const QRect& stored, qreal ratio)
{
    return ScaledRect(stored, 1.0 / ratio);
}

QRect ToScreenPixels(const QRect& logical, qreal ratio)
{
    return ScaledRect(logical, ratio);
}

void KeepOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        return;
    }
    // The frame the window manager adds is not known before the first show;
    // the frame of a shown window is.
    const QRect frame = window->frameGeometry();
    const QMargins margins(window->geometry().left() - frame.left(), window->geometry().top() - frame.top(),
        frame.right() - window->geometry().right(), frame.bottom() - window->geometry().bottom());
    const QRect fitted = FitInside(frame, screen->availableGeometry());
    if (fitted != frame) {
        window->setGeometry(fitted.marginsRemoved(margins));
    }
}

DialogPlacement::DialogPlacement(QObject* parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool DialogPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* dialog = qobject_cast<QDialog*>(watched); dialog != nullptr && dialog->isWindow()) {
            KeepOnScreen(dialog);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessaly
