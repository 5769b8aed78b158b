#pragma once

// Runs the link check on a thread of its own, so that the window stays
// responsive, and hands each result to the user-interface thread.

#include <QObject>

#include <thread>
#include <vector>

#include "core/linkcheck/LinkChecker.h"

namespace tessaly {

class LinkCheckRunner final : public QObject {
    Q_OBJECT

public:
    explicit LinkCheckRunner(QObject* parent = nullptr);
    // Stops a run and waits for its thread, which ends promptly.
    ~LinkCheckRunner() override;

    void Start(std::vector<LinkToCheck> links, LinkCheckOptions options);
    void Stop();
    bool Running() const { return running_; }

signals:
    void resultReady(const tessaly::LinkCheckResult& result);
    void finished(const tessaly::LinkCheckSummary& summary);

private:
    std::vector<LinkToCheck> links_;
    LinkCheckOptions options_;
    std::jthread thread_;
    bool running_ = false;
};

} // namespace tessaly
