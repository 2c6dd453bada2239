#include "sources/natural_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every pair of names compares as their places in the list say.
void ExpectInOrder(const std::vector<std::string>& sorted)
{
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        for (std::size_t j = 0; j < sorted.size(); ++j) {
            SCOPED_TRACE(sorted[i] + " vs " + sorted[j]);
            const int expected = i < j ? -1 : i > j ? 1 : 0;
            EXPECT_EQ(NaturalCompare(sorted[i], sorted[j]), expected);
        }
    }
}

TEST(NaturalCompare, OrdersAsExplorerShowsNames)
{
    ExpectInOrder({
        "1.txt", "2.txt", "02b.txt", "3.txt", "10.txt", "100.txt",
        "a.txt", "A1.txt", "a2.txt", "a10.txt", "B.txt", "b1.txt",
        "ch9.txt", "CH10.txt", "x99999999999999999999999.txt", "x100000000000000000000000.txt",
        "第2章.txt", "第10章.txt",
    });
    // Names that differ only in case or leading zeros still have a fixed order.
    EXPECT_NE(NaturalCompare("a.txt", "A.txt"), 0);
    EXPECT_EQ(NaturalCompare("a.txt", "A.txt"), -NaturalCompare("A.txt", "a.txt"));
    EXPECT_NE(NaturalCompare("01.txt", "1.txt"), 0);
    EXPECT_EQ(NaturalCompare("", ""), 0);
    EXPECT_LT(NaturalCompare("", "a"), 0);
}

// Chapters numbered in Chinese and in full-width digits, as novels' files are named.
TEST(NaturalCompare, NumbersInChineseAndFullWidthDigits)
{
    ExpectInOrder({"第一回.txt", "第二回.txt", "第三回.txt", "第九回.txt", "第十回.txt", "第十一回.txt",
                   "第十九回.txt", "第二十回.txt", "第二十一回.txt", "第九十九回.txt", "第一百回.txt",
                   "第一百零五回.txt", "第一百二十回.txt", "第两千回.txt", "第一万零一回.txt"});
    ExpectInOrder({"第２章.txt", "第９章.txt", "第１０章.txt", "第１１章.txt"});
    ExpectInOrder({"卷一 第一章.txt", "卷一 第二章.txt", "卷二 第一章.txt"});
    ExpectInOrder({"第壹回.txt", "第贰回.txt", "第拾回.txt", "第拾壹回.txt"});
    // The writings mix: 第3章 comes between 第二章 and 第十章.
    ExpectInOrder({"第二章.txt", "第3章.txt", "第４章.txt", "第十章.txt"});
}

} // namespace
