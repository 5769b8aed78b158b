#pragma once

// Waits while a file is edited in an external program (the text editor).
// Many editors hand the file to a running instance and return at once, and
// a launcher such as xdg-open always does, so the program's end says
// nothing: the file is watched instead, each save is announced, and the
// user ends the editing with "編集を終了". Rejected when the program could
// not be started.

#include <QDialog>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <optional>

#include "core/util/FileStamp.h"

namespace tessaly {

class TForm_OtherProg final : public QDialog {
    Q_OBJECT

public:
    TForm_OtherProg(QString program, QStringList arguments, QString watchedFile, QWidget* parent = nullptr);

    const QString& WatchedFile() const { return watchedFile_; }
    // Best effort: asks the window manager to raise the program's window.
    void BringToFront();
    // Escape and the window's close button end the editing as the button does.
    void reject() override;

signals:
    // The watched file was saved (again).
    void fileSaved();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Poll();
    void EndEditing();

    QString program_;
    QStringList arguments_;
    QString watchedFile_;
    std::optional<FileStamp> lastSeen_;
    QTimer timer_;
    bool started_ = false;
};

} // namespace tessaly
