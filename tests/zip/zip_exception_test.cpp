#include "platform/system_error.h"
#include "zip/zip_codec.h"
#include "zip/zip_exception.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

// Sets the platform error and errno for one description, then puts them back.
struct ErrorState {
    ErrorState(long platform, int err)
        : m_platform(GetLastPlatformError()), m_errno(errno)
    {
        SetLastPlatformError(platform);
        errno = err;
    }
    ~ErrorState()
    {
        SetLastPlatformError(m_platform);
        errno = m_errno;
    }
    long m_platform;
    int m_errno;
};

struct DescriptionCase {
    int cause;
    bool noSystem;
    int errnoValue;
    const char* expected;
};

class ZipErrorText : public testing::TestWithParam<DescriptionCase> {};

TEST_P(ZipErrorText, DescribesCause)
{
    const DescriptionCase& c = GetParam();
    ErrorState state(0, c.errnoValue);
    EXPECT_EQ(CZipException::GetErrorDescription(c.cause, c.noSystem), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ZipErrorText,
    testing::Values(
        DescriptionCase {101, false, 0, "Damaged or not a zip file."},
        DescriptionCase {118, false, 0,
                         "The central directory was not found in the archive (or you were trying "
                         "to open not the last disk of a segmented archive)."},
        DescriptionCase {110, true, 0,
                         "The filename, the comment or the local or central extra field of the "
                         "file added to the archive is too long."},
        DescriptionCase {119, false, 0,
                         "The Zip64 format has not been enabled for the library, but is required "
                         "to open the archive."},
        DescriptionCase {505, false, 0, "Not enough memory."},
        DescriptionCase {507, false, 0, "Zlib library error (version error)."},
        DescriptionCase {28, false, 0, "No space left on device."},
        // Causes without a text of their own.
        DescriptionCase {501, true, 0, "Unknown error"},
        DescriptionCase {100, true, 0, "Unknown error"},
        DescriptionCase {3, true, 0, "Unknown error"},
        // Without a platform error the system description falls back to errno's text.
        DescriptionCase {100, false, 13, "Permission denied."},
        DescriptionCase {100, false, 0, "Unknown error"},
        DescriptionCase {502, false, 2, "No such file or directory."},
        DescriptionCase {115, false, 13, "Error while removing a file (Permission denied.)."},
        DescriptionCase {116, false, 0, "Error while renaming a file (Unknown error)."},
        // errno holding the engine's own code must not send the description round in circles.
        DescriptionCase {502, false, 502, "Unknown error"},
        DescriptionCase {100, false, 502, "Unknown error"}));

// The system's text for the platform error wins over errno's. Its wording is the system's:
// strerror's natively (pinned here: it lacks the full stop of the engine's own text for
// errno 2), FormatMessage's on Windows, in the user's language. The frame around it is ours.
TEST(ZipErrorText, PlatformErrorWinsOverErrno)
{
    ErrorState state(2, 13);  // ENOENT or ERROR_FILE_NOT_FOUND; errno EACCES
    const std::string head = "Error while removing a file (", tail = ").";
    const std::string removing = CZipException::GetErrorDescription(CZipException::ZE_REMOVE_FAILED);
    ASSERT_GT(removing.size(), head.size() + tail.size()) << removing;
    EXPECT_EQ(removing.substr(0, head.size()), head);
    EXPECT_EQ(removing.substr(removing.size() - tail.size()), tail);
    const std::string framed = removing.substr(head.size(), removing.size() - head.size() - tail.size());
    for (const std::string& text : {CZipException::GetErrorDescription(CZipException::ZE_GENERIC), framed}) {
#ifdef _WIN32
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text, "Permission denied.") << "errno's text";
        EXPECT_NE(text, "Unknown error");
#else
        EXPECT_EQ(text, "No such file or directory");
#endif
    }
}

TEST(ZipErrorText, CauseAndFileAreKept)
{
    CZipException e(CZipException::ZE_DAMAGED, "book.jar");
    EXPECT_EQ(e.GetPath(), "book.jar");
    EXPECT_EQ(e.GetCause(), 101);
}

TEST(ZipErrorText, ExceptionIsCaughtAsTheCommonBase)
{
    try {
        ThrowZipError(CZipException::ZE_NO_DIRECTORY, "a.jar");
    } catch (const CException& e) {
        EXPECT_EQ(e.Message().substr(0, 27), "The central directory was n");
        return;
    }
    FAIL() << "not thrown";
}

TEST(ZlibErrors, MapToCauses)
{
    const std::pair<int, int> table[] = {
        {-6, 507}, {-5, 506}, {-4, 505}, {-3, 504}, {-2, 503}, {-1, 502},
        {1, 500}, {2, 501}, {0, 100}, {-7, 100}, {3, 100},
    };
    for (auto [zlib, cause] : table)
        EXPECT_EQ(CZipException::ZlibErrorToCause(zlib), cause) << "zlib " << zlib;
    EXPECT_TRUE(CZipCodec::IsZlibSuccess(0));
    EXPECT_TRUE(CZipCodec::IsZlibSuccess(2));
    EXPECT_FALSE(CZipCodec::IsZlibSuccess(1));
}

} // namespace
