#pragma once

// Windows on screens of any scale. Window sizes are stored in the screen's
// own pixels, so a size saved under one scale factor means the same part of
// the screen under another; and no window or dialog opens beyond the part
// of the screen that windows may use.

#include <QObject>
#include <QRect>

class QScreen;
class QWidget;

namespace tessaly {

// The rectangle moved, and shrunk where it must be, to lie inside available.
QRect FitInside(QRect wanted, const QRect& available);

// Screen pixels per widget pixel where the widget is shown (1 off-screen).
qreal ScreenPixelRatio(const QWidget* widget);

// Stored window geometry (screen pixels) as the widget geometry of a screen
// with the given pixel ratio, and back.
QRect FromScreenPixels(const QRect& stored, qreal ratio);
QRect ToScreenPixels(const QRect& logical, qreal ratio);

// Keeps every dialog of the application inside its screen when it is shown.
class DialogPlacement final : public QObject {
    Q_OBJECT

public:
    explicit DialogPlacement(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Moves and shrinks a top-level widget into the available part of its screen.
void KeepOnScreen(QWidget* window);

} // namespace tessaly
