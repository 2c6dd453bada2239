// Work on threads, results in order: produce(i) runs on worker threads for i = 0..count-1
// and consume(i, result) on the calling thread in the order of i, as soon as each result
// is there. Workers run at most `ahead` items beyond the one consumed last, so memory stays
// bounded however long the list is.
//
// consume may return false to stop: nothing more is consumed and the function returns.
// An exception from produce(i) is thrown on the calling thread when item i's turn comes;
// one from consume leaves at once. Either way the workers are stopped and joined first.
// Once *cancel is true nothing more is consumed and the function returns (it is polled, so
// a signal handler may set it).
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <vector>

template <class Result, class Produce, class Consume>
void RunInOrder(std::size_t count, unsigned threads, std::size_t ahead, Produce produce, Consume consume,
                const std::atomic<bool>* cancel = nullptr)
{
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr failure;
    };
    std::vector<Slot> slots(count);
    std::vector<bool> done(count, false);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;      // the next item a worker takes
    std::size_t consumed = 0;  // items consumed so far
    bool stop = false;
    ahead = std::max<std::size_t>(ahead, 1);
    auto cancelled = [cancel] { return cancel && cancel->load(); };

    auto work = [&] {
        for (;;) {
            std::size_t i;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || cancelled() || next >= count || next < consumed + ahead; });
                if (stop || cancelled() || next >= count)
                    return;
                i = next++;
            }
            Slot slot;
            try {
                slot.result.emplace(produce(i));
            } catch (...) {
                slot.failure = std::current_exception();
            }
            {
                std::lock_guard lock(mutex);
                slots[i] = std::move(slot);
                done[i] = true;
            }
            changed.notify_all();
        }
    };

    std::vector<std::thread> workers;
    auto finish = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& w : workers)
            w.join();
    };
    try {
        for (unsigned t = 0; t < std::max(1u, threads) && t < count; ++t)
            workers.emplace_back(work);
        for (std::size_t i = 0; i < count; ++i) {
            Slot slot;
            {
                std::unique_lock lock(mutex);
                while (!done[i] && !cancelled())
                    changed.wait_for(lock, std::chrono::milliseconds(50));
                if (cancelled())
                    break;
                slot = std::move(slots[i]);
                consumed = i + 1;
            }
            changed.notify_all();
            if (slot.failure)
                std::rethrow_exception(slot.failure);
            if constexpr (std::is_same_v<decltype(consume(i, *slot.result)), bool>) {
                if (!consume(i, *slot.result))
                    break;
            } else {
                consume(i, *slot.result);
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}
