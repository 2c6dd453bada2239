// The one build both front ends run: which refusal comes first, and what a build returns.
#include "jar/jar_exception.h"
#include "jar/make_book.h"
#include "jar/book_journal.h"
#include "platform/path.h"
#include "support/book_parts.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kTemplate = test::BuildStoredZip({{"Lumenread.class", "code"}});

struct Request {
    test::TempDir dir;
    BookRequest request;
    Request(const std::string& name, bool withTemplate)
    {
        request.book.bookName = name;
        request.templatePath = dir.Path("RDbook.dat");
        request.jarPath = dir.Path("book.jar");
        if (withTemplate)
            test::WriteFile(request.templatePath, kTemplate);
    }
};

// What the user has not given comes before what is wrong with what was given; nothing is
// written either way.
TEST(MakeBook, RefusesInTheOrderTheUserHearsOf)
{
    const std::vector<std::string> one {"1"};
    const std::vector<std::string> none;
    const struct {
        const char* what;
        std::string name;
        const std::vector<std::string>& parts;
        bool withTemplate;
        std::string message;
    } cases[] = {
        {"no name, no parts, no template", "", none, false, "请填写书名!"},
        {"a blank name is no name", "\u3000 ", none, false, "请填写书名!"},
        {"no parts before a bad name", "a|b", none, false, "没有要生成的内容!"},
        {"no parts before a missing template", "书", none, false, "没有要生成的内容!"},
        {"a bad name before a missing template", "a|b", one, false, "书名“a|b”不能包含下列字符：\\ / : * ? \" < > |"},
        {"then the template", "书", one, false, "找不到电子书模板文件 RDbook.dat，无法生成电子书!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Request r(c.name, c.withTemplate);
        try {
            MakeBook(r.request, test::Parts(c.parts, c.parts));
            ADD_FAILURE() << "no exception";
        } catch (const CException& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_FALSE(std::filesystem::exists(U8Path(r.request.jarPath)));
    }
}

TEST(MakeBook, ReturnsTheBookWrittenAndRefusesToWriteOverASource)
{
    Request r("书", true);
    const std::vector<std::string> texts {"第一回", "第二回"};
    const BookResult book = MakeBook(r.request, test::Parts(texts, texts));
    ASSERT_EQ(book.volumes.size(), 1u);
    EXPECT_EQ(book.volumes[0].jarPath, r.request.jarPath);
    EXPECT_EQ(book.volumes[0].jadPath, r.dir.Path("book.jad"));
    EXPECT_EQ(book.parts, 2u);
    EXPECT_EQ(book.volumes[0].parts, 2u);
    EXPECT_EQ(book.volumes[0].bytes, test::ReadFile(r.request.jarPath).size());

    r.request.sourcePaths = {r.request.jarPath};
    EXPECT_THROW(CheckBookRequest(r.request), CJarException);
    try {
        MakeBook(r.request, test::Parts(texts, texts));
        ADD_FAILURE() << "no exception";
    } catch (const CJarException& e) {
        EXPECT_EQ(e.GetCause(), CJarException::outputIsSource);
        EXPECT_EQ(e.GetPath(), r.request.jarPath);
    }
}

// The size limit reaches the builder: a book over it comes back as volumes, the older
// volume above them as removed.
TEST(MakeBook, ALimitGivesVolumes)
{
    Request r("书", true);
    std::vector<std::string> texts(6);
    unsigned noise = 1;
    for (std::string& text : texts)
        while (text.size() < 600)
            text += static_cast<char>('a' + (noise = noise * 1103515245 + 12345) % 26);
    r.request.maxJarBytes = 3000;
    ASSERT_EQ(MakeBook(r.request, test::Parts(texts, texts)).volumes.size(), 3u) << "the older book";
    texts.resize(4);
    const BookResult book = MakeBook(r.request, test::Parts(texts, texts));
    ASSERT_EQ(book.volumes.size(), 2u);
    EXPECT_EQ(book.volumes[1].jarPath, r.dir.Path("book(2).jar"));
    EXPECT_EQ(book.volumes[0].parts + book.volumes[1].parts, 4u);
    EXPECT_EQ(book.removed, (std::vector<std::string> {r.dir.Path("book(3).jar"), r.dir.Path("book(3).jad")}));

    r.request.maxJarBytes = 10;
    EXPECT_THROW(CheckBookRequest(r.request), CJarException) << "below the template's size";
}

// A progress callback that throws stops the build and leaves nothing behind.
TEST(MakeBook, CancelledFromTheProgressCallback)
{
    Request r("书", true);
    r.request.progress = [](std::size_t done, std::size_t) {
        if (done == 2)
            throw CJarException(CJarException::cancelled);
    };
    const std::vector<std::string> texts {"a", "b"};
    EXPECT_THROW(MakeBook(r.request, test::Parts(texts, texts)), CJarException);
    EXPECT_FALSE(std::filesystem::exists(U8Path(r.request.jarPath)));
}

// The longest file a build writes is known before any text is read: with a size limit the
// first volume's "(1)" counts, in bytes (3 a Chinese character) and in UTF-16 units.
TEST(MakeBook, AFileNameTooLongIsRefusedBeforeTheTextsAreRead)
{
    const struct {
        const char* what;
        std::string name;
        std::uint64_t limit;
        bool refused;
    } cases[] = {
        {"83 characters, one jar: 253 bytes", test::Repeat("书", 83), 0, false},
        {"83 characters, volumes: 256 bytes", test::Repeat("书", 83), 300 * 1024, true},
        {"84 characters, one jar", test::Repeat("书", 84), 0, true},
        {"251 letters, one jar", std::string(251, 'a'), 0, false},
        {"249 letters, volumes", std::string(249, 'a'), 300 * 1024, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Request r(c.name, true);
        r.request.jarPath = r.dir.Path(c.name + ".jar");
        r.request.maxJarBytes = c.limit;
        try {
            CheckBookRequest(r.request);
            EXPECT_FALSE(c.refused);
        } catch (const CJarException& e) {
            EXPECT_TRUE(c.refused) << e.Message();
            EXPECT_EQ(e.GetCause(), CJarException::fileNameTooLong);
            EXPECT_EQ(e.Message().rfind("文件名太长：“" + c.name, 0), 0u) << e.Message();
        }
    }
}

// Another build of the same book runs (its record locked): this one refuses, naming it, and
// touches nothing; a killed build's leftovers are put right and said even when the build
// then fails.
TEST(MakeBook, ARunningBuildOfTheBookIsNotRacedAndRecoveryIsSaidWhateverFollows)
{
    Request r("书", true);
    test::WriteFile(r.request.jarPath, "the older book");
    const std::vector<std::string> texts {"a", "b"};
    {
        CBookJournal running(r.request.jarPath);
        const std::string temp = running.NewTempFile(r.request.jarPath);
        test::WriteFile(temp, "half a book");
        try {
            MakeBook(r.request, test::Parts(texts, texts));
            FAIL() << "built beside a running build";
        } catch (const CJarException& e) {
            EXPECT_EQ(e.GetCause(), CJarException::bookBeingBuilt);
            EXPECT_EQ(e.GetPath(), running.RecordPath());
        }
        EXPECT_EQ(test::ReadFile(temp), "half a book");
        EXPECT_EQ(test::ReadFile(r.request.jarPath), "the older book");
    }
    // The running build was killed (its journal closed, as a kill leaves it); the next build
    // fails, and says what it put right first.
    std::vector<RecoveryLine> said;
    r.request.recovery = [&said](const RecoveryReport& report) { said = DescribeRecovery(report); };
    r.request.progress = [](std::size_t done, std::size_t) {
        if (done == 2)
            throw CJarException(CJarException::cancelled);
    };
    EXPECT_THROW(MakeBook(r.request, test::Parts(texts, texts)), CJarException);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].said, "已删除中断的生成留下的临时文件：");
    EXPECT_EQ(test::ReadFile(r.request.jarPath), "the older book");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(U8Path(r.dir.Path(""))), {}), 2);
}

