// Work on threads with results taken in order.
#include "platform/ordered_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

TEST(RunInOrder, ConsumesEveryResultInOrderAndKeepsWorkersWithinAhead)
{
    for (unsigned threads : {1u, 2u, 4u}) {
        std::atomic<std::size_t> consumed{0};
        std::atomic<std::size_t> furthest{0};
        std::vector<std::size_t> order;
        RunInOrder<std::size_t>(
            300, threads, 3,
            [&](std::size_t i) {
                std::size_t seen = furthest.load();
                while (i > seen && !furthest.compare_exchange_weak(seen, i)) {
                }
                // The item being consumed counts: at most 3 beyond it.
                EXPECT_LE(i, consumed.load() + 3) << "started beyond the window";
                if (i % 7 == 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(300));
                return i * i;
            },
            [&](std::size_t i, std::size_t& square) {
                EXPECT_EQ(square, i * i);
                order.push_back(i);
                consumed = i + 1;
            });
        ASSERT_EQ(order.size(), 300u) << threads;
        for (std::size_t i = 0; i < order.size(); ++i)
            ASSERT_EQ(order[i], i);
    }
}

TEST(RunInOrder, AFailureSurfacesAtItsTurnAndStopsTheWork)
{
    std::vector<std::size_t> consumed;
    std::atomic<std::size_t> produced{0};
    EXPECT_THROW(RunInOrder<int>(
                     1000, 2, 4,
                     [&](std::size_t i) {
                         ++produced;
                         if (i == 5)
                             throw std::runtime_error("item 5");
                         return 0;
                     },
                     [&](std::size_t i, int&) { consumed.push_back(i); }),
                 std::runtime_error);
    EXPECT_EQ(consumed, (std::vector<std::size_t>{0, 1, 2, 3, 4})) << "items before it are consumed";
    EXPECT_LE(produced.load(), 10u) << "nothing started beyond the window of the failed item";

    EXPECT_THROW(RunInOrder<int>(
                     1000, 2, 4, [](std::size_t) { return 0; },
                     [](std::size_t i, int&) {
                         if (i == 3)
                             throw std::logic_error("consumer");
                     }),
                 std::logic_error);
}

TEST(RunInOrder, CancelStopsConsumingAndReturns)
{
    std::atomic<bool> cancel{false};
    std::size_t consumed = 0;
    RunInOrder<int>(
        1000, 2, 4, [](std::size_t) { return 1; },
        [&](std::size_t i, int&) {
            ++consumed;
            if (i == 9)
                cancel = true;
        },
        &cancel);
    EXPECT_EQ(consumed, 10u);
}

} // namespace
