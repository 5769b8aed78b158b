#pragma once

// Runs the output on a worker thread so that its dialog stays responsive.
// What the run reports is kept here for the dialog's thread to look at on
// its own timer: a run of thousands of pages then costs the window one look
// per tick instead of a signal per page. When the user has asked to abort,
// the run waits at its next check until the dialog's thread has asked the
// user and answered.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/output/OutputRun.h"

namespace tessaly {

// What the run has reported so far.
struct OutputProgress {
    OutputStep step = OutputStep::Waiting;
    // The directories in tree order, once listed.
    std::shared_ptr<const std::vector<std::string>> directories;
    std::optional<std::size_t> directory; // the one being processed
    // Its page plan; a new plan is a new object.
    std::shared_ptr<const std::vector<PageRow>> plan;
    std::vector<PageState> states; // per row of the plan
    std::size_t row = 0; // the row being written
    int position = 0;
    int maximum = 0;
};

class OutputRunner final : public QObject {
    Q_OBJECT

public:
    using Job = std::function<OutputResult(OutputObserver&)>;

    explicit OutputRunner(QObject* parent = nullptr);
    // A run still going is stopped at its next check and waited for.
    ~OutputRunner() override;

    void Start(Job job);
    bool Running() const { return running_; }
    OutputProgress Progress() const;

    // The run asks abortQuestion at its next check.
    void RequestAbort() { abortRequested_ = true; }
    // The answer to abortQuestion: true stops the run, false goes on where
    // it stood.
    void AnswerAbort(bool stop);

signals:
    void abortQuestion();
    void finished(const tessaly::OutputResult& result);

private:
    class Observer;

    // Called on the worker thread.
    bool WaitForAnswer();
    void Finish(OutputResult result);

    mutable std::mutex mutex_;
    std::condition_variable answered_;
    OutputProgress progress_;
    std::atomic<bool> abortRequested_ = false;
    std::optional<bool> answer_;
    bool stopping_ = false;
    bool running_ = false;
    std::thread thread_;
};

} // namespace tessaly
