// The names of a book's files: the JAD beside a jar, the numbered volumes, their book names.
#include "jar/book_files.h"

#include <gtest/gtest.h>

namespace {

TEST(BookFiles, JadAndVolumePaths)
{
    const struct {
        std::string jar, jad, volume2;
    } cases[] = {
        {"书.jar", "书.jad", "书(2).jar"},
        {"/books/三国 演义,上.jar", "/books/三国 演义,上.jad", "/books/三国 演义,上(2).jar"},
        // Only the file name's extension counts: a dot in a folder's name is no extension.
        {"/a.b/book", "/a.b/book.jad", "/a.b/book(2)"},
        {"a.b.jar", "a.b.jad", "a.b(2).jar"},
        {"out.bin", "out.jad", "out(2).bin"},
        {"/books/.jar", "/books/.jar.jad", "/books/.jar(2)"},
#ifdef _WIN32
        {"C:\\书\\a.b\\三国.JAR", "C:\\书\\a.b\\三国.jad", "C:\\书\\a.b\\三国(2).JAR"},
        {"C:\\a.b\\book", "C:\\a.b\\book.jad", "C:\\a.b\\book(2)"},
#endif
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JadPathFor(c.jar), c.jad) << c.jar;
        EXPECT_EQ(VolumePathFor(c.jar, 2), c.volume2) << c.jar;
        EXPECT_FALSE(HasJadExtension(c.jar)) << c.jar;
        EXPECT_TRUE(HasJadExtension(c.jad)) << c.jad;
    }
    EXPECT_TRUE(HasJadExtension("/books/书.JaD"));
    EXPECT_FALSE(HasJadExtension("/books/书.jads"));
    EXPECT_EQ(VolumePathFor("书.jar", 12), "书(12).jar");
}

TEST(BookFiles, VolumesHaveNamesOfTheirOwn)
{
    EXPECT_EQ(VolumeBookName("三国演义", 1), "三国演义(1)");
    EXPECT_EQ(VolumeBookName("三国,演义", 10), "三国,演义(10)");
}

} // namespace
