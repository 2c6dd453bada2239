// Reading source files, their titles, the folder scan in natural order, and the one path a
// file takes into the list.
#include "sources/source_files.h"

#include "platform/file_exception.h"
#include "sources/source_list.h"
#include "sources/text_sniff.h"
#include "support/book_parts.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path U8Path(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

std::vector<std::string> FileNames(const std::vector<std::string>& paths)
{
    std::vector<std::string> names;
    for (const std::string& p : paths) {
        const std::u8string name = U8Path(p).filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    return names;
}

TEST(TitleFromFileName, NameWithoutExtension)
{
    const struct {
        const char* name;
        const char* title;
    } table[] = {
        {"chapter.txt", "chapter"},
        {"x.y.txt", "x.y"},
        {"README", "README"},
        {".txt", ""},
        {"..txt", "."},
        {"a.", "a"},
        {"第一章.TXT", "第一章"},
        {"notes.md", "notes"},
        {"folder.d/book.txt", "book"},
#ifdef _WIN32
        {"C:\\books\\第二章.txt", "第二章"},
#else
        {"a\\第二章.txt", "a\\第二章"},  // a backslash is part of a name here
#endif
        // Names in GBK bytes (a Linux folder written by a GBK system) are read as GBK.
        {"\xB5\xDA\xC8\xFD.txt", "第三"},
        {"\xB5\xDA\xFF.txt", "第\xEF\xBF\xBD"},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TitleFromFileName(c.name), c.title);
    }
}

TEST(ScanFolder, TextFilesDirectlyInsideInNaturalOrder)
{
    test::TempDir dir;
    for (const char* name : {"10.txt", "2.txt", "1.txt", "a.TXT", "b.txt", "c.text", "notes.md", "txt", ".txt",
                             "第10章.txt", "第2章.txt"})
        test::WriteFile(dir.Path(name), name);
    fs::create_directory(U8Path(dir.Path("d.txt")));                 // a folder named like a file
    fs::create_directory(U8Path(dir.Path("sub")));
    test::WriteFile(dir.Path("sub/inner.txt"), "not scanned");       // only files directly inside

    const std::vector<std::string> paths = ScanFolder(dir.Path(""));
    EXPECT_EQ(FileNames(paths), (std::vector<std::string> {".txt", "1.txt", "2.txt", "10.txt", "a.TXT", "b.txt",
                                                           "第2章.txt", "第10章.txt"}));
    for (const std::string& p : paths)
        EXPECT_EQ(test::ReadFile(p), FileNames({p})[0]);  // full paths that open
}

TEST(ScanFolder, AMissingFolderIsReported)
{
    test::TempDir dir;
    try {
        ScanFolder(dir.Path("missing"));
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::fileNotFound);
        EXPECT_EQ(e.GetPath(), dir.Path("missing"));
    }
}

TEST(ReadSourceFile, WholeFileOrSkipped)
{
    test::TempDir dir;
    const std::string bytes("\xD6\xD0\x00\xCE\xC4", 5);
    test::WriteFile(dir.Path("中文.txt"), bytes);
    std::string read = "old";
    ASSERT_TRUE(ReadSourceFile(dir.Path("中文.txt"), read));
    EXPECT_EQ(read, bytes);

    test::WriteFile(dir.Path("empty.txt"), "");
    ASSERT_TRUE(ReadSourceFile(dir.Path("empty.txt"), read));
    EXPECT_EQ(read, "");

    EXPECT_FALSE(ReadSourceFile(dir.Path("missing.txt"), read));
    fs::create_directory(U8Path(dir.Path("folder.txt")));
    EXPECT_FALSE(ReadSourceFile(dir.Path("folder.txt"), read));
}

#ifndef _WIN32
// The size a file reports is no promise: the file is read to its end. What is not a
// regular file is refused at once, never waited on.
TEST(ReadSourceFile, ToTheEndAndOnlyRegularFiles)
{
    std::string read;
    ASSERT_TRUE(ReadSourceFile("/proc/self/status", read));  // reports a size of 0
    EXPECT_NE(read.find("Pid:"), std::string::npos);

    test::TempDir dir;
    const std::string fifo = dir.Path("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        try {
            ReadSourceFile(path, read);
            ADD_FAILURE() << "read";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.GetCause(), CFileException::notRegularFile);
            EXPECT_EQ(e.Message(), "不是普通文件（管道、设备等）：" + path);
        }
    }
}
#endif

