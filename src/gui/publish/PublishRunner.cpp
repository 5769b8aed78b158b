#include "gui/publish/PublishRunner.h"

#include <QMetaObject>

namespace tessaly {

PublishRunner::PublishRunner(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<tessaly::SjisText>("tessaly::SjisText");
    qRegisterMetaType<tessaly::PublishOutcome>("tessaly::PublishOutcome");
}

PublishRunner::~PublishRunner()
{
    stopRequested_ = true;
    Join();
}

void PublishRunner::Join()
{
    if (thread_.joinable()) {
        thread_.join();
    }
}

void PublishRunner::Start(const PublishSetup& setup)
{
    if (running_) {
        return;
    }
    Join();
    running_ = true;
    stopRequested_ = false;
    thread_ = std::thread([this, setup] {
        PublishWatch watch;
        watch.line = [this](std::string_view text) {
            QMetaObject::invokeMethod(
                this, [this, shown = PublishOutputLine(text)] { emit line(shown); }, Qt::QueuedConnection);
        };
        watch.shouldStop = [this] { return stopRequested_.load(); };
        const PublishOutcome outcome = RunPublishCommand(setup.command, setup.root, watch);
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
                running_ = false;
                emit finished(outcome);
            },
            Qt::QueuedConnection);
    });
}

} // namespace tessaly
