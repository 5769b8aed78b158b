#include "gui/shell/dlgSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace tessaly {

TSplashWindow::TSplashWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , message_(new QLabel)
    , bar_(new QProgressBar)
{
    setObjectName(QStringLiteral("TSplashWindow"));
    setWindowTitle(QStringLiteral("Tessaly"));
    message_->setAlignment(Qt::AlignCenter);
    bar_->setRange(0, 100);
    bar_->setFixedHeight(24);
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_, 1);
    layout->addWidget(bar_);
}

void TSplashWindow::SetSplashMes(const QString& message)
{
    message_->setText(message + QStringLiteral("\n少々お待ち下さい..."));
    const int width = message_->fontMetrics().boundingRect(QRect(), 0, message_->text()).width() + 32;
    resize(std::max(width, 240), sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    repaint();
}

QString TSplashWindow::SplashMes() const
{
    return message_->text();
}

void TSplashWindow::SetMax(int maximum)
{
    bar_->setMaximum(std::max(maximum, 1));
    bar_->repaint();
}

void TSplashWindow::SetPos(int position)
{
    bar_->setValue(position);
    bar_->repaint();
}

} // namespace tessaly
