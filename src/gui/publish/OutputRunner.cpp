#include "gui/publish/OutputRunner.h"

#include <exception>

namespace tessaly {

// Writes what the run reports into the runner's progress.
class OutputRunner::Observer final : public OutputObserver {
public:
    explicit Observer(OutputRunner& runner)
        : runner_(runner)
    {
    }

    void StepChanged(OutputStep step) override
    {
        std::lock_guard lock(runner_.mutex_);
        runner_.progress_.step = step;
    }
    void DirectoriesListed(const std::vector<std::string>& directories) override
    {
        auto listed = std::make_shared<const std::vector<std::string>>(directories);
        std::lock_guard lock(runner_.mutex_);
        runner_.progress_.directories = std::move(listed);
    }
    void DirectoryStarted(std::size_t index, const std::string&) override
    {
        std::lock_guard lock(runner_.mutex_);
        runner_.progress_.directory = index;
        runner_.progress_.plan.reset();
        runner_.progress_.states.clear();
        runner_.progress_.row = 0;
    }
    void PagesPlanned(const std::vector<PageRow>& rows) override
    {
        auto plan = std::make_shared<const std::vector<PageRow>>(rows);
        std::lock_guard lock(runner_.mutex_);
        runner_.progress_.plan = std::move(plan);
        runner_.progress_.states.assign(rows.size(), PageState::Pending);
        runner_.progress_.row = 0;
    }
    void PageDone(std::size_t row, PageState state) override
    {
        std::lock_guard lock(runner_.mutex_);
        if (row < runner_.progress_.states.size()) {
            runner_.progress_.states[row] = state;
            runner_.progress_.row = std::min(row + 1, runner_.progress_.states.size() - 1);
        }
    }
    void ProgressChanged(int position, int maximum) override
    {
        std::lock_guard lock(runner_.mutex_);
        runner_.progress_.position = position;
        runner_.progress_.maximum = maximum;
    }
    bool ShouldAbort() override { return runner_.abortRequested_ && runner_.WaitForAnswer(); }

private:
    OutputRunner& runner_;
};

OutputRunner::OutputRunner(QObject* parent)
    : QObject(parent)
{
}

OutputRunner::~OutputRunner()
{
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        abortRequested_ = true;
        answered_.notify_all();
        thread_.join();
    }
}

void OutputRunner::Start(Job job)
{
    if (running_) {
        return;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    {
        std::lock_guard lock(mutex_);
        progress_ = {};
        answer_.reset();
    }
    abortRequested_ = false;
    running_ = true;
    thread_ = std::thread([this, job = std::move(job)] {
        Observer observer(*this);
        OutputResult result;
        try {
            result = job(observer);
        } catch (const std::exception& error) {
            result.status = OutputResult::Status::Failed;
            result.error = Utf8Text(error.what());
        }
        // Handed to the dialog's thread; dropped if the runner is gone.
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)]() mutable { Finish(std::move(result)); }, Qt::QueuedConnection);
    });
}

OutputProgress OutputRunner::Progress() const
{
    std::lock_guard lock(mutex_);
    return progress_;
}

bool OutputRunner::WaitForAnswer()
{
    std::unique_lock lock(mutex_);
    if (stopping_) {
        return true;
    }
    answer_.reset();
    QMetaObject::invokeMethod(this, &OutputRunner::abortQuestion, Qt::QueuedConnection);
    answered_.wait(lock, [this] { return answer_.has_value() || stopping_; });
    return stopping_ || *answer_;
}

void OutputRunner::AnswerAbort(bool stop)
{
    // Cleared here, not by the run, so that a new request made as soon as
    // the answer is given is not lost.
    if (!stop) {
        abortRequested_ = false;
    }
    {
        std::lock_guard lock(mutex_);
        answer_ = stop;
    }
    answered_.notify_all();
}

void OutputRunner::Finish(OutputResult result)
{
    thread_.join();
    running_ = false;
    emit finished(result);
}

} // namespace tessaly
