#include "cli/cli_run.h"
#include "jar/book_check.h"
#include "jar/book_journal.h"
#include "jar/book_temp_file.h"
#include "platform/path.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path U8(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

bool Exists(const std::string& path) { return fs::exists(U8(path)); }

const std::string kTemplate = test::BuildStoredZip({{"Lumenread.class", "code"}, {"rd.PNG", "icon"}});

// Text that deflate cannot shrink much.
std::string Noise(std::size_t length, unsigned seed)
{
    std::string text;
    while (text.size() < length)
        text += static_cast<char>('!' + ((seed = seed * 1103515245u + 12345u) >> 16) % 90);
    return text;
}

struct Result {
    int code;
    std::string out, err;
};

class CliRun : public testing::Test {
protected:
    void SetUp() override
    {
        m_previousDir = fs::current_path();
        fs::create_directories(U8(m_dir.Path("src/sub.txt")));
        test::WriteFile(m_template, kTemplate);
        // The same three encodings, named so that only natural order puts them 1, 2, 10.
        test::WriteFile(m_dir.Path("src/10.txt"), "\xEF\xBB\xBF第十章\r\n完。");
        test::WriteFile(m_dir.Path("src/2.txt"), "\xB5\xDA\xB6\xFE\xD5\xC2\r\n");  // GBK 第二章
        test::WriteFile(m_dir.Path("src/1.txt"), std::string("\xFF\xFE\x2C\x7B\x00\x4E\xE0\x7A", 8));  // 第一章
        test::WriteFile(m_dir.Path("src/notes.md"), "not a source");
        fs::create_directories(U8(m_dir.Path("out")));
    }
    void TearDown() override { fs::current_path(m_previousDir); }

    Result Run(const std::vector<std::string>& args, const std::string& executable = {})
    {
        std::ostringstream out, err;
        CliContext context;
        context.executablePath = executable;
        const int code = RunCli(args, context, out, err);
        return {code, out.str(), err.str()};
    }

    test::TempDir m_dir;
    std::string m_template = m_dir.Path("RDbook.dat");
    fs::path m_previousDir;
};

TEST_F(CliRun, FolderInNaturalOrderThroughTheWholeRoad)
{
    const std::string book = m_dir.Path("out/书.jar");
    const Result r = Run({"-n", "书", "-a", "作者", "-t", m_template, "-o", book, m_dir.Path("src")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line))
        got.push_back(line);
    ASSERT_EQ(got.size(), 5u) << r.out;
    EXPECT_EQ(got[0], "添加：1（UTF-16LE，1 部分）");
    EXPECT_EQ(got[1], "添加：2（GBK，1 部分）");
    EXPECT_EQ(got[2], "添加：10（UTF-8，1 部分）");
    EXPECT_EQ(got[3], "已生成：" + book + "（3 部分，" + std::to_string(test::ReadFile(book).size()) + " 字节）");
    EXPECT_EQ(got[4], "已生成：" + m_dir.Path("out/书.jad"));

    const BookInspection b = InspectBook(book);
    EXPECT_TRUE(b.Ok());
    EXPECT_EQ(b.indexLines, (std::vector<std::string> {"作者", "qinghe.example", "书", "1", "2", "10"}));
    const test::ParsedZip z = test::ParseZip(test::ReadFile(book));
    const std::string bytes = test::ReadFile(book);
    auto content = [&bytes](const test::CentralRecord& e) {
        const std::string raw = test::LocalData(bytes, e);
        return e.method == 8 ? test::Inflate(raw, e.uncompressed) : raw;
    };
    EXPECT_EQ(content(z.entries[4]), "第一章");
    EXPECT_EQ(content(z.entries[5]), "第二章\n");
    EXPECT_EQ(content(z.entries.at(6)), "第十章\n完。") << "mark removed, CR LF now LF";
}

