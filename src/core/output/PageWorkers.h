#pragma once

// Worker threads that make the texts of a series of pages ahead of the one
// thread that takes them, in order. Only the making runs on the workers;
// what is done with each text (writing, logging, counting) stays on the
// taking thread, so it happens exactly as with no workers at all.

#include <condition_variable>
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

class PageWorkers {
public:
    using Make = std::function<std::string(std::size_t index)>;

    // jobs counts the taking thread: 1 starts no worker, and every text is
    // made when it is taken.
    explicit PageWorkers(unsigned jobs);
    ~PageWorkers();
    PageWorkers(const PageWorkers&) = delete;
    PageWorkers& operator=(const PageWorkers&) = delete;

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
        friend class PageWorkers;
        explicit Series(PageWorkers& workers)
            : workers_(workers)
        {
        }
        PageWorkers& workers_;
    };

    // One series at a time.
    Series Begin(std::size_t count, Make make);

private:
    struct Slot {
        bool done = false;
        std::string text;
        std::exception_ptr error;
    };

    void Work();
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
    bool stopping_ = false;
};

} // namespace tessaly
