#pragma once

// Worker threads for the output run. They make the texts of a series of
// pages ahead of the one thread that takes them, in order: only the making
// runs on the workers; what is done with each text (writing, logging,
// counting) stays on the taking thread, so it happens exactly as with no
// workers at all. They also share out work whose parts are independent.

#include <condition_variable>
#include <cstdint>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tessaly {

// The number of cores, at least 1.
unsigned DefaultJobs();

class WorkerPool {
public:
    using Make = std::function<std::string(std::size_t index)>;

    // jobs counts the taking thread: 1 starts no worker, and every text is
    // made when it is taken.
    explicit WorkerPool(unsigned jobs);
    unsigned Jobs() const { return static_cast<unsigned>(threads_.size()) + 1; }
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The texts 0 .. count-1 of one series, taken in order. Ending the
    // series (leaving its scope) waits for texts still being made and drops
    // the rest, so make and what it refers to may go right after.
    class Series {
    public:
        ~Series();
        Series(const Series&) = delete;
        Series& operator=(const Series&) = delete;
        // Rethrows what making the text threw.
        std::string Take(std::size_t index);

    private:
        friend class WorkerPool;
        explicit Series(WorkerPool& workers)
            : workers_(workers)
        {
        }
        WorkerPool& workers_;
    };

    // One series at a time.
    Series Begin(std::size_t count, Make make);

    // Calls work on consecutive ranges that together cover [0, count), on
    // all the threads, and returns when every call has; rethrows what the
    // first failing range threw. While a series is open, all of it runs on
    // the calling thread.
    void ForRanges(std::size_t count, const std::function<void(std::size_t begin, std::size_t end)>& work);

private:
    struct Slot {
        bool done = false;
        std::string text;
        std::exception_ptr error;
    };

    void Work();
    bool InSeries();
    bool CanClaim() const;
    // Claims the next index and makes its text; the lock is released while
    // it is made.
    void MakeNext(std::unique_lock<std::mutex>& lock);
    std::string Take(std::size_t index);
    void End();

    std::mutex mutex_;
    std::condition_variable claimable_;
    std::condition_variable made_;
    std::vector<std::thread> threads_;
    std::size_t lookAhead_;
    Make make_;
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
    std::size_t next_ = 0; // the next index to claim
    std::size_t taken_ = 0; // the index the taker waits for
    std::size_t busy_ = 0; // texts being made
    std::size_t idle_ = 0; // workers waiting for something to claim
    static constexpr std::size_t kNone = SIZE_MAX;
    std::size_t awaited_ = kNone; // the index the taker sleeps on
    bool stopping_ = false;
};

} // namespace tessaly
