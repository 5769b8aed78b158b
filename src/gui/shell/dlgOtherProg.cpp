#include "dlgOtherProg.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tessaly {

TForm_OtherProg::TForm_OtherProg(QString program, QStringList arguments, QWidget* parent)
    : QDialog(parent)
    , program_(std::move(program))
    , arguments_(std::move(arguments))
{
    setObjectName(QStringLiteral("TForm_OtherProg"));
    setWindowTitle(QStringLiteral("Brindle Tessaly"));
    auto* info = new QLabel(QStringLiteral("呼び出したエディタが終了するまで\n処理を行うことはできません."));
    info->setAutoFillBackground(true);
    info->setBackgroundRole(QPalette::ToolTipBase);
    info->setForegroundRole(QPalette::ToolTipText);
    info->setAlignment(Qt::AlignCenter);
    info->setMargin(12);
    auto* front = new QPushButton(QStringLiteral("エディタを最前面に表示"));
    front->setObjectName(QStringLiteral("BtnFront"));
    connect(front, &QPushButton::clicked, this, &TForm_OtherProg::BringToFront);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addWidget(front);
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &TForm_OtherProg::Poll);
}

void TForm_OtherProg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!timer_.isActive()) {
        process_.start(program_, arguments_);
        started_ = process_.waitForStarted(5000);
        timer_.start();
    }
}

void TForm_OtherProg::Poll()
{
    if (started_ && process_.state() != QProcess::NotRunning) {
        return;
    }
    timer_.stop();
    if (started_) {
        accept();
    } else {
        QDialog::reject();
    }
}

void TForm_OtherProg::reject()
{
    if (!timer_.isActive()) {
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
