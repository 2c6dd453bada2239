#include "app/file_manager_command.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectInFileManagerCommand, QuotesThePathSoCommasAndBlanksStayInIt)
{
    const struct {
        const char* path;
        const char* command;
    } cases[] = {
        {"C:\\books\\abc.jar", "explorer.exe /select,\"C:\\books\\abc.jar\""},
        {"C:\\my books\\红楼 梦,上.jar", "explorer.exe /select,\"C:\\my books\\红楼 梦,上.jar\""},
        {"\\\\server\\share\\a,b.jar", "explorer.exe /select,\"\\\\server\\share\\a,b.jar\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectInFileManagerCommand(c.path), c.command);
}

} // namespace
