#include "jar/book_files.h"
#include "jar/jar_builder.h"
#include "jar/template_check.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "jar/make_book.h"
#include "platform/file_exception.h"
#include "platform/path.h"
#include "platform/system_error.h"
#include "support/book_parts.h"
#include "support/test_support.h"
#include "zip/zip_exception.h"
#include "zip/zip_memory_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <set>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path U8(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

// Names in a folder, with the first bytes of each file, so a changed book shows.
std::set<std::string> Listing(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(U8(folder))) {
        const std::u8string name = entry.path().filename().u8string();
        const std::u8string full = entry.path().u8string();
        std::string line(name.begin(), name.end());
        if (entry.is_regular_file())
            line += " = " + test::ReadFile(std::string(full.begin(), full.end())).substr(0, 16);
        names.insert(line);
    }
    return names;
}

const std::string kTemplate = test::BuildStoredZip({{"Lumenread.class", std::string(300, 'c')}, {"rd.PNG", "\x89PNG icon"}});

// An error code none of the failures below comes from: access denied.
#ifdef _WIN32
constexpr long kStaleError = 5;
#else
constexpr long kStaleError = EACCES;
#endif

// The template as the last volume of a split archive: its end record says disk 1.
std::string SplitVolumeTemplate()
{
    std::string zip = kTemplate;
    const std::size_t end = zip.rfind("PK\x05\x06");
    zip[end + 4] = 1;  // number of this disk
    zip[end + 6] = 1;  // disk where the central directory starts
    return zip;
}

struct Book {
    BookInfo info {"书", "作者", ""};
    std::vector<std::string> titles, texts;
};

Book TwelveParts()
{
    Book b;
    for (int i = 1; i <= 12; ++i) {
        b.titles.push_back("第" + std::to_string(i) + "章");
        std::string text;
        for (int k = 0; k < i * 50; ++k)
            text += "\u3000\u3000床前明月光，疑是地上霜。\r\n";
        b.texts.push_back(text);
    }
    b.texts[0] = "x\r\ny";
    b.texts[1] = "";
    b.texts[2] = "abcd";
    return b;
}

// The bytes of the entries of parts first..first+count-1, as the index gives them.
std::vector<std::uint64_t> PartLengths(const Book& book, std::size_t first, std::size_t count)
{
    std::vector<std::uint64_t> lengths;
    for (std::size_t k = first; k < first + count; ++k)
        lengths.push_back(MakePartText(book.texts[k]).size());
    return lengths;
}

// A jar of the book named name holding the parts first..first+count-1 of book, written
// with the engine step by step: the manifest, the index and the parts, each packed with the
// level and flags the builder uses by default, the clock fixed. Its bytes.
std::string HandBuiltJar(const std::string& templ, const std::string& path, const Book& book, const std::string& name,
                         std::size_t first, std::size_t count, const VolumePlace& place = {})
{
    test::WriteFile(path, templ);
    CZipContainer zip;
    zip.SetBufferSizes(15000000, 65536, 32768);
    zip.SetClock(test::FixedTime);
    zip.Open(path);
    auto add = [&zip](const std::string& entry, const std::string& data) {
        EXPECT_TRUE(zip.AddPackedEntry(entry, PackEntryData(data.data(), data.size(), kPackDefaultLevel, ZSF_DEFAULT)));
    };
    add("META-INF\\MANIFEST.MF", MakeManifest(name, place));
    const std::vector<std::string> titles(book.titles.begin() + first, book.titles.begin() + first + count);
    add("index.txt", MakeIndex({name, book.info.author, book.info.maker}, titles, PartLengths(book, first, count)));
    for (std::size_t k = 0; k < count; ++k)
        add(std::to_string(k + 1) + ".txt", MakePartText(book.texts[first + k]));
    zip.Close();
    return test::ReadFile(path);
}

class JarBuilderTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(U8(m_folder));
        test::WriteFile(m_templatePath, kTemplate);
    }

    std::string Build(const Book& book, const std::string& jarPath)
    {
        CJarBuilder builder(book.info);
        builder.SetClock(test::FixedTime);
        const std::vector<BookPart> bookParts = test::Parts(book.titles, book.texts);
        builder.SetParts(bookParts);
        CCheckedTemplate checkedTemplate(m_templatePath);
        builder.BuildTo(checkedTemplate, jarPath);
        EXPECT_EQ(builder.GetVolumes().at(0).jarPath, jarPath);
        return test::ReadFile(jarPath);
    }

    std::string Content(const std::string& bytes, const test::CentralRecord& e)
    {
        const std::string raw = test::LocalData(bytes, e);
        return e.method == 8 ? test::Inflate(raw, e.uncompressed) : raw;
    }

    test::TempDir m_dir;
    std::string m_folder = m_dir.Path("books");
    std::string m_templatePath = m_dir.Path("RDbook.dat");
    std::string m_jarPath = m_dir.Path("books/书.jar");
};

