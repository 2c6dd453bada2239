#include "support/test_support.h"
#include "zip/zip_container.h"
#include "zip/zip_exception.h"
#include "zip/zip_memory_file.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// An archive in a scratch folder, opened with the settings the jar builder uses and a
// fixed clock.
class ZipAdd : public testing::Test {
protected:
    void OpenTemplate(const std::string& bytes)
    {
        m_template = bytes;
        test::WriteFile(m_path, bytes);
        m_zip.SetBufferSizes(15000000, 65536, 32768);
        m_zip.SetClock(test::FixedTime);
        ASSERT_TRUE(m_zip.Open(m_path));
    }
    bool Add(const std::string& name, const std::string& data)
    {
        CZipMemoryFile file(1024);
        file.Write(data.data(), static_cast<std::uint32_t>(data.size()));
        return m_zip.AddNewEntry(file, name, -1, ZSF_DEFAULT, 65536);
    }
    test::ParsedZip CloseAndParse()
    {
        m_zip.Close();
        m_bytes = test::ReadFile(m_path);
        return test::ParseZip(m_bytes);
    }
    // The data of the entry, inflated when it is deflated.
    std::string Content(const test::CentralRecord& e)
    {
        const std::string raw = test::LocalData(m_bytes, e);
        return e.method == 8 ? test::Inflate(raw, e.uncompressed) : raw;
    }

    test::TempDir m_dir;
    std::string m_path = m_dir.Path("book.jar");
    std::string m_template, m_bytes;
    CZipContainer m_zip;
};

TEST_F(ZipAdd, SizesAroundTheStoreAndChunkLimits)
{
    OpenTemplate(test::BuildStoredZip({{"rd.PNG", "icon"}}));
    const std::string text = "第一章　春眠不觉晓，处处闻啼鸟。\r\n";
    std::string big;
    while (big.size() < 1000000)
        big += text;
    struct Case {
        std::string name, data;
        std::uint16_t method;
    } cases[] = {
        {"empty.txt", "", 0},
        {"four.txt", "abcd", 0},
        {"five.txt", "abcde", 8},
        {"chunk.txt", big.substr(0, 65536), 8},
        {"chunk+1.txt", big.substr(0, 65537), 8},
        {"big.txt", big, 8},
    };
    for (const Case& c : cases)
        ASSERT_TRUE(Add(c.name, c.data)) << c.name;
    const test::ParsedZip z = CloseAndParse();
    ASSERT_EQ(z.entries.size(), 1 + std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const test::CentralRecord& e = z.entries[i + 1];
        const Case& c = cases[i];
        EXPECT_EQ(e.name, c.name);
        EXPECT_EQ(e.method, c.method) << c.name;
        EXPECT_EQ(e.uncompressed, c.data.size()) << c.name;
        EXPECT_EQ(e.crc, test::Crc32(c.data)) << c.name;
        EXPECT_EQ(Content(e), c.data) << c.name;
        if (c.method == 0) {
            EXPECT_EQ(e.compressed, c.data.size());
        }
        // The local header holds the final CRC and sizes, equal to the central ones.
        const std::size_t at = e.offset;
        EXPECT_EQ(test::U32(m_bytes, at + 14), e.crc) << c.name;
        EXPECT_EQ(test::U32(m_bytes, at + 18), e.compressed) << c.name;
        EXPECT_EQ(test::U32(m_bytes, at + 22), e.uncompressed) << c.name;
        EXPECT_EQ(test::U16(m_bytes, at + 6), 0) << "no data descriptor, no flags";
        EXPECT_EQ(test::U16(m_bytes, at + 28), 0) << "no local extra field";
        EXPECT_EQ(e.extra, "") << "no code-page record on a DOS archive";
        EXPECT_EQ(e.madeBy, 0x0014);
        EXPECT_EQ(e.needed, 20);
        EXPECT_EQ(e.external, 0x81B40020u);
        EXPECT_EQ(e.internal, 0);
    }
    EXPECT_EQ(z.entries[0].crc, test::Crc32("icon")) << "the template's entry stays";
}

