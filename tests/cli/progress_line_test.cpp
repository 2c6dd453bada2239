#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(ProgressLine, ShownOnlyAfterTheDelayAndErasedAtTheEnd)
{
    double now = 100.0;
    std::ostringstream out;
    {
        CProgressLine line(out, true, [&now] { return now; });
        now = 100.5;
        line.Update(1, 10);
        EXPECT_EQ(out.str(), "") << "quick work shows nothing";
        now = 101.5;
        line.Update(2, 10);
        EXPECT_EQ(out.str(), "\r正在生成电子书：2/10");
        now = 101.55;
        line.Update(3, 10);
        EXPECT_EQ(out.str(), "\r正在生成电子书：2/10") << "not redrawn within 0.1 s";
        line.Update(10, 10);
        EXPECT_EQ(out.str(), "\r正在生成电子书：2/10\r正在生成电子书：10/10") << "the last count is always drawn";
        out.str("");
    }
    const std::string width(std::string("正在生成电子书：10/10").size(), ' ');
    EXPECT_EQ(out.str(), "\r" + width + "\r") << "erased when it ends";
}

TEST(ProgressLine, NothingWhenNotATerminalOrNeverShown)
{
    double now = 0;
    std::ostringstream out;
    {
        CProgressLine line(out, false, [&now] { return now; });
        now = 5;
        line.Update(1, 2);
        line.Finish();
    }
    {
        CProgressLine quick(out, true, [&now] { return now; });
        quick.Update(1, 1);
    }
    EXPECT_EQ(out.str(), "");
}

} // namespace