TEST_F(JarBuilderTest, TemplateThenManifestIndexAndNumberedParts)
{
    const Book book = TwelveParts();
    test::WriteFile(m_jarPath, "an older book of the same name");
    const std::string bytes = Build(book, m_jarPath);
    const test::ParsedZip z = test::ParseZip(bytes);

    std::vector<std::string> expectedNames = {"Lumenread.class", "rd.PNG", "META-INF/MANIFEST.MF", "index.txt"};
    for (int i = 1; i <= 12; ++i)
        expectedNames.push_back(std::to_string(i) + ".txt");
    std::vector<std::string> names;
    for (const auto& e : z.entries)
        names.push_back(e.name);
    EXPECT_EQ(names, expectedNames);

    const test::ParsedZip old = test::ParseZip(kTemplate);
    EXPECT_EQ(bytes.substr(0, old.cdOffset), kTemplate.substr(0, old.cdOffset)) << "template copied unchanged";
    EXPECT_EQ(Content(bytes, z.entries[2]), MakeManifest("书"));
    EXPECT_EQ(Content(bytes, z.entries[3]), MakeIndex(book.info, book.titles, PartLengths(book, 0, 12)));
    EXPECT_EQ(Content(bytes, z.entries[4]), "x\ny");
    for (std::size_t i = 0; i < 12; ++i) {
        const test::CentralRecord& e = z.entries[4 + i];
        EXPECT_EQ(Content(bytes, e), MakePartText(book.texts[i])) << e.name;
        EXPECT_EQ(e.crc, test::Crc32(MakePartText(book.texts[i]))) << e.name;
        // Shorter than 5 bytes is stored, the rest deflated at the default level.
        EXPECT_EQ(e.method, e.uncompressed < 5 ? 0 : 8) << e.name;
    }
    EXPECT_EQ(z.entries[5].uncompressed, 0u);
    const std::string jad = MakeJad("书", "书.jar", bytes.size());
    EXPECT_EQ(test::ReadFile(m_dir.Path("books/书.jad")), jad);
    EXPECT_EQ(Listing(m_folder), (std::set<std::string> {"书.jar = " + bytes.substr(0, 16), "书.jad = " + jad.substr(0, 16)}))
        << "the older book is replaced, its JAD beside it, no temporary file stays";
}

// The builder drives the engine exactly as a hand-written sequence of adds does: same
// order, names, bytes, level and flags. With the clock fixed the books are equal byte for
// byte.
TEST_F(JarBuilderTest, SameBytesAsTheEngineDrivenByHand)
{
    Book book = TwelveParts();
    book.info = {"三国,演义", "", "青禾"};
    const std::string built = Build(book, m_jarPath);
    EXPECT_EQ(Build(book, m_dir.Path("again.jar")), built);

    EXPECT_TRUE(built == HandBuiltJar(kTemplate, m_dir.Path("expected.jar"), book, book.info.bookName, 0,
                                      book.texts.size()));
}

TEST_F(JarBuilderTest, ProgressCountsEveryEntry)
{
    const Book book = TwelveParts();
    CJarBuilder builder(book.info);
    const std::vector<BookPart> bookParts = test::Parts(book.titles, book.texts);
    builder.SetParts(bookParts);
    std::vector<std::pair<std::size_t, std::size_t>> calls;
    builder.SetProgress([&calls](std::size_t done, std::size_t total) { calls.emplace_back(done, total); });
    CCheckedTemplate checkedTemplate(m_templatePath);
    builder.BuildTo(checkedTemplate, m_jarPath);
    ASSERT_EQ(calls.size(), 14u);
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i], std::make_pair(i + 1, std::size_t {14}));
}

