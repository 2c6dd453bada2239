#include "platform/file.h"
#include "platform/file_exception.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <cerrno>

namespace {

TEST(File, CreateWriteSeekReadAndSetLength)
{
    test::TempDir dir;
    const std::string path = dir.Path("中文 名.bin");
    CFile file;
    file.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
    file.Write("0123456789", 10);
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.Seek(-4, CFile::end), 6u);
    char buf[16] = {};
    EXPECT_EQ(file.Read(buf, 16), 4u);
    EXPECT_EQ(std::string(buf, 4), "6789");
    file.SetLength(3);
    EXPECT_EQ(file.GetPosition(), 3u);
    file.Write("x", 1);
    file.Flush();
    file.Close();
    EXPECT_EQ(test::ReadFile(path), "012x");

    std::uint64_t size = 0;
    ASSERT_TRUE(CFile::GetSize(path, size));
    EXPECT_EQ(size, 4u);
    EXPECT_FALSE(CFile::GetSize(dir.Path("none"), size));

    file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    EXPECT_EQ(file.GetLength(), 4u) << "no-truncate keeps the content";
    file.Close();
    CFile::Rename(path, dir.Path("renamed"));
    EXPECT_EQ(test::ReadFile(dir.Path("renamed")), "012x");
    CFile::Remove(dir.Path("renamed"));
    EXPECT_FALSE(CFile::GetSize(dir.Path("renamed"), size));
}

TEST(File, FailuresCarryCauseAndPath)
{
    test::TempDir dir;
    CFile file;
    try {
        file.Open(dir.Path("missing.txt"), CFile::modeRead);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::fileNotFound);
        EXPECT_EQ(e.GetPath(), dir.Path("missing.txt"));
        EXPECT_NE(e.GetOsError(), 0);
        EXPECT_NE(e.Message().find("missing.txt"), std::string::npos);
    }
    EXPECT_THROW(file.Open(dir.Path("no/such/dir/x"), CFile::modeCreate | CFile::modeWrite), CFileException);
    EXPECT_THROW(CFile::Remove(dir.Path("missing.txt")), CFileException);
    EXPECT_FALSE(file.IsOpen());
}

// Pipes and devices are refused at the open, which never waits for a writer.
TEST(File, OnlyRegularFilesOpen)
{
    test::TempDir dir;
#ifdef _WIN32
    const std::string paths[] = {"NUL", "\\\\.\\NUL"};
#else
    const std::string fifo = dir.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string paths[] = {fifo, "/dev/null"};
#endif
    for (const std::string& path : paths) {
        for (unsigned mode : {CFile::modeRead, CFile::modeReadWrite}) {
            SCOPED_TRACE(path + (mode == CFile::modeRead ? " read" : " read/write"));
            CFile file;
            try {
                file.Open(path, mode | CFile::typeBinary);
                ADD_FAILURE() << "opened";
            } catch (const CFileException& e) {
                EXPECT_EQ(e.GetCause(), CFileException::notRegularFile);
                EXPECT_EQ(e.GetOsError(), 0);
                EXPECT_EQ(e.Message(), "不是普通文件（管道、设备等）：" + path);
            }
            EXPECT_FALSE(file.IsOpen());
        }
    }
}

