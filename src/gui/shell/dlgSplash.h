#pragma once

// The progress window of long work: a message, "please wait", and a bar.
// Long work runs without an event loop, so every change repaints at once.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace tessaly {

class TSplashWindow final : public QWidget {
    Q_OBJECT

public:
    explicit TSplashWindow(QWidget* parent = nullptr);

    void SetSplashMes(const QString& message);
    void SetMax(int maximum);
    void SetPos(int position);
    QString SplashMes() const;

private:
    QLabel* message_;
    QProgressBar* bar_;
};

} // namespace tessaly
