#include "app/work_progress.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(WorkProgress, ShareOfTheWholeWorkInPermille)
{
    const struct {
        std::size_t index, count, done, total;
        unsigned permille;
    } cases[] = {
        {0, 1, 0, 0, 0},       // nothing known yet
        {0, 1, 1, 4, 250},
        {0, 1, 5, 4, 1000},    // reports past the end stay at the end
        {1, 4, 1, 2, 375},     // the second of four files, half read
        {3, 4, 1, 1, 1000},
        {0, 0, 1, 1, 0},
    };
    for (const auto& c : cases) {
        CWorkProgress progress;
        progress.ReportWithin("a.txt", c.index, c.count, c.done, c.total);
        EXPECT_EQ(progress.Read().permille, c.permille) << c.index << '/' << c.count << ' ' << c.done << '/' << c.total;
        EXPECT_EQ(progress.Read().step, "a.txt");
    }
}

TEST(WorkProgress, ReportsAfterCancelStopTheWorkerAndLeaveTheLastStep)
{
    CWorkProgress progress;
    progress.Report("一.txt", 1, 2);
    EXPECT_NO_THROW(progress.Check());
    std::thread([&progress] { progress.Cancel(); }).join();
    EXPECT_TRUE(progress.Read().cancelled);
    EXPECT_THROW(progress.Check(), WorkCancelled);
    EXPECT_THROW(progress.Report("二.txt", 2, 2), WorkCancelled);
    EXPECT_EQ(progress.Read().step, "一.txt");
    EXPECT_EQ(progress.Read().permille, 500u);
}

} // namespace
