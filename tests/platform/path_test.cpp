#include "platform/path.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNameOfPath, LastComponentBySystemSeparators)
{
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"Z:/tmp/a b,c/x.y.txt", "x.y.txt"},
        {"/书/第一回.txt", "第一回.txt"},
        {"plain.txt", "plain.txt"},
        {"folder/", ""},
        {"", ""},
#ifdef _WIN32
        {"C:\\书\\第一回.txt", "第一回.txt"},
        {"C:\\mixed/sep\\name", "name"},
        {"C:\\folder\\", ""},
#else
        {"a\\b.txt", "a\\b.txt"},  // a backslash is part of a name here
        {"dir/mixed\\name", "mixed\\name"},
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileNameOfPath(c.path), c.name) << c.path;
}

TEST(JoinPath, OneSeparatorBetween)
{
    const struct {
        const char* folder;
        const char* joined;
    } cases[] = {
        {"", "书.jar"},
        {"out/", "out/书.jar"},
#ifdef _WIN32
        {"C:\\out", "C:\\out\\书.jar"},
        {"C:\\out\\", "C:\\out\\书.jar"},
        {"C:/out", "C:/out\\书.jar"},
#else
        {"out", "out/书.jar"},
        {"out\\", "out\\/书.jar"},
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.folder, "书.jar"), c.joined) << c.folder;
}

} // namespace
