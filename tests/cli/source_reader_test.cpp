#include "cli/source_reader.h"
#include "support/book_parts.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class SourceReader : public testing::Test {
protected:
    void SetUp() override
    {
        // Large files first, so that workers finish later files sooner.
        for (int i = 0; i < 30; ++i) {
            const std::string path = m_dir.Path(std::to_string(i) + ".txt");
            test::WriteFile(path, std::string((30 - i) * 4000, 'a' + i % 26));
            m_paths.push_back(path);
        }
    }

    test::TempDir m_dir;
    std::vector<std::string> m_paths;
    std::atomic<bool> m_cancel {false};
};

TEST_F(SourceReader, HandedOverInOrder)
{
    for (unsigned threads : {1u, 3u}) {
        std::vector<std::string> titles;
        ReadSourcesInOrder(m_paths, threads, 2, m_cancel, [&](SourceRead& read) {
            EXPECT_TRUE(read.opened);
            EXPECT_FALSE(read.failure);
            const std::size_t i = titles.size();
            EXPECT_EQ(read.path, m_paths[i]);
            EXPECT_EQ(read.list.GetCount(), 1u);
            EXPECT_EQ(test::Texts(read.list)[0], std::string((30 - i) * 4000, 'a' + i % 26));
            titles.push_back(read.list.GetCount() ? test::Titles(read.list)[0] : "");
            return true;
        });
        ASSERT_EQ(titles.size(), 30u) << threads;
        for (std::size_t i = 0; i < titles.size(); ++i)
            EXPECT_EQ(titles[i], std::to_string(i));
    }
}

TEST_F(SourceReader, UnopenableFilesAreMarked)
{
    std::filesystem::create_directories(std::filesystem::u8path(m_dir.Path("folder.txt")));
    const std::vector<std::string> paths {m_paths[0], m_dir.Path("folder.txt"), m_dir.Path("none.txt"), m_paths[1]};
    std::vector<bool> opened;
    ReadSourcesInOrder(paths, 2, 4, m_cancel, [&](SourceRead& read) {
        opened.push_back(read.opened);
        return true;
    });
    EXPECT_EQ(opened, (std::vector<bool> {true, false, false, true}));
}

TEST_F(SourceReader, StopsWhenTheCallerSaysSoThrowsOrCancels)
{
    int calls = 0;
    ReadSourcesInOrder(m_paths, 3, 4, m_cancel, [&](SourceRead&) { return ++calls < 4; });
    EXPECT_EQ(calls, 4);

    calls = 0;
    EXPECT_THROW(ReadSourcesInOrder(m_paths, 3, 4, m_cancel,
                                    [&](SourceRead&) -> bool {
                                        if (++calls == 5)
                                            throw std::runtime_error("stop");
                                        return true;
                                    }),
                 std::runtime_error);
    EXPECT_EQ(calls, 5);

    calls = 0;
    ReadSourcesInOrder(m_paths, 3, 4, m_cancel, [&](SourceRead&) {
        if (++calls == 3)
            m_cancel = true;
        return true;
    });
    EXPECT_EQ(calls, 3);
}

} // namespace
