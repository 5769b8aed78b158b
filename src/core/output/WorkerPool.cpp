#include "core/output/WorkerPool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace tessaly {

namespace {

// How far the workers may run ahead of the taker, per job: enough to keep
// them busy while it writes, few enough to hold little memory.
constexpr std::size_t kLookAheadPerJob = 16;
constexpr std::size_t kRangesPerJob = 4;

} // namespace

unsigned DefaultJobs()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

WorkerPool::WorkerPool(unsigned jobs)
    : lookAhead_(kLookAheadPerJob * std::max(1u, jobs))
{
    try {
        for (unsigned i = 1; i < jobs; ++i) {
            threads_.emplace_back([this] { Work(); });
        }
    } catch (const std::system_error&) {
        // Fewer threads than asked for still make every text.
    }
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    claimable_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

WorkerPool::Series WorkerPool::Begin(std::size_t count, Make make)
{
    {
        const std::lock_guard lock(mutex_);
        make_ = std::move(make);
        slots_.assign(count, Slot{});
        awaited_ = kNone;
        count_ = count;
        next_ = 0;
        taken_ = 0;
    }
    claimable_.notify_all();
    return Series(*this);
}

WorkerPool::Series::~Series()
{
    workers_.End();
}

std::string WorkerPool::Series::Take(std::size_t index)
{
    return workers_.Take(index);
}

void WorkerPool::ForRanges(std::size_t count, const std::function<void(std::size_t begin, std::size_t end)>& work)
{
    // A few ranges per thread even out their different speeds. Called from
    // inside a series (on a worker, or by its taker), the work is done right
    // here: the threads are taken.
    const std::size_t ranges = std::min<std::size_t>(count, kRangesPerJob * Jobs());
    if (ranges <= 1 || InSeries()) {
        work(0, count);
        return;
    }
    const auto bound = [count, ranges](std::size_t range) { return count * range / ranges; };
    Series series = Begin(ranges, [&](std::size_t range) {
        work(bound(range), bound(range + 1));
        return std::string();
    });
    for (std::size_t range = 0; range < ranges; ++range) {
        series.Take(range);
    }
}

bool WorkerPool::InSeries()
{
    const std::lock_guard lock(mutex_);
    return make_ != nullptr;
}

void WorkerPool::Work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        claimable_.wait(lock, [this] { return stopping_ || CanClaim(); });
        --idle_;
        if (stopping_) {
            return;
        }
        MakeNext(lock);
    }
}

bool WorkerPool::CanClaim() const
{
    return next_ < count_ && next_ < taken_ + lookAhead_;
}

void WorkerPool::MakeNext(std::unique_lock<std::mutex>& lock)
{
    const std::size_t index = next_++;
    ++busy_;
    lock.unlock();
    Slot made;
    try {
        made.text = make_(index);
    } catch (...) {
        made.error = std::current_exception();
    }
    made.done = true;
    lock.lock();
    slots_[index] = std::move(made);
    --busy_;
    if (awaited_ == index || busy_ == 0) {
        made_.notify_all();
    }
}

std::string WorkerPool::Take(std::size_t index)
{
    std::unique_lock lock(mutex_);
    if (index > taken_) {
        taken_ = index;
        // Waking a thread costs more than making a small text: sleeping
        // workers are woken when there is room for a run of texts.
        const std::size_t room = taken_ + lookAhead_ - std::min(next_, taken_ + lookAhead_);
        if (idle_ > 0 && room > 0 && room >= std::min(lookAhead_ / 2, count_ - std::min(next_, count_))) {
            claimable_.notify_all();
        }
    }
    // While the text is not there, the taker makes the next one nobody has
    // claimed yet: its own, or one further on, rather than wait idle.
    while (!slots_[index].done) {
        if (CanClaim()) {
            MakeNext(lock);
        } else {
            awaited_ = index;
            made_.wait(lock);
        }
    }
    awaited_ = kNone;
    Slot slot = std::exchange(slots_[index], Slot{});
    if (slot.error) {
        std::rethrow_exception(slot.error);
    }
    return std::move(slot.text);
}

void WorkerPool::End()
{
    std::unique_lock lock(mutex_);
    count_ = next_;
    made_.wait(lock, [this] { return busy_ == 0; });
    make_ = nullptr;
    slots_.clear();
    count_ = next_ = taken_ = 0;
}

} // namespace tessaly