TEST_F(ZipAdd, EntriesFollowEachOtherFromTheOldDirectory)
{
    const std::string templ = test::BuildStoredZip({{"a.class", "code"}}, "jar comment");
    OpenTemplate(templ);
    const test::ParsedZip old = test::ParseZip(templ);
    ASSERT_TRUE(Add("META-INF\\MANIFEST.MF", "Manifest-Version: 1.0\r\n"));
    ASSERT_TRUE(Add("index.txt", "\xFF\xFEidx"));
    ASSERT_TRUE(Add("index.txt", "\xFF\xFEsecond"));
    const test::ParsedZip z = CloseAndParse();

    ASSERT_EQ(z.entries.size(), 4u);
    EXPECT_EQ(z.entries[1].name, "META-INF/MANIFEST.MF");
    EXPECT_EQ(test::U16(m_bytes, z.entries[1].offset + 26), 20);
    EXPECT_EQ(z.entries[2].name, "index.txt");
    EXPECT_EQ(z.entries[3].name, "index.txt") << "a second entry of the same name, no check";
    EXPECT_EQ(z.entries[1].offset, old.cdOffset) << "the first new entry replaces the old directory";
    for (std::size_t i = 2; i < 4; ++i) {
        const test::CentralRecord& prev = z.entries[i - 1];
        EXPECT_EQ(z.entries[i].offset, prev.offset + 30 + prev.name.size() + prev.compressed);
    }
    const test::CentralRecord& last = z.entries[3];
    EXPECT_EQ(z.cdOffset, last.offset + 30 + last.name.size() + last.compressed);
    std::uint32_t size = 0;
    for (const auto& e : z.entries)
        size += static_cast<std::uint32_t>(e.raw.size());
    EXPECT_EQ(z.cdSize, size);
    EXPECT_EQ(z.total, 4);
    EXPECT_EQ(z.diskEntries, 4);
    EXPECT_EQ(z.comment, "jar comment");
    EXPECT_EQ(z.endAt + 22 + z.comment.size(), m_bytes.size()) << "the file ends with the end record";
    EXPECT_EQ(m_bytes.substr(0, old.cdOffset), templ.substr(0, old.cdOffset));
    EXPECT_EQ(z.entries[0].raw, old.entries[0].raw) << "the template's central header reproduces";
}

TEST_F(ZipAdd, EntryTimeIsTheClockInDosForm)
{
    OpenTemplate(test::BuildStoredZip({{"a", "a"}}));
    ASSERT_TRUE(Add("t.txt", "timed text"));
    const test::ParsedZip z = CloseAndParse();
    EXPECT_EQ(z.entries[1].date, (44 << 9) | (5 << 5) | 17);
    EXPECT_EQ(z.entries[1].time, (13 << 11) | (45 << 5) | 15) << "31 s rounds down to 30 s";
}

TEST_F(ZipAdd, UnixTemplateGivesUnixEntriesWithACodePageRecord)
{
    OpenTemplate(test::BuildStoredZip({{"a.class", "code", 3}, {"b", "b", 0}}));
    EXPECT_EQ(m_zip.GetSystemCompatibility(), 3);
    ASSERT_TRUE(Add("1.txt", "some text"));
    const test::ParsedZip z = CloseAndParse();
    const test::CentralRecord& e = z.entries[2];
    EXPECT_EQ(e.madeBy, 0x0314);
    EXPECT_EQ(e.external, 0x81B40000u);
    EXPECT_EQ(e.extra, std::string("\x4C\x5A\x06\x00\x01\x01\x01\x00\x00\x00", 10))
        << "version 1, flags 1, name code page 1";
    EXPECT_EQ(z.entries[0].extra, "") << "entries read keep their own extra field";
}

