#include "gui/linkcheck/LinkCheckRunner.h"

#include <QMetaObject>

namespace tessaly {

LinkCheckRunner::LinkCheckRunner(QObject* parent)
    : QObject(parent)
{
}

LinkCheckRunner::~LinkCheckRunner()
{
    Stop();
}

void LinkCheckRunner::Start(std::vector<LinkToCheck> links, LinkCheckOptions options)
{
    Stop();
    links_ = std::move(links);
    options_ = std::move(options);
    running_ = true;
    thread_ = std::jthread([this](std::stop_token stop) {
        // Results travel to this object's thread as queued calls; calls
        // still queued when the object goes are dropped with it.
        const LinkCheckSummary summary = RunLinkCheck(
            links_, options_,
            [this](const LinkCheckResult& result) {
                QMetaObject::invokeMethod(
                    this, [this, result] { emit resultReady(result); }, Qt::QueuedConnection);
            },
            stop);
        QMetaObject::invokeMethod(
            this,
            [this, summary] {
                running_ = false;
                emit finished(summary);
            },
            Qt::QueuedConnection);
    });
}

void LinkCheckRunner::Stop()
{
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

} // namespace tessaly