// The messages of failures another program may cause end with what the user can do.
TEST(FileException, MessageAsksToCloseTheProgramHoldingTheFile)
{
    const std::string hint = "\n请关闭正在使用该文件的程序后再试。";
    const struct {
        CFileException::Cause cause;
        bool replacing;
        std::string message;
    } cases[] = {
        {CFileException::accessDenied, true, "拒绝访问：书.jar" + hint},
        {CFileException::sharingViolation, true, "文件正被其他程序使用：书.jar" + hint},
        {CFileException::sharingViolation, false, "文件正被其他程序使用：书.jar" + hint},
        {CFileException::lockViolation, false, "文件区域已被锁定：书.jar" + hint},
        // A folder that may not be written or listed, a full disk: no program to close.
        {CFileException::accessDenied, false, "拒绝访问：书.jar"},
        {CFileException::diskFull, true, "磁盘已满：书.jar"},
        {CFileException::fileNotFound, true, "找不到文件：书.jar"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(CFileException(c.cause, 0, "书.jar", c.replacing).Message(), c.message);
    }
    // The system's own words stay between the file and the hint.
#ifdef _WIN32
    const long denied = 5;  // ERROR_ACCESS_DENIED
#else
    const long denied = EACCES;
#endif
    const std::string message = CFileException(CFileException::accessDenied, denied, "书.jar", true).Message();
    EXPECT_EQ(message.rfind("拒绝访问：书.jar（", 0), 0u) << message;
    EXPECT_TRUE(message.ends_with("）" + hint)) << message;
}

#ifdef _WIN32
TEST(File, DenyWriteSharingKeepsOtherWritersOut)
{
    test::TempDir dir;
    const std::string path = dir.Path("locked.zip");
    test::WriteFile(path, "data");
    CFile holder;
    holder.Open(path, CFile::modeReadWrite | CFile::shareDenyWrite | CFile::modeNoTruncate);
    CFile other;
    try {
        other.Open(path, CFile::modeWrite);
        FAIL() << "opened for writing while denied";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::sharingViolation);
    }
    other.Open(path, CFile::modeRead | CFile::shareDenyNone);  // readers are welcome
}
#endif

// A file that must be new is never one that was there: not a file, and not a link, whose
// target stays as it was (a link planted at a predictable name is not followed).
TEST(File, CreateNewRefusesWhatIsThereAndFollowsNoLink)
{
    test::TempDir dir;
    const std::string target = dir.Path("target.txt"), existing = dir.Path("existing.tmp");
    test::WriteFile(target, "the user's");
    test::WriteFile(existing, "another's");
    std::vector<std::string> paths {existing};
#ifndef _WIN32
    const std::string link = dir.Path("link.tmp");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    paths.push_back(link);
#endif
    for (const std::string& path : paths) {
        CFile file;
        try {
            file.Open(path, CFile::modeCreateNew | CFile::modeWrite);
            FAIL() << "created over " << path;
        } catch (const CFileException& e) {
            EXPECT_EQ(e.GetCause(), CFileException::fileExists) << path;
        }
    }
    EXPECT_EQ(test::ReadFile(target), "the user's");
    EXPECT_EQ(test::ReadFile(existing), "another's");
    CFile fresh;
    fresh.Open(dir.Path("new.tmp"), CFile::modeCreateNew | CFile::modeWrite);
}

// The lock is the handle's: a second handle, of this process too, is refused until the first
// is closed; the locked file stays readable (the lock lies past its data).
TEST(File, TheLockIsHeldByItsHandleUntilClosed)
{
    test::TempDir dir;
    const std::string path = dir.Path("record.tmp");
    auto holder = std::make_unique<CFile>();
    holder->Open(path, CFile::modeCreateNew | CFile::modeWrite | CFile::shareDelete);
    holder->Write("record", 6);
    ASSERT_EQ(holder->Lock(false), CFile::LockResult::locked);
    EXPECT_TRUE(holder->IsAt(path));
    {
        CFile reader;
        reader.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::shareDelete);
        char text[6];
        EXPECT_EQ(reader.Read(text, 6), 6u);
        CFile other;
        other.Open(path, CFile::modeReadWrite | CFile::shareDenyNone | CFile::shareDelete);
        EXPECT_EQ(other.Lock(false), CFile::LockResult::busy);
    }
    holder.reset();
    CFile other;
    other.Open(path, CFile::modeReadWrite | CFile::shareDenyNone | CFile::shareDelete);
    EXPECT_EQ(other.Lock(false), CFile::LockResult::locked);
    CFile::Remove(path);  // removed while open and locked
#ifndef _WIN32
    EXPECT_FALSE(other.IsAt(path));  // on Windows the name goes with the last handle
#endif
}

} // namespace
