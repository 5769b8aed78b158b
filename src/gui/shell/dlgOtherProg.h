#pragma once

// Waits for an external program (the text editor) to end: no other work is
// possible meanwhile. OK when the program ran, Cancel when it could not start.

#include <QDialog>
#include <QProcess>
#include <QStringList>
#include <QTimer>

namespace tessaly {

class TForm_OtherProg final : public QDialog {
    Q_OBJECT

public:
    TForm_OtherProg(QString program, QStringList arguments, QWidget* parent = nullptr);

    // Best effort: asks the window manager to raise the program's window.
    void BringToFront();
    // Escape and the window's close button do nothing while the program
    // runs: the dialog ends only with the program.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Poll();

    QString program_;
    QStringList arguments_;
    QProcess process_;
    QTimer timer_;
    bool started_ = false;
};

} // namespace tessaly