// Every failure is reported, and afterwards the folder holds what it held before: no book,
// no temporary file, an older book of the same name byte for byte as it was.
TEST_F(JarBuilderTest, FailuresLeaveTheFolderAsItWas)
{
    enum class Thrown { jar, file, zip, other };
    struct Case {
        const char* what;
        std::string bookName = "书";
        std::optional<std::string> templ = kTemplate;  // nullopt: no template
        bool templateIsFolder = false;
        std::string jarName = "书.jar";
        std::size_t failAtEntry = 0;  // > 0: a failure while entry n is written
        Thrown thrown = Thrown::jar;
        int cause = -1;  // -1: any (the operating system decides)
        bool namesTemplate = false;  // the exception names the template, else the book
        std::string protect = {};    // a file of the folder given as a source of the book
        enum { file, folder, fifo } output = file;  // what stands at the book's path
    } cases[] = {
        {"missing template", "书", std::nullopt, false, "书.jar", 0, Thrown::jar, CJarException::templateMissing, true},
        {"template is a folder", "书", kTemplate, true, "书.jar", 0, Thrown::jar, CJarException::templateMissing, true},
        {"template not a zip", "书", std::string("plain text, no archive"), false, "书.jar", 0, Thrown::jar,
         CJarException::templateDamaged, true},
        {"empty template file", "书", std::string(), false, "书.jar", 0, Thrown::jar, CJarException::templateDamaged,
         true},
        {"template cut short", "书", kTemplate.substr(0, kTemplate.size() - 30), false, "书.jar", 0, Thrown::jar,
         CJarException::templateDamaged, true},
        {"name with a slash", "a/b", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::badBookName},
        {"name with a colon, template missing", "a:b", std::nullopt, false, "书.jar", 0, Thrown::jar,
         CJarException::badBookName},
        {"name with a line break", "a\nb", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::badBookName},
        {"empty name", "", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::emptyBookName},
        {"failure after the index", "书", kTemplate, false, "书.jar", 2, Thrown::other},
        {"failure at the last part", "书", kTemplate, false, "书.jar", 14, Thrown::other},
        {"output folder missing", "书", kTemplate, false, "no such folder/书.jar", 0, Thrown::file},
        // Names that cannot name a book on Windows, or the MIDlet on a phone.
        {"only spaces", "   ", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::emptyBookName},
        {"only full-width spaces", "\u3000\u3000", kTemplate, false, "书.jar", 0, Thrown::jar,
         CJarException::emptyBookName},
        {"ends in a dot", "书.", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::bookNameEndsBadly},
        {"device name", "NUL", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::reservedBookName},
        {"device name with an extension", "com1.txt", kTemplate, false, "书.jar", 0, Thrown::jar,
         CJarException::reservedBookName},
        {"200 commas", std::string(200, ','), kTemplate, false, "书.jar", 0, Thrown::jar,
         CJarException::bookNameTooLong},
        {"GBK bytes", "\xCA\xE9", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::badBookName},
        // Paths the book must not take.
        {"output is the template", "书", kTemplate, false, "RDbook.dat", 0, Thrown::jar,
         CJarException::outputIsTemplate},
        {"output is the template spelled otherwise", "书", kTemplate, false, "../books/./RDbook.dat", 0, Thrown::jar,
         CJarException::outputIsTemplate},
        {"output is a source", "书", kTemplate, false, "s.txt", 0, Thrown::jar, CJarException::outputIsSource, false,
         "s.txt"},
        {"output is a folder", "书", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::outputNotFile, false, {},
         Case::folder},
#ifndef _WIN32
        {"output is a FIFO", "书", kTemplate, false, "书.jar", 0, Thrown::jar, CJarException::outputNotFile, false, {},
         Case::fifo},
#endif
        // An archive of several volumes: the engine opens its last one and refuses to add.
        {"template of a split archive", "书", SplitVolumeTemplate(), false, "书.jar", 0, Thrown::jar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string folder = dir.Path("books");
        fs::create_directories(U8(folder));
        const std::string templatePath = dir.Path("books/RDbook.dat");
        if (c.templateIsFolder)
            fs::create_directories(U8(templatePath));
        else if (c.templ)
            test::WriteFile(templatePath, *c.templ);
        if (c.output == Case::folder)
            fs::create_directories(U8(dir.Path("books/书.jar")));
#ifndef _WIN32
        else if (c.output == Case::fifo)
            ASSERT_EQ(::mkfifo(dir.Path("books/书.jar").c_str(), 0600), 0);
#endif
        else
            test::WriteFile(dir.Path("books/书.jar"), "an older book of the same name");
        if (!c.protect.empty())
            test::WriteFile(dir.Path("books/" + c.protect), "the user's text");
        const std::set<std::string> before = Listing(folder);

        Book book = TwelveParts();
        const std::string jarPath = dir.Path("books/" + c.jarName);
        BookRequest request;
        request.book = book.info;
        request.book.bookName = c.bookName;
        request.templatePath = templatePath;
        request.jarPath = jarPath;
        if (!c.protect.empty())
            request.sourcePaths = {dir.Path("books/" + c.protect)};
        if (c.failAtEntry > 0) {
            request.progress = [&c](std::size_t done, std::size_t) {
                if (done == c.failAtEntry)
                    throw std::runtime_error("stopped");
            };
        }
        // A failure must not be described by an error some earlier call left behind.
        SetLastPlatformError(kStaleError);
        errno = EACCES;
        Thrown thrown = Thrown::other;
        int cause = -1;
        std::string named, message;
        try {
            MakeBook(request, test::Parts(book.titles, book.texts));
            ADD_FAILURE() << "no failure reported";
        } catch (const CJarException& e) {
            thrown = Thrown::jar, cause = e.GetCause(), named = e.GetPath(), message = e.Message();
        } catch (const CFileException& e) {
            thrown = Thrown::file, cause = e.GetCause(), named = e.GetPath(), message = e.Message();
        } catch (const CZipException& e) {
            thrown = Thrown::zip, cause = e.GetCause(), named = e.GetPath(), message = e.Message();
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(thrown, c.thrown);
        if (c.thrown != Thrown::other) {
            if (c.cause != -1) {
                EXPECT_EQ(cause, c.cause);
            }
            EXPECT_FALSE(message.empty());
            EXPECT_EQ(message.find(PlatformErrorText(kStaleError)), std::string::npos) << message;
            if (c.thrown != Thrown::jar || c.namesTemplate) {
                EXPECT_EQ(named, c.namesTemplate ? templatePath : jarPath);
            }
        }
        EXPECT_EQ(Listing(folder), before);
    }
}

// A source file named like the book ("书.jar" read as a text) is never overwritten, however
// its path is spelled; other protected files, there or not, do not stop the build.
TEST(JarBuilder, BookIsNeverWrittenOverOneOfItsSources)
{
    test::TempDir dir;
    fs::create_directories(U8(dir.Path("books")));
    test::WriteFile(dir.Path("books/RDbook.dat"), kTemplate);
    test::WriteFile(dir.Path("books/书.jar"), "第一回 a text named like the book");
    test::WriteFile(dir.Path("books/第二回.txt"), "第二回");
    const std::string jarPath = dir.Path("books/书.jar");
    const struct {
        const char* what;
        std::vector<std::string> protectedFiles;
        bool refused;
    } cases[] = {
        {"the book's own path", {dir.Path("books/第二回.txt"), jarPath}, true},
        {"another spelling of it", {dir.Path("books/../books/./书.jar")}, true},
        {"other sources and a missing one", {dir.Path("books/第二回.txt"), dir.Path("books/gone.txt")}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteFile(jarPath, "第一回 a text named like the book");
        const std::set<std::string> before = Listing(dir.Path("books"));
        Book book = TwelveParts();
        BookRequest request {book.info, dir.Path("books/RDbook.dat"), jarPath, c.protectedFiles};
        try {
            MakeBook(request, test::Parts(book.titles, book.texts));
            EXPECT_FALSE(c.refused);
            EXPECT_EQ(test::ParseZip(test::ReadFile(jarPath)).entries.size(), 16u);
        } catch (const CJarException& e) {
            EXPECT_TRUE(c.refused);
            EXPECT_EQ(e.GetCause(), CJarException::outputIsSource);
            EXPECT_EQ(e.Message(), "电子书不能写在它的来源文件上：" + jarPath + "，请换一个书名或输出文件。");
            EXPECT_EQ(Listing(dir.Path("books")), before);
        }
    }
}

// Text that deflate cannot shrink much, so that parts have sizes that add up.
std::string Noise(std::size_t length, unsigned seed)
{
    std::string text;
    while (text.size() < length)
        text += static_cast<char>('!' + ((seed = seed * 1103515245u + 12345u) >> 16) % 90);
    return text;
}

// Thirty parts from 100 to 2000 bytes, titled 第1章 to 第30章.
Book ThirtyNoisyParts()
{
    Book b;
    for (unsigned i = 1; i <= 30; ++i) {
        b.titles.push_back("第" + std::to_string(i) + "章");
        b.texts.push_back(Noise(100 + i * 7919 % 1900, i));
    }
    return b;
}

class JarVolumesTest : public JarBuilderTest {
protected:
    // Through the one operation both front ends run, so that the book's paths are checked.
    std::vector<BookVolume> BuildVolumes(const Book& book, std::uint64_t limit)
    {
        BookRequest request;
        request.book = book.info;
        request.templatePath = m_templatePath;
        request.jarPath = m_jarPath;
        request.clock = test::FixedTime;
        request.maxJarBytes = limit;
        BookResult result = MakeBook(request, test::Parts(book.titles, book.texts));
        m_removed = result.removed;
        return result.volumes;
    }
    std::vector<std::string> m_removed;
};

// Every volume is a whole book of its own, within the limit in bytes on disk, and the part
// after its last would not have fitted: the same volume with one part more, written step by
// step with the engine, is over the limit.
TEST_F(JarVolumesTest, EachWithinTheLimitAndTheNextPartWouldNotHaveFitted)
{
    const Book book = ThirtyNoisyParts();
    for (std::uint64_t limit : {3000u, 5200u, 12000u}) {
        SCOPED_TRACE(limit);
        fs::remove_all(U8(m_folder));
        fs::create_directories(U8(m_folder));
        const std::vector<BookVolume> volumes = BuildVolumes(book, limit);
        ASSERT_GE(volumes.size(), 2u);
        std::set<std::string> files;
        std::size_t next = 0;
        for (std::size_t v = 0; v < volumes.size(); ++v) {
            const BookVolume& volume = volumes[v];
            const std::string name = "书(" + std::to_string(v + 1) + ")";
            SCOPED_TRACE(name);
            EXPECT_EQ(volume.jarPath, m_dir.Path("books/" + name + ".jar"));
            EXPECT_EQ(volume.jadPath, m_dir.Path("books/" + name + ".jad"));
            files.insert(FileNameOfPath(volume.jarPath));
            files.insert(FileNameOfPath(volume.jadPath));
            const std::string bytes = test::ReadFile(volume.jarPath);
            EXPECT_EQ(bytes.size(), volume.bytes);
            EXPECT_LE(bytes.size(), limit);
            // Where the volume's parts lie in the whole book: bytes of the part entries.
            VolumePlace place {0, 0};
            for (std::size_t part = 0; part < book.texts.size(); ++part) {
                place.bookBytes += MakePartText(book.texts[part]).size();
                if (part < volume.firstPart)
                    place.bytesBefore += MakePartText(book.texts[part]).size();
            }
            EXPECT_EQ(test::ReadFile(volume.jadPath), MakeJad(name, name + ".jar", bytes.size(), place));

            EXPECT_EQ(volume.firstPart, next) << "the volumes take the parts in order, none left out";
            next += volume.parts;
            const test::ParsedZip z = test::ParseZip(bytes);
            ASSERT_EQ(z.entries.size(), 4 + volume.parts);
            EXPECT_EQ(Content(bytes, z.entries[2]), MakeManifest(name, place));
            const std::vector<std::string> titles(book.titles.begin() + volume.firstPart,
                                                  book.titles.begin() + volume.firstPart + volume.parts);
            EXPECT_EQ(Content(bytes, z.entries[3]),
                      MakeIndex({name, "作者", ""}, titles, PartLengths(book, volume.firstPart, volume.parts)));
            for (std::size_t k = 0; k < volume.parts; ++k) {
                EXPECT_EQ(z.entries[4 + k].name, PartEntryName(k));
                EXPECT_EQ(Content(bytes, z.entries[4 + k]), MakePartText(book.texts[volume.firstPart + k]));
            }
            if (v + 1 < volumes.size()) {
                EXPECT_GT(HandBuiltJar(kTemplate, m_dir.Path("one-more.jar"), book, name, volume.firstPart,
                                       volume.parts + 1, place)
                              .size(),
                          limit);
            }
        }
        EXPECT_EQ(next, book.texts.size());
        files.insert("RDbook.dat");
        fs::copy_file(U8(m_templatePath), U8(m_dir.Path("books/RDbook.dat")));
        std::set<std::string> listed;
        for (const std::string& line : Listing(m_folder))
            listed.insert(line.substr(0, line.find(" = ")));
        EXPECT_EQ(listed, files) << "no temporary file stays";
    }
}

// At the limit a book is one jar under its own names, the same bytes as without a limit;
// a byte less and it is volumes.
TEST_F(JarVolumesTest, ABookThatFitsStaysOneJar)
{
    const Book book = ThirtyNoisyParts();
    const std::string whole = Build(book, m_jarPath);
    const std::string wholeJad = test::ReadFile(m_dir.Path("books/书.jad"));
    fs::remove_all(U8(m_folder));
    fs::create_directories(U8(m_folder));

    const std::vector<BookVolume> one = BuildVolumes(book, whole.size());
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].jarPath, m_jarPath);
    EXPECT_TRUE(test::ReadFile(m_jarPath) == whole);
    EXPECT_EQ(test::ReadFile(m_dir.Path("books/书.jad")), wholeJad);

    fs::remove_all(U8(m_folder));
    fs::create_directories(U8(m_folder));
    const std::vector<BookVolume> two = BuildVolumes(book, whole.size() - 1);
    EXPECT_EQ(two.size(), 2u);
    EXPECT_EQ(FileNameOfPath(two[0].jarPath), "书(1).jar");
}

// Older volumes numbered above the new ones go with the commit, up to the first number with
// neither a jar nor a JAD; the rest stays: the whole book 书.jar (for another phone), a
// source of the book, a folder, files that only have a volume's name (another program's
// jar, a JAD naming another jar, the user's text), a volume after the gap.
// A book in one jar leaves volumes alone.
TEST_F(JarVolumesTest, OlderVolumesAboveTheNewOnesAreRemoved)
{
    Book book;
    for (unsigned i = 0; i < 3; ++i) {
        book.titles.push_back("第" + std::to_string(i + 1) + "章");
        book.texts.push_back(Noise(3000, i + 1));
    }
    // A volume of one part is within the limit, one of two is not.
    Book first;
    first.titles = {book.titles[0]};
    first.texts = {book.texts[0]};
    const std::uint64_t limit = Build(first, m_dir.Path("one.jar")).size() + 100;

    // Older volumes 4 and 5 of this book, as a build of five parts left them.
    Book five = book;
    five.titles.push_back("第4章"), five.texts.push_back(Noise(3000, 4));
    five.titles.push_back("第5章"), five.texts.push_back(Noise(3000, 5));
    const std::string oldFolder = m_dir.Path("old");
    fs::create_directories(U8(oldFolder));
    {
        CJarBuilder older(five.info);
        const std::vector<BookPart> bookParts = test::Parts(five.titles, five.texts);
        older.SetParts(bookParts);
        older.SetMaxJarSize(limit);
        CCheckedTemplate checkedTemplate(m_templatePath);
        older.BuildTo(checkedTemplate, JoinPath(oldFolder, "书.jar"));
        ASSERT_EQ(older.GetVolumes().size(), 5u);
    }
    for (const char* old : {"书(4).jar", "书(4).jad", "书(5).jad"})
        fs::copy_file(U8(JoinPath(oldFolder, old)), U8(m_dir.Path("books/") + old));
    // Files that only have the names: the user's text, another program's jar and JAD.
    for (const char* old : {"书.jar", "书.jad", "书(1).jar", "书(2).jad", "书(5).jar", "书(8).jar"})
        test::WriteFile(m_dir.Path("books/") + old, "older");
    fs::create_directories(U8(m_dir.Path("books/书(6).jad")));
    fs::copy_file(U8(m_templatePath), U8(m_dir.Path("books/书(7).jar")));
    test::WriteFile(m_dir.Path("books/书(7).jad"), "MIDlet-Name: 书(7)\r\nMIDlet-Jar-URL: 游戏.jar\r\nolder\r\n");
    CJarBuilder builder(book.info);
    const std::vector<BookPart> bookParts = test::Parts(book.titles, book.texts);
    builder.SetParts(bookParts);
    builder.SetMaxJarSize(limit);
    builder.SetProtectedFiles({m_dir.Path("books/书(5).jar")});
    CCheckedTemplate checkedTemplate(m_templatePath);
    builder.BuildTo(checkedTemplate, m_jarPath);
    ASSERT_EQ(builder.GetVolumes().size(), 3u);
    EXPECT_EQ(builder.GetRemovedFiles(),
              (std::vector<std::string> {m_dir.Path("books/书(4).jar"), m_dir.Path("books/书(4).jad"),
                                         m_dir.Path("books/书(5).jad")}));
    std::set<std::string> kept;
    for (const std::string& line : Listing(m_folder)) {
        const std::string name = line.substr(0, line.find(" = "));
        if (name.size() != std::string("书(1).jar").size() || name[4] < '1' || name[4] > '3')
            kept.insert(name);
    }
    EXPECT_EQ(kept, (std::set<std::string> {"书.jar", "书.jad", "书(5).jar", "书(6).jad", "书(7).jar", "书(7).jad",
                                            "书(8).jar"}));

    // The whole book replaces 书.jar and 书.jad and leaves the volumes as they are.
    const std::string volume3 = test::ReadFile(m_dir.Path("books/书(3).jar"));
    CJarBuilder whole(book.info);
    whole.SetParts(bookParts);
    whole.BuildTo(checkedTemplate, m_jarPath);
    EXPECT_TRUE(whole.GetRemovedFiles().empty());
    EXPECT_EQ(test::ReadFile(m_dir.Path("books/书(3).jar")), volume3);
    EXPECT_NE(test::ReadFile(m_jarPath), "older");
}

// A read-only book is not replaced, nor a read-only older volume removed: refused before
// anything changes, the same natively and on Windows (where the set-aside copy of a
// read-only file could not be deleted and stayed behind).
TEST_F(JarVolumesTest, ReadOnlyBooksAreRefusedAndLeftAsTheyWere)
{
    const Book book = ThirtyNoisyParts();
    const struct {
        const char* what;
        std::uint64_t limit;
        std::string readOnly;
    } cases[] = {
        {"the book in one jar", 0, "书.jar"},
        {"its JAD", 0, "书.jad"},
        {"a volume to be replaced", 5200, "书(2).jar"},
        {"an older volume to be removed", 5200, "书(30).jad"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(U8(m_folder));
        fs::create_directories(U8(m_folder));
        // An older book: one jar, and thirty volumes or more.
        BuildVolumes(book, 0);
        Book more = book;
        for (unsigned i = 0; i < 10; ++i)
            more.titles.push_back("加" + std::to_string(i)), more.texts.push_back(Noise(1500, 100 + i));
        ASSERT_GE(BuildVolumes(more, 3000).size(), 30u);
        const std::string path = m_dir.Path("books/" + c.readOnly);
        fs::permissions(U8(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        const std::set<std::string> before = Listing(m_folder);
        try {
            BuildVolumes(book, c.limit);
            ADD_FAILURE() << "built";
        } catch (const CJarException& e) {
            EXPECT_EQ(e.GetCause(), CJarException::outputReadOnly);
            EXPECT_EQ(e.GetPath(), path);
        }
        EXPECT_EQ(Listing(m_folder), before);
        fs::permissions(U8(path), fs::perms::owner_write, fs::perm_options::add);
    }
}

// A failed build with a limit leaves the folder as it was: no volume, no JAD, no temporary
// file, older books and volumes of the same name byte for byte as they were.
TEST_F(JarVolumesTest, FailuresLeaveOlderBooksAndVolumesAsTheyWere)
{
    // One part far larger than the others packed: the one refused below its size.
    Book book = ThirtyNoisyParts();
    const std::size_t largest = 16;
    book.texts[largest] += Noise(1500, 99);
    Book alone;
    alone.titles = {book.titles[largest]};
    alone.texts = {book.texts[largest]};
    const std::uint64_t largestAlone = Build(alone, m_dir.Path("alone.jar")).size();
    const std::uint64_t templateSize = kTemplate.size();

    struct Case {
        const char* what;
        std::uint64_t limit;
        int cause;                      // a CJarException cause, or -1: the progress callback's
        std::string message = {};       // part of the message
        std::string name = "书";
        std::size_t failAtEntry = 0;    // > 0: the progress callback throws there
        std::string folderAt = {};      // a folder where a volume would go
    } cases[] = {
        {"limit below the template", templateSize - 1, CJarException::volumeBelowTemplate,
         "比电子书模板 RDbook.dat（" + std::to_string(templateSize) + " 字节）还小"},
        {"the template alone", templateSize, CJarException::partTooLarge, "第 1 部分“第1章”单独成卷也超过了分卷大小 " + std::to_string(templateSize) + " 字节。"},
        {"the largest part does not fit", largestAlone - 1, CJarException::partTooLarge,
         "第 " + std::to_string(largest + 1) + " 部分“" + book.titles[largest] + "”单独成卷也超过了"},
        {"a folder where volume 2 goes", 5200, CJarException::outputNotFile, "书(2).jar", "书", 0, "书(2).jar"},
        {"a folder where the JAD of volume 3 goes", 5200, CJarException::outputNotFile, "书(3).jad", "书", 0,
         "书(3).jad"},
        {"stopped in the second volume", 5200, -1, {}, "书", 12},
        {"a file name too long with a volume's number", 5200, CJarException::fileNameTooLong,
         "文件名太长：“" + test::Repeat("书", 83) + "(1).jar”有 256 字节", test::Repeat("书", 83)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(U8(m_folder));
        fs::create_directories(U8(m_folder));
        for (const char* old : {"书.jar", "书.jad", "书(1).jar", "书(1).jad", "书(2).jar", "书(9).jar"})
            test::WriteFile(m_dir.Path("books/") + old, std::string("older ") + old);
        if (!c.folderAt.empty()) {
            fs::remove(U8(m_dir.Path("books/" + c.folderAt)));
            fs::create_directories(U8(m_dir.Path("books/" + c.folderAt)));
        }
        const std::set<std::string> before = Listing(m_folder);
        BookRequest request;
        request.book = book.info;
        request.book.bookName = c.name;
        request.templatePath = m_templatePath;
        request.jarPath = m_dir.Path("books/" + c.name + ".jar");
        request.maxJarBytes = c.limit;
        if (c.failAtEntry) {
            request.progress = [&c](std::size_t done, std::size_t) {
                if (done == c.failAtEntry)
                    throw std::runtime_error("stopped");
            };
        }
        try {
            MakeBook(request, test::Parts(book.titles, book.texts));
            ADD_FAILURE() << "built";
        } catch (const CJarException& e) {
            EXPECT_EQ(e.GetCause(), c.cause);
            EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
        } catch (const std::runtime_error&) {
            EXPECT_EQ(c.cause, -1);
        }
        EXPECT_EQ(Listing(m_folder), before);
    }
}

// The limit the message names is the smallest under which every part fits: the book builds
// with it, and a byte less fails on the same part.
TEST_F(JarVolumesTest, ThePartTooLargeMessageNamesALimitThatWorks)
{
    const Book book = ThirtyNoisyParts();
    std::uint64_t needed = 0;
    try {
        BuildVolumes(book, 1500);
        FAIL() << "built";
    } catch (const CJarException& e) {
        ASSERT_EQ(e.GetCause(), CJarException::partTooLarge);
        const std::string message = e.Message();
        const std::size_t at = message.find("至少要 ") + std::string("至少要 ").size();
        needed = std::stoull(message.substr(at));
        EXPECT_NE(message.find("超过了分卷大小 1500 字节"), std::string::npos) << message;
        EXPECT_NE(message.find("（约 " + std::to_string((needed + 1023) / 1024) + " KB）"), std::string::npos);
    }
    EXPECT_FALSE(BuildVolumes(book, needed).empty());
    EXPECT_THROW(BuildVolumes(book, needed - 1), CJarException);
}

#ifdef _WIN32
// Another program holds an older volume that would be replaced: nothing is replaced, the
// message names the volume and asks to close the program.
TEST_F(JarVolumesTest, AnOlderVolumeHeldByAnotherProgramStopsAll)
{
    const Book book = ThirtyNoisyParts();
    for (const char* old : {"书(1).jar", "书(2).jar", "书(3).jar"})
        test::WriteFile(m_dir.Path("books/") + old, std::string("older ") + old);
    const std::set<std::string> before = Listing(m_folder);
    const std::string held = m_dir.Path("books/书(2).jar");
    HANDLE holder = CreateFileW(U8(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    try {
        BuildVolumes(book, 5200);
        ADD_FAILURE() << "built";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetPath(), held);
        EXPECT_TRUE(e.Message().ends_with("\n请关闭正在使用该文件的程序后再试。")) << e.Message();
    }
    CloseHandle(holder);
    EXPECT_EQ(Listing(m_folder), before);
}
#endif

TEST(JarException, MessagesOfTheProgram)
{
    EXPECT_EQ(CJarException(CJarException::templateMissing).Message(),
              "找不到电子书模板文件 RDbook.dat，无法生成电子书!");
    EXPECT_EQ(CJarException(CJarException::templateDamaged).Message(),
              "电子书模板文件 RDbook.dat 不是有效的 jar 文件，无法生成电子书!");
    EXPECT_EQ(CJarException(CJarException::badBookName).Message(), "书名不能包含下列字符：\\ / : * ? \" < > |");
    EXPECT_EQ(CJarException(CJarException::emptyBookName).Message(), "请填写书名!");
}

// What the archive engine refuses reaches the user in Chinese, never in the engine's English.
TEST(JarException, EngineFailuresInTheUsersWords)
{
    const struct {
        int zipCause;
        std::string message;
    } table[] = {
        {CZipException::ZE_ENTRY_LIMIT, "电子书的部分太多：一个 jar 文件最多有 65535 个条目，请把文本分成几本书。"},
        {CZipException::ZE_SIZE_TOO_LARGE, "电子书超过 4 GB，jar 文件容纳不下，请把文本分成几本书。"},
        {CZipException::ZE_NO_MEMORY, "内存不足，无法生成电子书。"},
        {CZipException::ZE_FIELD_TOO_LONG, "写入电子书 书.jar 时出错（条目的名称或附加数据过长）。"},
        {CZipException::ZE_DAMAGED, "写入电子书 书.jar 时出错（写入的文件读回时已损坏）。"},
        {CZipException::ZE_ZLIB_DATA, "写入电子书 书.jar 时出错（zlib 压缩出错，代码 504）。"},
        {CZipException::ZE_GENERIC, "写入电子书 书.jar 时出错（压缩引擎出错，代码 100）。"},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.zipCause);
        const CJarException e = JarExceptionFromZip(c.zipCause, "/books/书.jar");
        EXPECT_EQ(e.Message(), c.message);
        EXPECT_EQ(e.GetPath(), "/books/书.jar");
    }
}

} // namespace