TEST_F(ZipAdd, CodePageRecordOfATemplateEntryIsRebuiltAtTheEnd)
{
    std::string lz("\x4C\x5A\x06\x00\x01\x01", 6);
    test::PutU32(lz, 936);
    OpenTemplate(test::BuildStoredZip({{"a.txt", "alpha", 0, lz + std::string("\x01\x00\x01\x00X", 5)}}));
    ASSERT_TRUE(Add("n.txt", "new!!"));
    const test::ParsedZip z = CloseAndParse();
    std::string expected("\x01\x00\x01\x00X", 5);
    expected += lz;
    EXPECT_EQ(z.entries[0].extra, expected);
}

TEST_F(ZipAdd, RefusalsReturnFalseAndChangeNothing)
{
    OpenTemplate(test::BuildStoredZip({{"a", "a"}}));
    CZipEntryHeader templ;
    templ.SetFileName("open.txt");
    ASSERT_TRUE(m_zip.OpenNewEntry(templ, -1));
    CZipEntryHeader second;
    second.SetFileName("second.txt");
    EXPECT_FALSE(m_zip.OpenNewEntry(second, -1)) << "an entry is already open";
    EXPECT_FALSE(Add("third.txt", "data"));
    EXPECT_TRUE(m_zip.WriteNewEntry("written", 7));
    EXPECT_TRUE(m_zip.CloseNewEntry());
    EXPECT_FALSE(m_zip.CloseNewEntry()) << "nothing open any more";
    EXPECT_FALSE(m_zip.WriteNewEntry("x", 1));

    CZipAddRequest noStream;
    noStream.m_strFileNameInZip = "no-stream.txt";
    EXPECT_FALSE(m_zip.AddNewEntry(noStream)) << "only streams are added, not files from disk";
    CZipMemoryFile file;
    CZipAddRequest replace;
    replace.m_pStream = &file;
    replace.m_uReplaceIndex = 0;
    EXPECT_FALSE(m_zip.AddNewEntry(replace)) << "replacing is not supported";

    const test::ParsedZip z = CloseAndParse();
    ASSERT_EQ(z.entries.size(), 2u);
    EXPECT_EQ(Content(z.entries[1]), "written");
    EXPECT_FALSE(Add("closed.txt", "data")) << "the archive is closed";
}

TEST_F(ZipAdd, EmptyNameBecomesFileNumber)
{
    OpenTemplate(test::BuildStoredZip({{"a", "a"}, {"b", "b"}}));
    ASSERT_TRUE(Add("", "nameless"));
    const test::ParsedZip z = CloseAndParse();
    EXPECT_EQ(z.entries[2].name, "file2");
}

TEST_F(ZipAdd, NameTooLongIsFieldTooLongAndLeavesTheEntryOutOfTheFile)
{
    OpenTemplate(test::BuildStoredZip({{"a", "a"}}));
    try {
        Add(std::string(70000, 'n'), "data");
        FAIL() << "added";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.GetCause(), CZipException::ZE_FIELD_TOO_LONG);
    }
    ASSERT_TRUE(Add("after.txt", "the archive takes further entries"));
    const test::ParsedZip z = CloseAndParse();
    ASSERT_EQ(z.entries.size(), 2u);
    EXPECT_EQ(z.entries[1].name, "after.txt");
}

TEST_F(ZipAdd, ArchiveWith65535EntriesRefusesMore)
{
    std::vector<test::MiniEntry> many(65535);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i].name = std::to_string(i);
    OpenTemplate(test::BuildStoredZip(many));
    EXPECT_EQ(m_zip.GetCount(), 65535u);
    EXPECT_FALSE(Add("one-too-many.txt", "data"));
}