// --chapters: each source cut at its headings, the index titled with them; a source
// without chapters is read as before.
TEST_F(CliRun, ChaptersSplitEverySourceAtItsHeadings)
{
    test::WriteFile(m_dir.Path("novel.txt"), "楔子\r\n开篇。\r\n第一回 雨夜\r\n正文一。\r\n第二回 归人\r\n正文二。");
    const std::string book = m_dir.Path("out/书.jar");
    const Result r = Run({"--chapters", "-n", "书", "-t", m_template, "-o", book, m_dir.Path("novel.txt"),
                          m_dir.Path("src/10.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("已生成")),
              "添加：novel（UTF-8，3 部分，3 章）\n添加：10（UTF-8，1 部分，未找到章节）\n");
    const BookInspection b = InspectBook(book);
    EXPECT_TRUE(b.Ok());
    EXPECT_EQ(b.indexLines, (std::vector<std::string> {"佚名", "qinghe.example", "书", "楔子", "第一回 雨夜", "第二回 归人", "10"}));
}

// With --max-size a book over the limit is volumes: every file written is listed with the
// parts its jar holds, an older volume above the new ones as removed, then the count.
TEST_F(CliRun, VolumesListEveryFileWritten)
{
    fs::create_directories(U8(m_dir.Path("novel")));
    for (unsigned i = 1; i <= 4; ++i)
        test::WriteFile(m_dir.Path("novel/" + std::to_string(i) + ".txt"), Noise(3000, i));
    ASSERT_EQ(Run({"-n", "书", "--max-size", "4000", "-t", m_template, "-o", m_dir.Path("out"), m_dir.Path("novel")}).code, 0)
        << "the older book, in four volumes";
    fs::remove(U8(m_dir.Path("novel/4.txt")));
    test::WriteFile(m_dir.Path("out/书(5).jar"), "the user's, not a volume");
    const Result r = Run({"-n", "书", "--max-size", "4000", "-t", m_template, "-o", m_dir.Path("out"),
                          m_dir.Path("novel")});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string expected = "添加：1（GBK，1 部分）\n添加：2（GBK，1 部分）\n添加：3（GBK，1 部分）\n";
    for (int v = 1; v <= 3; ++v) {
        const std::string jar = JoinPath(m_dir.Path("out"), "书(" + std::to_string(v) + ").jar");
        const std::uint64_t bytes = test::ReadFile(jar).size();
        EXPECT_LE(bytes, 4000u);
        expected += "已生成：" + jar + "（第 " + std::to_string(v) + " 部分，" + std::to_string(bytes) + " 字节）\n";
        expected += "已生成：" + JoinPath(m_dir.Path("out"), "书(" + std::to_string(v) + ").jad") + "\n";
    }
    expected += "已删除旧的分卷：" + JoinPath(m_dir.Path("out"), "书(4).jar") + "\n已删除旧的分卷：" +
                JoinPath(m_dir.Path("out"), "书(4).jad") + "\n共 3 卷，3 部分，每卷不超过 4000 字节。\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(U8(m_dir.Path("out"))), fs::directory_iterator()), 7);
    EXPECT_EQ(test::ReadFile(m_dir.Path("out/书(5).jar")), "the user's, not a volume");
    EXPECT_EQ(Run({"inspect", m_dir.Path("out/书(2).jar")}).code, 0);
}

TEST_F(CliRun, DefaultTemplateAndOutput)
{
    // RDbook.dat in the current folder, the book written there.
    fs::current_path(U8(m_dir.Path("")));
    Result r = Run({"-n", "书", m_dir.Path("src/2.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Exists(m_dir.Path("书.jar")));

    // None in the current folder: the one beside the program; -o names a folder.
    fs::current_path(U8(m_dir.Path("out")));
    fs::create_directories(U8(m_dir.Path("bin")));
    test::WriteFile(m_dir.Path("bin/RDbook.dat"), kTemplate);
    r = Run({"-n", "别处", "-o", m_dir.Path("src"), m_dir.Path("src/2.txt")}, m_dir.Path("bin/bookmaker-cli"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Exists(m_dir.Path("src/别处.jar")));
    EXPECT_FALSE(Exists(m_dir.Path("out/别处.jar")));

    // Neither: the template of the current folder is missing.
    r = Run({"-n", "书", m_dir.Path("src/2.txt")}, m_dir.Path("elsewhere/bookmaker-cli"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, std::string("找不到电子书模板文件 RDbook.dat，无法生成电子书!") + "\n  RDbook.dat\n");
}

// Each failure: its exit code and message, and no book.
TEST_F(CliRun, Failures)
{
    const std::string book = m_dir.Path("out/书.jar");
    const std::string src = m_dir.Path("src");
    fs::create_directories(U8(m_dir.Path("empty")));
    test::WriteFile(m_dir.Path("empty/a.md"), "x");
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int code;
        std::string message;  // the first line of stderr
    } cases[] = {
        {"no name for two sources", {"-t", m_template, "-o", book, src, m_dir.Path("src/2.txt")}, 2, "请填写书名!"},
        {"no name and a source that gives none", {"-t", m_template, "-o", book, m_dir.Path("src/.txt")}, 2, "请填写书名!"},
        {"a bad chapter pattern", {"-n", "书", "--chapter-pattern", "第(章", "-t", m_template, "-o", book, src}, 2,
         "章节规则无效：第(章（第 4 个字符处：missing closing parenthesis）"},
        {"unknown option", {"-n", "书", "-q", src}, 2, "未知的选项：-q"},
        {"book over its template", {"-n", "书", "-t", m_template, "-o", m_template, src}, 2,
         "电子书不能写在模板上：" + m_template},
        {"missing template", {"-n", "书", "-t", m_dir.Path("none.dat"), "-o", book, src}, 1, "找不到电子书模板文件 RDbook.dat，无法生成电子书!"},
        {"template not a zip", {"-n", "书", "-t", m_dir.Path("src/2.txt"), "-o", book, src}, 1,
         "电子书模板文件 RDbook.dat 不是有效的 jar 文件，无法生成电子书!"},
        {"name a file cannot have", {"-n", "a|b", "-t", m_template, "-o", book, src}, 1, "书名“a|b”不能包含下列字符：\\ / : * ? \" < > |"},
        {"missing source", {"-n", "书", "-t", m_template, "-o", book, src, m_dir.Path("src/none.txt")}, 1,
         "找不到文件：" + m_dir.Path("src/none.txt")},
        {"folder without texts", {"-n", "书", "-t", m_template, "-o", book, m_dir.Path("empty")}, 1,
         "没有要生成的内容!"},
        {"output folder missing", {"-n", "书", "-t", m_template, "-o", m_dir.Path("none/书.jar"), src}, 1, ""},
        {"a size that is no size", {"-n", "书", "--max-size", "3G", "-t", m_template, "-o", book, src}, 2,
         "分卷大小无效：3G（例如 300K、1M、1.5M，或不带单位的字节数）"},
        {"a limit below the template", {"-n", "书", "--max-size", "100", "-t", m_template, "-o", book, src}, 1,
         "分卷大小 100 字节比电子书模板 RDbook.dat（" + std::to_string(kTemplate.size()) +
             " 字节）还小，装不下任何内容，请选更大的分卷大小。"},
        {"a part over the limit", {"-n", "书", "--max-size", "1K", "-t", m_template, "-o", book, m_dir.Path("big")},
         1, "第 1 部分“1”单独成卷也超过了分卷大小 1 KB（1024 字节）。分卷大小至少要 "},
        {"a book named like its JAD", {"-n", "书", "-t", m_template, "-o", m_dir.Path("out/书.jad"), src}, 2,
         "电子书的文件名不能以 .jad 结尾，那是它的描述文件：" + m_dir.Path("out/书.jad")},
        {"an output name Windows would cut", {"-n", "书", "-t", m_template, "-o", m_dir.Path("out/x.jar "), src}, 2,
         "输出文件名不能以句点或空格结尾（Windows 会把它们去掉）：“x.jar ”"},
    };
    fs::create_directories(U8(m_dir.Path("big")));
    test::WriteFile(m_dir.Path("big/1.txt"), Noise(3000, 1));
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << c.what << ": " << r.err;
        if (!c.message.empty()) {
            EXPECT_EQ(r.err.substr(0, std::min(r.err.find('\n'), c.message.size())), c.message) << c.what;
        }
        EXPECT_FALSE(r.err.empty()) << c.what;
        EXPECT_FALSE(Exists(book)) << c.what;
        EXPECT_EQ(test::ReadFile(m_template), kTemplate) << c.what;
    }
}

// A template made by the JDK's jar tool holds a manifest already: the book would hold two.
TEST_F(CliRun, DamagedTemplateWritesNothing)
{
    const std::string templ = m_dir.Path("jar-tool.dat");
    test::WriteFile(templ, test::ReadFile(test::FixturePath("jar/template/damaged-holds-manifest.zip")));
    const Result r = Run({"-n", "书", "-t", templ, "-o", m_dir.Path("out/书.jar"), m_dir.Path("src")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("电子书模板文件 RDbook.dat 已损坏（已有电子书要添加的条目 META-INF/MANIFEST.MF），无法生成电子书!\n  " +
                         templ + "\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out.find("已生成"), std::string::npos) << r.out;
    EXPECT_EQ(std::distance(fs::directory_iterator(U8(m_dir.Path("out"))), fs::directory_iterator()), 0);
}

// A picture named on the command line stops the build; one found in a folder (named .txt)
// is left out with a note, and the book is made of the texts.
TEST_F(CliRun, FileThatIsNotTextStopsWhenNamedIsSkippedInAFolder)
{
    const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + std::string(100, '\x7F');
    const std::string book = m_dir.Path("out/书.jar");
    test::WriteFile(m_dir.Path("图.png"), png);
    Result r = Run({"-n", "书", "-t", m_template, "-o", book, m_dir.Path("src/2.txt"), m_dir.Path("图.png")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "不是文本文件：" + m_dir.Path("图.png") + "\n");
    EXPECT_FALSE(Exists(book));

    test::WriteFile(m_dir.Path("src/3.txt"), png);
    r = Run({"-n", "书", "-a", "作者", "-t", m_template, "-o", book, m_dir.Path("src")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err.rfind("不是文本文件：", 0), 0u) << r.err;
    const std::string note = "3.txt（已跳过）\n";
    EXPECT_EQ(r.err.substr(r.err.size() - std::min(r.err.size(), note.size())), note) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(InspectBook(book).indexLines,
              (std::vector<std::string> {"作者", "qinghe.example", "书", "1", "2", "10"}));
}

// bookmaker-cli chapters: the parts --chapters makes, each with the line it begins on and its
// characters, and with --why the lines refused as headings; a file without chapters is
// listed as it would be imported.
TEST_F(CliRun, ChaptersListsThePartsAndWhy)
{
    const std::string novel = m_dir.Path("小说.txt");
    test::WriteFile(novel, "书名\r\n第一章 甲\r\n　　他走了。\r\n第三回里说的事，后来\r\n第二章 乙\r\n　　他来了。");
    const std::string plain = m_dir.Path("散文.txt");
    test::WriteFile(plain, "\xCE\xC4\xD7\xD6\xA1\xA3");  // GBK 文字。
    const Result r = Run({"chapters", novel, plain, "--why"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, novel + "\n  UTF-8，3 部分，3 章\n"
                     "  序号    行号      字数  标题\n"
                     "     1       1         4  小说\n"
                     "     2       2        27  第一章 甲\n"
                     "     3       5        13  第二章 乙\n"
                     "  未采用的标题行：\n"
                     "    第 4 行：第三回里说的事，后来（标题后接着句子，是正文）\n" +
                     plain + "\n  GBK，1 部分，未找到章节（按不分章节导入）\n"
                     "  序号    行号      字数  标题\n"
                     "     1       1         3  散文\n"
                     "  未采用的标题行：无\n");
    const Result missing = Run({"chapters", m_dir.Path("none.txt")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "打开文件出错!\n  " + m_dir.Path("none.txt") + "\n");
}

// The user's own pattern: the lines it matches are the headings; a source it matches nothing
// in, or where it backtracks past its limit, is imported whole with a note saying which.
TEST_F(CliRun, ChapterPatternDecidesTheHeadings)
{
    const std::string novel = m_dir.Path("novel.txt");
    test::WriteFile(novel, "说明\r\nEpisode 1：谁？\r\n正文一。\r\n第一章 甲\r\n正文。\r\n  Episode 2  \r\n正文二。");
    const std::string runaway = m_dir.Path("runaway.txt");
    test::WriteFile(runaway, "Episode 1\n" + std::string(400, 'a') + "!\n正文。");
    // One pattern for three files; (a+)+$ backtracks without end on the long line of the third.
    const std::string pattern = "^(Episode \\d+|(a+)+$)";
    Result r = Run({"chapters", "--chapter-pattern", pattern, novel, m_dir.Path("src/10.txt"), runaway});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, novel + "\n  UTF-8，3 部分，3 章\n"
                     "  序号    行号      字数  标题\n"
                     "     1       1         4  novel\n"
                     "     2       2        32  Episode 1：谁？\n"
                     "     3       6        19  Episode 2\n" +
                     m_dir.Path("src/10.txt") + "\n  UTF-8，1 部分，章节规则“" + pattern + "”没有匹配任何一行（按不分章节导入）\n"
                     "  序号    行号      字数  标题\n"
                     "     1       1         7  10\n" +
                     runaway + "\n  UTF-8，1 部分，章节规则在第 2 行匹配时回溯过多，已放弃这条规则（按不分章节导入）\n"
                     "  序号    行号      字数  标题\n"
                     "     1       1       415  runaway\n");
    // The pattern implies --chapters.
    const std::string book = m_dir.Path("out/书.jar");
    r = Run({"-n", "书", "--chapter-pattern=^(Episode|第)", "-t", m_template, "-o", book, novel});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("已生成")), "添加：novel（UTF-8，4 部分，4 章）\n");
    EXPECT_EQ(InspectBook(book).indexLines,
              (std::vector<std::string> {"佚名", "qinghe.example", "书", "novel", "Episode 1：谁？", "第一章 甲", "Episode 2"}));
    // The same pattern, with (a+)+ on the long line: refused there, the source imported whole.
    r = Run({"-n", "书", "--chapter-pattern", "^(Episode|(a+)+$)", "-t", m_template, "-o", book, runaway});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("已生成")), "添加：runaway（UTF-8，1 部分，章节规则在第 2 行匹配时回溯过多，已放弃这条规则）\n");
}

// One source may name the book and its author; what the command gives wins.
TEST_F(CliRun, BookNameAndAuthorFromTheSource)
{
    const std::string named = m_dir.Path("《风起》作者：某人.txt");
    test::WriteFile(named, "第一章\r\n正文。");
    const std::string labelled = m_dir.Path("download.txt");
    test::WriteFile(labelled, "\xCA\xE9\xC3\xFB\xA3\xBA\xD4\xC6\xD3\xBF\r\n\xD7\xF7\xD5\xDF\xA3\xBA\xC4\xB3\xC8\xCB\r\n");  // GBK 书名：云涌 作者：某人
    const struct {
        std::vector<std::string> args;
        std::string said;
        const char* jar;
        const char* author;
    } cases[] = {
        {{named}, "书名：风起（取自来源）\n作者：某人（取自来源）\n", "风起.jar", "某人"},
        {{"-n", "书", named}, "作者：某人（取自来源）\n", "书.jar", "某人"},
        {{"-a", "别人", named}, "书名：风起（取自来源）\n", "风起.jar", "别人"},
        {{labelled}, "书名：云涌（取自来源）\n作者：某人（取自来源）\n", "云涌.jar", "某人"},
        {{m_dir.Path("src/10.txt")}, "书名：10（取自来源）\n", "10.jar", "佚名"},
        {{m_dir.Path("src")}, "书名：src（取自来源）\n", "src.jar", "佚名"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"-t", m_template, "-o", m_dir.Path("out")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = Run(args);
        ASSERT_EQ(r.code, 0) << c.jar << r.err;
        EXPECT_EQ(r.out.substr(0, c.said.size()), c.said) << c.jar;
        const BookInspection b = InspectBook(m_dir.Path("out/") + c.jar);
        EXPECT_TRUE(b.Ok()) << c.jar;
        ASSERT_FALSE(b.indexLines.empty()) << c.jar;
        EXPECT_EQ(b.indexLines[0], c.author) << c.jar;
    }
}

// bookmaker-cli clean: each change --clean would make, by the file's line numbers; --why adds
// the reasons and the wrap width. --clean makes the book of the cleaned text, its chapters
// found after the site's line is gone.
TEST_F(CliRun, CleanListsTheChangesAndCleansTheBook)
{
    const std::string text = m_dir.Path("下载.txt");
    test::WriteFile(text, "更多精彩小说请访问 www.example.com\r\n第一章 雨夜\r\n"
                          "　　沪生经常去新闸路，看女朋友梅瑞。两个\r\n人是法律夜校同学，吃过几趟咖啡，就开始\r\n"
                          "谈。八十年代男女见面，习惯坐私人小咖，\r\n地方暗，静，但有蟑螂。一天夜里，两人坐\r\n"
                          "进一家小咖啡馆。\r\n第二章 归人\r\n　　他笑了。www.example.com\r\n");
    const Result r = Run({"clean", text, "--why"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, text + "\n  UTF-8，删除网站行 1 行，删去行中网站文字 1 处，折行接合 1 段\n"
                     "  折行宽度：40（半角字符宽；到这个宽度的行与下一行接合，下一行缩进、是标题或列表项时除外）\n"
                     "  删除 第 1 行：更多精彩小说请访问 www.example.com（网址和网站名）\n"
                     "  接合 第 3-7 行\n"
                     "  删去 第 9 行中：www.example.com（接在正文后或括号里的网址和推广语）\n");
    const std::string book = m_dir.Path("out/书.jar");
    const Result built = Run({"--chapters", "--clean", "-n", "书", "-t", m_template, "-o", book, text});
    ASSERT_EQ(built.code, 0) << built.err;
    const BookInspection b = InspectBook(book);
    EXPECT_EQ(b.indexLines, (std::vector<std::string> {"佚名", "qinghe.example", "书", "第一章 雨夜", "第二章 归人"}));
    const Result missing = Run({"clean", m_dir.Path("none.txt")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "打开文件出错!\n  " + m_dir.Path("none.txt") + "\n");
}

// Ctrl+C while the book is written: the build stops, reports it and leaves the older book.
TEST_F(CliRun, CancelledBuildLeavesNothing)
{
    const std::string book = m_dir.Path("out/书.jar");
    test::WriteFile(book, "an older book");
    int calls = 0;
    CliContext context;
    context.stderrIsTerminal = true;
    context.clock = [&calls] {
        if (++calls == 4)  // the start, then one call per entry written
            RequestCancel();
        return 0.0;
    };
    std::ostringstream out, err;
    const int code = RunCli({"-n", "书", "-t", m_template, "-o", book, m_dir.Path("src")}, context, out, err);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(err.str(), "已取消生成电子书。\n");
    EXPECT_EQ(test::ReadFile(book), "an older book");
    EXPECT_EQ(std::distance(fs::directory_iterator(U8(m_dir.Path("out"))), fs::directory_iterator()), 1);
}

// The book never replaces a file it is made from, however the output is spelled: refused as a
// usage error before anything is read, and every file stays as it was.
TEST_F(CliRun, TheBookNeverReplacesItsSourcesOrTemplate)
{
    const std::string src = m_dir.Path("src");
    const std::string two = m_dir.Path("src/2.txt");
    fs::create_hard_link(U8(two), U8(m_dir.Path("out/link.txt")));
#ifndef _WIN32
    fs::create_symlink(U8(two), U8(m_dir.Path("out/symlink.txt")));
#endif
    const std::string before = test::ReadFile(two);
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {"a named source", {"-o", two, two}, "电子书不能写在它的来源文件上：" + two + "，请换一个书名或输出文件。"},
        {"a file of a source folder", {"-o", two, src}, "电子书不能写在它的来源文件上：" + two + "，请换一个书名或输出文件。"},
        {"spelled through ..", {"-o", m_dir.Path("out/../src/./2.txt"), src}, ""},
        {"a hard link to a source", {"-o", m_dir.Path("out/link.txt"), two}, ""},
#ifndef _WIN32
        {"a symbolic link to a source", {"-o", m_dir.Path("out/symlink.txt"), two}, ""},
#endif
        {"the template", {"-o", m_template, src}, "电子书不能写在模板上：" + m_template},
        {"the template spelled otherwise", {"-o", m_dir.Path("src/../RDbook.dat"), src}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"-n", "书", "-t", m_template};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = Run(args);
        EXPECT_EQ(r.code, 2) << r.err;
        if (!c.message.empty()) {
            EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.message);
        }
        EXPECT_EQ(r.out, "");  // nothing was read
        EXPECT_EQ(test::ReadFile(two), before);
        EXPECT_EQ(test::ReadFile(m_template), kTemplate);
    }
}

#ifndef _WIN32
// Pipes and devices: refused with a message at once, never waited on, never replaced.
TEST_F(CliRun, PipesAndDevicesAreRefused)
{
    const std::string fifo = m_dir.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string book = m_dir.Path("out/书.jar");
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {"a FIFO nobody writes to", {"-n", "书", "-t", m_template, "-o", book, fifo}, "不是普通文件（管道、设备等）：" + fifo},
        {"a device", {"-n", "书", "-t", m_template, "-o", book, "/dev/null"}, "不是普通文件（管道、设备等）：/dev/null"},
        {"a FIFO as template", {"-n", "书", "-t", fifo, "-o", book, m_dir.Path("src")},
         "不是普通文件（管道、设备等）：" + fifo},
        {"a FIFO as output", {"-n", "书", "-t", m_template, "-o", fifo, m_dir.Path("src")},
         "这个位置不是普通文件，不能写入电子书：" + fifo},
        {"a device as output", {"-n", "书", "-t", m_template, "-o", "/dev/null", m_dir.Path("src")},
         "这个位置不是普通文件，不能写入电子书：/dev/null"},
        {"inspect on a FIFO", {"inspect", fifo}, "不是普通文件（管道、设备等）：" + fifo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = Run(c.args);
        EXPECT_EQ(r.code, 1) << r.err;
        if (!c.message.empty()) {
            EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.message);
        }
        EXPECT_FALSE(Exists(book));
        EXPECT_TRUE(fs::is_fifo(U8(fifo)));
    }
}

// A name or a file name in GBK bytes (a GBK terminal, a GBK folder on Linux) is read as GBK.
TEST_F(CliRun, GbkNamesAreDecoded)
{
    const std::string gbkFile = m_dir.Path("src/\xB5\xDA\xC8\xFD.txt");  // 第三
    test::WriteFile(gbkFile, "text");
    const std::string book = m_dir.Path("out/x.jar");
    const Result r = Run({"-n", "\xCA\xE9", "-a", "\xD7\xF7\xD5\xDF", "-t", m_template, "-o", book, gbkFile});  // 书, 作者
    ASSERT_EQ(r.code, 0) << r.err;
    const BookInspection b = InspectBook(book);
    EXPECT_TRUE(b.Ok());
    EXPECT_EQ(b.indexLines, (std::vector<std::string> {"作者", "qinghe.example", "书", "第三"}));
}
#endif

// A name as long as a file name may be builds (its temporary file is no longer), and the
// temporary file a killed build's record names is cleared away and said so; a file that
// only has such a name stays.
TEST_F(CliRun, LongNamesAndLeftoversOfKilledBuilds)
{
    const std::string name(251, 'a');  // 255 bytes with ".jar"
    const std::string leftoverName = TempFileName(name + ".jar", 0x7FFFFFF0u, 1);
    const std::string leftover = m_dir.Path("out/" + leftoverName);
    const std::string users = m_dir.Path("out/" + TempFileName(name + ".jar", 0x7FFFFFF0u, 2));
    test::WriteFile(leftover, "a killed build's");
    test::WriteFile(users, "the user's");
    test::WriteFile(m_dir.Path("out/" + TempFileName(name + ".jar", 0x7FFFFFF0u, 0)),
                    kJournalMagic + std::string("B\0", 2) + name + ".jar" + std::string(1, '\0') +
                        std::string("T\0", 2) + leftoverName + std::string(1, '\0'));
    const Result r = Run({"-n", name, "-t", m_template, "-o", m_dir.Path("out"), m_dir.Path("src")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Exists(m_dir.Path("out/" + name + ".jar")));
    EXPECT_FALSE(Exists(leftover));
    const std::size_t said = r.out.find("已删除中断的生成留下的临时文件：");
    EXPECT_TRUE(said != std::string::npos && r.out.find(leftoverName + "\n", said) != std::string::npos) << r.out;
    EXPECT_EQ(test::ReadFile(users), "the user's");
    EXPECT_TRUE(Exists(m_dir.Path("out/" + name + ".jad")));
    EXPECT_EQ(std::distance(fs::directory_iterator(U8(m_dir.Path("out"))), fs::directory_iterator()), 3);
}

TEST_F(CliRun, InspectChecksTheBook)
{
    const std::string book = m_dir.Path("out/书.jar");
    ASSERT_EQ(Run({"-n", "书", "-t", m_template, "-o", book, m_dir.Path("src")}).code, 0);
    Result r = Run({"inspect", book});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("  1.txt  1  9 字节\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  3.txt  10  16 字节\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("描述文件：" + m_dir.Path("out/书.jad") + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("检查结果：正确"), std::string::npos);

    // A JAD that no longer describes the book.
    test::WriteFile(m_dir.Path("out/书.jad"), "MIDlet-Name: 书\r\nMIDlet-Jar-Size: 1\r\n");
    r = Run({"inspect", book});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("问题：描述文件 书.jad 缺少 MIDlet-Vendor\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("问题：描述文件 书.jad 的 MIDlet-Jar-Size 是 1，电子书有 "), std::string::npos) << r.out;

    // The CRC recorded for 1.txt, in both its headers, no longer matches its data.
    std::string bytes = test::ReadFile(book);
    const test::CentralRecord part = test::ParseZip(bytes).entries.at(4);
    bytes[part.at + 16] ^= 1;
    bytes[part.offset + 14] ^= 1;
    test::WriteFile(book, bytes);
    r = Run({"inspect", book});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("CRC 不符"), std::string::npos) << r.out;

    r = Run({"inspect", m_dir.Path("src/2.txt")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "不是有效的 jar 文件，或者文件已损坏：" + m_dir.Path("src/2.txt") + "\n");
}

} // namespace