TEST(AddSourceFile, ReadsDetectsAndImports)
{
    CSourceList list;
    AddedSource added;
    ASSERT_TRUE(AddSourceFile(list, test::FixturePath("sources/gbk-chinese.txt"), "第一章", &added));
    EXPECT_EQ(added.title, "第一章");
    EXPECT_EQ(added.encoding, EncodingAnsi);
    EXPECT_EQ(added.parts, 1u);
    ASSERT_TRUE(AddSourceFile(list, test::FixturePath("sources/utf16le-bom.txt"), "第二章", &added));
    EXPECT_EQ(added.encoding, EncodingUtf16Le);
    ASSERT_TRUE(AddSourceFile(list, test::FixturePath("sources/empty.txt"), "空", nullptr));
    EXPECT_EQ(test::Titles(list), (std::vector<std::string> {"第一章", "第二章", "空"}));
    EXPECT_EQ(test::Texts(list)[0], "第一章 开始。\r\n“你好，世界！”他说。\r\n");
    EXPECT_EQ(test::Texts(list)[2], "");

    // Unopenable: skipped, nothing added. An empty title: read, nothing added.
    EXPECT_FALSE(AddSourceFile(list, test::FixturePath("sources/missing.txt"), "x", &added));
    ASSERT_TRUE(AddSourceFile(list, test::FixturePath("sources/ascii-only.txt"), "", &added));
    EXPECT_EQ(added.parts, 0u);
    EXPECT_EQ(list.GetCount(), 3u);
}

// A picture or an archive added by mistake (through "所有文件", a drop, or a folder holding
// one named .txt) is refused by name and adds nothing; the list keeps what it had.
TEST(AddSourceFile, RefusesAFileThatIsNotText)
{
    test::TempDir dir;
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"图.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10", 20) + std::string(200, '\x7F')},
        {"书.zip", std::string("PK\3\4\x14\0\0\0\x08\0", 10) + "deflated"},
        {"第一章.txt", std::string(2048, '\0') + "第一章"},
    };
    CSourceList list;
    ASSERT_TRUE(AddSourceFile(list, test::FixturePath("sources/gbk-chinese.txt"), "正文"));
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        test::WriteFile(dir.Path(f.name), f.bytes);
        AddedSource added;
        added.title = "unchanged";
        try {
            AddSourceFile(list, dir.Path(f.name), "x", &added);
            ADD_FAILURE() << "added";
        } catch (const CNotTextException& e) {
            EXPECT_EQ(e.GetPath(), dir.Path(f.name));
            EXPECT_EQ(e.Message(), "不是文本文件：" + dir.Path(f.name));
        }
        EXPECT_EQ(added.title, "unchanged");
    }
    EXPECT_EQ(test::Titles(list), std::vector<std::string>{"正文"});
}

// A folder of mixed encodings through the scan and the one reading path, as the folder
// command and the command line take it.
TEST(AddSourceFile, FolderOfMixedEncodings)
{
    test::TempDir dir;
    const char* files[][2] = {
        {"10.txt", "sources/utf8-first-c3a9-two-byte.txt"},
        {"2.TXT", "sources/gbk-e4b8ad-then-invalid.txt"},
        {"1.txt", "sources/utf16be-bom.txt"},
        {".txt", "sources/gbk-chinese.txt"},
    };
    for (const auto& f : files)
        test::WriteFile(dir.Path(f[0]), test::ReadFile(test::FixturePath(f[1])));
    CSourceList list;
    std::vector<TextEncoding> encodings;
    for (const std::string& path : ScanFolder(dir.Path(""))) {
        AddedSource added;
        ASSERT_TRUE(AddSourceFile(list, path, TitleFromFileName(path), &added));
        encodings.push_back(added.encoding);
    }
    EXPECT_EQ(test::Titles(list), (std::vector<std::string> {"1", "2", "10"}));  // ".txt" adds nothing
    EXPECT_EQ(encodings, (std::vector<TextEncoding> {EncodingAnsi, EncodingUtf16Be, EncodingAnsi, EncodingUtf8}));
    EXPECT_EQ(test::Texts(list)[1], "涓瑼是GBK文本。\r\n");
    EXPECT_EQ(test::Texts(list)[2], "café 咖啡馆\n");
}

} // namespace

// What kept a source out, as both front ends act on it: only a folder's file that is not a
// text or cannot be opened is left out while the others are read on, and only a failure to
// read ends the reading.
TEST(SourceFault, EachFailureHasOneMeaning)
{
    const struct {
        const char* what;
        bool opened;
        std::exception_ptr failure;
        SourceFault fault;
        bool leftOut, ends;
    } cases[] = {
        {"added", true, nullptr, SourceFault::none, false, false},
        {"not opened", false, nullptr, SourceFault::notOpened, true, false},
        {"not a text", true, std::make_exception_ptr(CNotTextException("a.txt")), SourceFault::notText, true, false},
        {"a read error", true, std::make_exception_ptr(CFileException(CFileException::genericException, 5, "a.txt")),
         SourceFault::notRead, false, true},
        {"memory ran out reading", true, std::make_exception_ptr(CSourceMemoryException("a.txt")), SourceFault::notRead,
         false, true},
        {"too large for a string", true, std::make_exception_ptr(std::length_error("string")), SourceFault::notRead,
         false, true},
        {"not cut into parts", true, std::make_exception_ptr(CImportException()), SourceFault::notImported, false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SourceFault fault = FaultOf(c.opened, c.failure);
        EXPECT_EQ(fault, c.fault);
        EXPECT_EQ(IsLeftOutOfFolder(fault), c.leftOut);
        EXPECT_EQ(EndsTheReading(fault), c.ends);
    }
    // Anything else (the user's cancel) is not a fault of the source: it goes on.
    struct Cancelled {};
    EXPECT_THROW(FaultOf(true, std::make_exception_ptr(Cancelled {})), Cancelled);
}