TEST_F(ZipAdd, AnExceptionLeavesTheEntryOpenUntilClose)
{
    OpenTemplate(test::BuildStoredZip({{"a", "a"}}));
    // A source that fails half way through its data.
    class FailingStream : public CZipMemoryFile {
    public:
        std::uint32_t Read(void* buffer, std::uint32_t count) override
        {
            if (++m_reads > 1)
                ThrowZipError(CZipException::ZE_NO_MEMORY);
            return CZipMemoryFile::Read(buffer, count);
        }
        int m_reads = 0;
    } source;
    const std::string data(200000, 'z');
    source.Write(data.data(), static_cast<std::uint32_t>(data.size()));
    EXPECT_THROW(m_zip.AddNewEntry(source, "broken.txt"), CZipException);
    EXPECT_EQ(m_zip.GetOpenEntryState(), 1);
    EXPECT_FALSE(Add("next.txt", "refused while the broken entry is open"));

    // Close finishes the open entry with what it received; the archive stays readable.
    const test::ParsedZip z = CloseAndParse();
    ASSERT_EQ(z.entries.size(), 2u);
    EXPECT_EQ(Content(z.entries[1]), data.substr(0, 65536));
    EXPECT_EQ(z.entries[1].crc, test::Crc32(data.substr(0, 65536)));
}

TEST_F(ZipAdd, ReadsTheSourceInBufferSizedChunks)
{
    OpenTemplate(test::BuildStoredZip({{"a", "a"}}));
    class CountingStream : public CZipMemoryFile {
    public:
        std::uint32_t Read(void* buffer, std::uint32_t count) override
        {
            const std::uint32_t n = CZipMemoryFile::Read(buffer, count);
            m_reads.push_back(n);
            return n;
        }
        std::vector<std::uint32_t> m_reads;
    } source;
    const std::string data(65536, 'q');
    source.Write(data.data(), 65536);
    ASSERT_TRUE(m_zip.AddNewEntry(source, "exact.txt"));
    EXPECT_EQ(source.m_reads, (std::vector<std::uint32_t> {65536, 0}));
}

