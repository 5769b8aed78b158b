#include "gui/shell/dlgOtherProg.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tessaly {

TForm_OtherProg::TForm_OtherProg(QString program, QStringList arguments, QString watchedFile, QWidget* parent)
    : QDialog(parent)
    , program_(std::move(program))
    , arguments_(std::move(arguments))
    , watchedFile_(std::move(watchedFile))
    , lastSeen_(StampOf(watchedFile_.toStdString()))
{
    setObjectName(QStringLiteral("TForm_OtherProg"));
    setWindowTitle(QStringLiteral("Tessaly"));
    SetHelpTopic(this, help::kTemplateEditor);
    auto* info = new QLabel(QStringLiteral("エディタで編集して保存するたびに、その内容を取り込みます.\n"
                                           "編集が済んだら「編集を終了」を押して下さい."));
    info->setAutoFillBackground(true);
    info->setBackgroundRole(QPalette::ToolTipBase);
    info->setForegroundRole(QPalette::ToolTipText);
    info->setAlignment(Qt::AlignCenter);
    info->setMargin(12);
    auto* front = new QPushButton(QStringLiteral("エディタを最前面に表示"));
    front->setObjectName(QStringLiteral("BtnFront"));
    connect(front, &QPushButton::clicked, this, &TForm_OtherProg::BringToFront);
    auto* done = new QPushButton(QStringLiteral("編集を終了(&E)"));
    done->setObjectName(QStringLiteral("BtnDone"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &TForm_OtherProg::EndEditing);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addWidget(front);
    layout->addWidget(done);
    // Editors save by renaming a new file over the old one, which a file
    // system watcher loses track of; the file's stamp tells every save.
    timer_.setInterval(250);
    connect(&timer_, &QTimer::timeout, this, &TForm_OtherProg::Poll);
}

void TForm_OtherProg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!timer_.isActive()) {
        // Detached: ending the editing here must not end the editor.
        started_ = QProcess::startDetached(program_, arguments_);
        if (!started_) {
            // Not before exec() waits, or it would wait for ever.
            QTimer::singleShot(0, this, [this] { QDialog::reject(); });
            return;
        }
        timer_.start();
    }
}

void TForm_OtherProg::Poll()
{
    const std::optional<FileStamp> now = StampOf(watchedFile_.toStdString());
    if (now && now != lastSeen_) {
        lastSeen_ = now;
        emit fileSaved();
    }
}

void TForm_OtherProg::EndEditing()
{
    timer_.stop();
    Poll(); // a save just before the button counts
    accept();
}

void TForm_OtherProg::reject()
{
    if (started_) {
        EndEditing();
    } else {
        QDialog::reject();
    }
}

void TForm_OtherProg::BringToFront()
{
    // There is no portable way to raise another program's window; wmctrl,
    // where installed, finds it by the program's name.
    const QString wmctrl = QStandardPaths::findExecutable(QStringLiteral("wmctrl"));
    if (!wmctrl.isEmpty()) {
        QProcess::startDetached(wmctrl, {QStringLiteral("-a"), QFileInfo(program_).baseName()});
    }
}

} // namespace tessaly
