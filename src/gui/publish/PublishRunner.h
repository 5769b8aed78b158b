#pragma once

// Runs the owner's publish command on a worker thread; its lines and its
// end come to the dialog's thread as signals.

#include <QObject>
#include <QString>

#include <atomic>
#include <filesystem>
#include <thread>

#include "core/site/PublishCommand.h"

namespace tessaly {

// The command and the root it publishes; an empty command: none is set.
struct PublishSetup {
    Utf8Text command;
    std::filesystem::path root;
};

class PublishRunner final : public QObject {
    Q_OBJECT

public:
    explicit PublishRunner(QObject* parent = nullptr);
    // A command still running is ended and waited for.
    ~PublishRunner() override;

    void Start(const PublishSetup& setup);
    bool Running() const { return running_; }
    void Stop() { stopRequested_ = true; }

signals:
    void line(const tessaly::SjisText& line); // for the run log
    void finished(const tessaly::PublishOutcome& outcome);

private:
    void Join();

    std::atomic<bool> stopRequested_ = false;
    bool running_ = false;
    std::thread thread_;
};

} // namespace tessaly