// Entries packed beforehand (on other threads, by the jar builder) with libdeflate: each
// inflates to its data with the CRC and sizes its header gives, tiny and level-0 data is
// stored, the header's speed hint follows the level, and higher levels pack smaller.
TEST(ZipPacked, EntriesInflateToTheirDataAtEveryLevel)
{
    // Words in an order of their own, as prose repeats its words but not its sentences.
    const char* const words[] = {"滚滚", "长江", "东逝水", "浪花", "淘尽", "英雄", "是非", "成败", "转头空", "青山",
                                 "依旧在", "几度", "夕阳红", "白发", "渔樵", "江渚上", "惯看", "秋月", "春风", "一壶",
                                 "浊酒", "喜相逢", "古今", "多少事", "都付", "笑谈中", "，", "。", "\r\n　　"};
    std::string big;
    for (std::uint32_t x = 1; big.size() < 1500000;) {
        x = x * 1103515245u + 12345u;
        big += words[(x >> 16) % std::size(words)];
    }
    std::string noise(200000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    const struct {
        std::string data;
        int level;
        std::uint16_t method;
        std::uint16_t hint;  // flag bits 1 and 2
    } cases[] = {
        {"", -1, 0, 0},
        {"abcd", 12, 0, 0},
        {"abcde", -1, 8, 0},
        {big.substr(0, 65537), -1, 8, 0},
        {big, 1, 8, CZipEntryHeader::kFlagSuperFast},
        {big, 2, 8, CZipEntryHeader::kFlagFast},
        {big, 6, 8, 0},
        {big, 9, 8, CZipEntryHeader::kFlagMaximum},
        {big, 12, 8, CZipEntryHeader::kFlagMaximum},
        {big.substr(0, 1000), 0, 0, 0},
        {noise, -1, 8, 0},
        {big.substr(0, 5000), 13, 8, 0},  // out of range: the default
    };
    test::TempDir dir;
    const std::string path = dir.Path("book.jar");
    test::WriteFile(path, test::BuildStoredZip({{"rd.PNG", "icon"}}));
    CZipContainer zip;
    zip.SetClock(test::FixedTime);
    ASSERT_TRUE(zip.Open(path));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        ASSERT_TRUE(zip.AddPackedEntry(std::to_string(i + 1) + ".txt",
                                       PackEntryData(cases[i].data.data(), cases[i].data.size(), cases[i].level, ZSF_DEFAULT)));
    zip.Close();
    const std::string archive = test::ReadFile(path);
    const test::ParsedZip z = test::ParseZip(archive);
    ASSERT_EQ(z.entries.size(), 1 + std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const test::CentralRecord& e = z.entries[i + 1];
        const std::string& data = cases[i].data;
        EXPECT_EQ(e.method, cases[i].method);
        EXPECT_EQ(e.flags & 6, cases[i].hint);
        EXPECT_EQ(e.uncompressed, data.size());
        EXPECT_EQ(e.crc, test::Crc32(data));
        const std::string stored = test::LocalData(archive, e);
        EXPECT_EQ(stored.size(), e.compressed);
        EXPECT_TRUE((e.method == 0 ? stored : test::Inflate(stored, data.size())) == data);
    }
    EXPECT_LT(z.entries[9].compressed, z.entries[7].compressed) << "level 12 smaller than 6";
    EXPECT_LT(z.entries[7].compressed, z.entries[5].compressed) << "level 6 smaller than 1";
}

// Packing is the same on every thread, whatever the thread packed before: each thread keeps
// a compressor for the last level it used.
TEST(ZipPacked, SameBytesOnEveryThreadAndAfterOtherLevels)
{
    std::string text;
    for (unsigned i = 0; text.size() < 300000; ++i)
        text += "第" + std::to_string(i * 31 % 977) + "章　天下大势，分久必合，合久必分。\n";
    const std::string reference = PackEntryData(text.data(), text.size(), 12, ZSF_DEFAULT).data;
    std::string packed[2];
    std::thread others[2];
    for (int t = 0; t < 2; ++t) {
        others[t] = std::thread([&, t] {
            PackEntryData(text.data(), 1000, t == 0 ? 1 : 12, ZSF_DEFAULT);
            packed[t] = PackEntryData(text.data(), text.size(), 12, ZSF_DEFAULT).data;
        });
    }
    for (std::thread& t : others)
        t.join();
    EXPECT_TRUE(packed[0] == reference);
    EXPECT_TRUE(packed[1] == reference);
    EXPECT_EQ(PackEntryData(text.data(), text.size(), 6, ZSF_DEFAULT).data,
              PackEntryData(text.data(), text.size(), -1, ZSF_DEFAULT).data) << "6 is the default";
}

// The size of an archive is known before its entries are written: the template's size with
// a directory written anew, plus each packed entry's size, is the size of the file at close,
// and it stays exact after every add. Templates whose rewritten directory differs from the
// one they had are among the cases: a code-page record added to every new entry (Unix),
// one rebuilt for a template entry, a name kept in such a record that is longer than the
// stored one, bytes before the archive and a comment.
TEST(ZipSize, KnownBeforeTheEntriesAreWritten)
{
    const std::string longName = "长名字.txt";
    std::string nameRecord("\x4C\x5A", 2);
    test::PutU16(nameRecord, static_cast<std::uint32_t>(6 + longName.size()));
    nameRecord += std::string("\x01\x03", 2);
    test::PutU32(nameRecord, 936);
    nameRecord += longName;
    std::string codePageRecord("\x4C\x5A\x06\x00\x01\x01", 6);
    test::PutU32(codePageRecord, 936);
    const struct {
        const char* what;
        std::string templ;
    } templates[] = {
        {"plain", test::BuildStoredZip({{"Lumenread.class", "code"}, {"rd.PNG", "icon"}})},
        {"unix entries", test::BuildStoredZip({{"a.class", "code", 3}, {"b", "b", 3}})},
        {"code page of a template entry", test::BuildStoredZip({{"a.txt", "alpha", 0, codePageRecord}})},
        {"name in the code-page record", test::BuildStoredZip({{"a.txt", "alpha", 0, nameRecord}})},
        {"bytes before, a comment", test::BuildStoredZip({{"a", "a"}}, "jar comment", std::string(100, 'x'))},
    };
    std::string text;
    for (int i = 0; text.size() < 200000; ++i)
        text += "第" + std::to_string(i * 7919 % 1000) + "回　滚滚长江东逝水。\r\n";
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"META-INF\\MANIFEST.MF", "Manifest-Version: 1.0\r\n"}, {"index.txt", std::string("\xFF\xFEi\0", 4)},
        {"1.txt", ""}, {"2.txt", "abcd"}, {"10.txt", text}, {"11.txt", text.substr(0, 70000)},
    };
    for (const auto& t : templates) {
        SCOPED_TRACE(t.what);
        test::TempDir dir;
        const std::string path = dir.Path("book.jar");
        test::WriteFile(path, t.templ);
        CZipContainer zip;
        zip.SetClock(test::FixedTime);
        ASSERT_TRUE(zip.Open(path));
        std::vector<CZipPackedData> packed;
        std::uint64_t expected = zip.GetSizeWithNewDirectory();
        for (const auto& [name, data] : entries) {
            packed.push_back(PackEntryData(data.data(), data.size(), -1, ZSF_DEFAULT));
            expected += zip.GetPackedEntrySize(name, packed.back());
        }
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ASSERT_TRUE(zip.AddPackedEntry(entries[i].first, packed[i]));
            std::uint64_t rest = 0;
            for (std::size_t k = i + 1; k < entries.size(); ++k)
                rest += zip.GetPackedEntrySize(entries[k].first, packed[k]);
            EXPECT_EQ(zip.GetSizeWithNewDirectory() + rest, expected) << "after " << entries[i].first;
        }
        zip.Close();
        EXPECT_EQ(test::ReadFile(path).size(), expected);
    }
}