// What is wrong with the book's files is refused before any text is read: a name Windows
// would change, a read-only volume among those there now.
TEST(MakeBook, FilesThatCannotBeWrittenAreRefusedBeforeTheTexts)
{
    const struct {
        const char* what;
        std::string jar;
        std::uint64_t limit;
        std::string readOnly;  // a file made read-only first
        CJarException::Cause cause;
    } cases[] = {
        {"a name ending in a space", "x.jar ", 0, "", CJarException::outputNameEndsBadly},
        {"a name ending in a dot", "x.", 0, "", CJarException::outputNameEndsBadly},
        {"a read-only second volume", "书.jar", 300 * 1024, "书(2).jar", CJarException::outputReadOnly},
        {"a read-only JAD of the third", "书.jar", 300 * 1024, "书(3).jad", CJarException::outputReadOnly},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Request r("书", true);
        r.request.jarPath = r.dir.Path(c.jar);
        r.request.maxJarBytes = c.limit;
        for (const char* name : {"书(1).jar", "书(1).jad", "书(2).jar", "书(2).jad", "书(3).jar", "书(3).jad"})
            test::WriteFile(r.dir.Path(name), "old");
        if (!c.readOnly.empty())
            std::filesystem::permissions(U8Path(r.dir.Path(c.readOnly)), std::filesystem::perms::owner_read |
                                                                             std::filesystem::perms::group_read);
        try {
            CheckBookRequest(r.request);
            FAIL() << "accepted";
        } catch (const CJarException& e) {
            EXPECT_EQ(e.GetCause(), c.cause);
        }
        if (!c.readOnly.empty())
            std::filesystem::permissions(U8Path(r.dir.Path(c.readOnly)), std::filesystem::perms::owner_all);
    }
}

} // namespace