TEST_F(ZipAdd, PackedEntriesAreRefusedWhereOthersAre)
{
    const CZipPackedData packed = PackEntryData("data", 4, -1, ZSF_DEFAULT);
    EXPECT_FALSE(m_zip.AddPackedEntry("closed.txt", packed)) << "no archive open";
    OpenTemplate(test::BuildStoredZip({{"a", "a"}}));
    CZipEntryHeader templ;
    templ.SetFileName("open.txt");
    ASSERT_TRUE(m_zip.OpenNewEntry(templ, -1));
    EXPECT_FALSE(m_zip.AddPackedEntry("while-open.txt", packed)) << "an entry is being written";
    ASSERT_TRUE(m_zip.CloseNewEntry());
    ASSERT_TRUE(m_zip.AddPackedEntry("after.txt", packed));
    const test::ParsedZip z = CloseAndParse();
    ASSERT_EQ(z.entries.size(), 3u);
    EXPECT_EQ(Content(z.entries[2]), "data");
}

TEST(ZipBuild, SameInputsAndClockGiveTheSameBytes)
{
    test::TempDir dir;
    std::string results[2];
    for (std::string& result : results) {
        const std::string path = dir.Path("same.jar");
        test::WriteFile(path, test::BuildStoredZip({{"rd.PNG", "icon"}}));
        CZipContainer zip;
        zip.SetClock(test::FixedTime);
        ASSERT_TRUE(zip.Open(path));
        for (const char* text : {"alpha beta gamma", "", "abc"}) {
            CZipMemoryFile file;
            file.Write(text, static_cast<std::uint32_t>(std::strlen(text)));
            ASSERT_TRUE(zip.AddNewEntry(file, text));
        }
        zip.Close();
        result = test::ReadFile(path);
    }
    EXPECT_EQ(results[0], results[1]);
}

} // namespace
