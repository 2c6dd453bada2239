#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(CliOptions, FormsOfTheOptions)
{
    struct Case {
        Args args;
        std::string name, author, maker, templ, output;
        Args sources;
    } cases[] = {
        {{"-n", "书", "a.txt"}, "书", "", "", "", "", {"a.txt"}},
        {{"--name", "书", "-a", "作者", "-m", "青禾", "-t", "T.dat", "-o", "out", "a.txt", "dir"},
         "书", "作者", "青禾", "T.dat", "out", {"a.txt", "dir"}},
        {{"--name=书", "--author=a=b", "--template=t", "--output=o", "x"}, "书", "a=b", "", "t", "o", {"x"}},
        {{"-n书", "-a", "", "x"}, "书", "", "", "", "", {"x"}},
        // Options after the sources, a repeated option keeps its last value.
        {{"x", "-n", "one", "y", "-n", "two"}, "two", "", "", "", "", {"x", "y"}},
        // After "--" everything is a source, "-" alone is one too.
        {{"-n", "书", "--", "-a", "--name"}, "书", "", "", "", "", {"-a", "--name"}},
        {{"-n", "书", "-"}, "书", "", "", "", "", {"-"}},
        // A value may start with a dash.
        {{"-n", "-书-", "x"}, "-书-", "", "", "", "", {"x"}},
        // "inspect" is a command only in first place.
        {{"-n", "书", "inspect"}, "书", "", "", "", "", {"inspect"}},
        // One source may name the book itself.
        {{"a.txt"}, "", "", "", "", "", {"a.txt"}},
    };
    for (const Case& c : cases) {
        const CliOptions o = ParseCommandLine(c.args);
        EXPECT_EQ(o.command, CliOptions::Command::build);
        EXPECT_EQ(o.name, c.name);
        EXPECT_EQ(o.author, c.author);
        EXPECT_EQ(o.maker, c.maker);
        EXPECT_EQ(o.templatePath.value_or(""), c.templ);
        EXPECT_EQ(o.output.value_or(""), c.output);
        EXPECT_EQ(o.sources, c.sources);
    }
}

// --max-size: K and M are 1024 and 1024 × 1024 bytes, a fraction of them is cut to whole
// bytes, a bare number is bytes.
TEST(CliOptions, MaxSize)
{
    const std::pair<Args, std::uint64_t> cases[] = {
        {{"-n", "书", "x"}, 0},
        {{"--max-size", "300K", "-n", "书", "x"}, 307200},
        {{"--max-size=1M", "-n", "书", "x"}, 1048576},
        {{"--max-size", "1.5M", "-n", "书", "x"}, 1572864},
        {{"--max-size", "2mb", "-n", "书", "x"}, 2097152},
        {{"--max-size", "100KB", "-n", "书", "x"}, 102400},
        {{"--max-size", "0.3k", "-n", "书", "x"}, 307},
        {{"--max-size", "65536", "-n", "书", "x"}, 65536},
    };
    for (const auto& [args, bytes] : cases)
        EXPECT_EQ(ParseCommandLine(args).maxJarBytes, bytes) << testing::PrintToString(args);
}

// --compression: the three names, normal when not given, the last one given kept.
TEST(CliOptions, Compression)
{
    const std::pair<Args, BookCompression> cases[] = {
        {{"-n", "书", "x"}, BookCompression::normal},
        {{"--compression", "fast", "-n", "书", "x"}, BookCompression::fast},
        {{"-n", "书", "--compression=small", "x"}, BookCompression::small},
        {{"--compression", "small", "--compression", "normal", "-n", "书", "x"}, BookCompression::normal},
    };
    for (const auto& [args, compression] : cases)
        EXPECT_EQ(ParseCommandLine(args).compression, compression) << testing::PrintToString(args);
}

// --encoding: auto (nothing given) by default, the names in any case; --convert: none by
// default. Both apply to the chapters listing too.
TEST(CliOptions, EncodingAndConversion)
{
    const struct {
        Args args;
        std::optional<TextEncoding> encoding;
        TextConversion conversion;
    } cases[] = {
        {{"-n", "书", "x"}, std::nullopt, TextConversion::none},
        {{"--encoding", "big5", "-n", "书", "x"}, EncodingBig5, TextConversion::none},
        {{"--encoding=GBK", "-n", "书", "x"}, EncodingAnsi, TextConversion::none},
        {{"--encoding", "utf-8", "--encoding", "auto", "-n", "书", "x"}, std::nullopt, TextConversion::none},
        {{"--encoding", "UTF-16LE", "--convert", "t2s", "-n", "书", "x"}, EncodingUtf16Le, TextConversion::t2s},
        {{"--encoding", "utf-16be", "--convert=s2t", "-n", "书", "x"}, EncodingUtf16Be, TextConversion::s2t},
        {{"chapters", "--encoding", "big5", "--convert", "t2s", "x"}, EncodingBig5, TextConversion::t2s},
    };
    for (const auto& c : cases) {
        const CliOptions options = ParseCommandLine(c.args);
        EXPECT_EQ(options.reading.encoding, c.encoding) << testing::PrintToString(c.args);
        EXPECT_EQ(options.reading.conversion, c.conversion) << testing::PrintToString(c.args);
    }
}

TEST(CliOptions, Commands)
{
    EXPECT_EQ(ParseCommandLine({"--help"}).command, CliOptions::Command::help);
    EXPECT_EQ(ParseCommandLine({"-n", "x", "-h"}).command, CliOptions::Command::help);
    EXPECT_EQ(ParseCommandLine({"--version"}).command, CliOptions::Command::version);
    const CliOptions inspect = ParseCommandLine({"inspect", "书.jar"});
    EXPECT_EQ(inspect.command, CliOptions::Command::inspect);
    EXPECT_EQ(inspect.book, "书.jar");
    EXPECT_EQ(ParseCommandLine({"inspect", "--", "-b.jar"}).book, "-b.jar");
    const CliOptions chapters = ParseCommandLine({"chapters", "a.txt", "--why", "b.txt"});
    EXPECT_EQ(chapters.command, CliOptions::Command::chapters);
    EXPECT_EQ(chapters.sources, (std::vector<std::string> {"a.txt", "b.txt"}));
    EXPECT_TRUE(chapters.why);
    EXPECT_FALSE(ParseCommandLine({"chapters", "a.txt"}).why);
    const CliOptions clean = ParseCommandLine({"clean", "--why", "a.txt", "--convert", "t2s", "b.txt"});
    EXPECT_EQ(clean.command, CliOptions::Command::clean);
    EXPECT_EQ(clean.sources, (std::vector<std::string> {"a.txt", "b.txt"}));
    EXPECT_TRUE(clean.why);
    EXPECT_EQ(clean.reading.conversion, TextConversion::t2s);
    EXPECT_FALSE(ParseCommandLine({"-n", "书", "a.txt"}).reading.clean) << "the text as it is, by default";
    EXPECT_TRUE(ParseCommandLine({"-n", "书", "--clean", "a.txt"}).reading.clean);
}

TEST(CliOptions, ChapterPatternImpliesChapters)
{
    const CliOptions o = ParseCommandLine({"--chapter-pattern", "^第.+章", "a.txt"});
    EXPECT_TRUE(o.byChapters);
    ASSERT_TRUE(o.reading.chapterPattern);
    EXPECT_EQ(o.reading.chapterPattern->Text(), "^第.+章");
    const CliOptions chapters = ParseCommandLine({"chapters", "a.txt", "--chapter-pattern=^Episode"});
    ASSERT_TRUE(chapters.reading.chapterPattern);
    EXPECT_FALSE(ParseCommandLine({"-n", "书", "a.txt"}).reading.chapterPattern);
}

TEST(CliOptions, BadUsage)
{
    struct Case {
        Args args;
        std::string message;
    } cases[] = {
        {{}, "请填写书名!"},
        {{"a.txt", "b.txt"}, "请填写书名!"},  // one source may name the book; two need -n
        {{"--chapter-pattern", "^第(", "a.txt"}, "章节规则无效：^第(（第 4 个字符处：missing closing parenthesis）"},
        {{"chapters", "--chapter-pattern=", "a.txt"}, "章节规则无效：（章节规则是空的）"},
        {{"-n", "", "a.txt"}, "请填写书名!"},
        {{"--name=", "a.txt"}, "请填写书名!"},
        {{"-n", "书"}, "没有要生成的内容!请给出文本文件或文件夹。"},
        {{"-n"}, "选项 -n 需要一个值"},
        {{"-n", "书", "a.txt", "--output"}, "选项 --output 需要一个值"},
        {{"-x", "a.txt"}, "未知的选项：-x"},
        {{"--names=书", "a.txt"}, "未知的选项：--names=书"},
        {{"inspect"}, "inspect 需要一个电子书文件"},
        {{"inspect", "a.jar", "b.jar"}, "inspect 需要一个电子书文件"},
        {{"chapters"}, "chapters 需要至少一个文本文件"},
        {{"chapters", "--why"}, "chapters 需要至少一个文本文件"},
        {{"clean", "--why"}, "clean 需要至少一个文本文件"},
        {{"-n", "书", "--why", "a.txt"}, "未知的选项：--why"},
        {{"-n", "书", "--max-size", "0", "a.txt"}, "分卷大小必须大于 0：0"},
        {{"-n", "书", "--max-size", "0.0001K", "a.txt"}, "分卷大小必须大于 0：0.0001K"},
        {{"-n", "书", "--max-size"}, "选项 --max-size 需要一个值"},
        {{"-n", "书", "--max-size=9999999999999", "a.txt"}, "分卷大小太大：9999999999999"},
        {{"-n", "书", "--compression", "best", "a.txt"}, "压缩方式无效：best（可选 fast、normal、small）"},
        {{"-n", "书", "--compression=Fast", "a.txt"}, "压缩方式无效：Fast（可选 fast、normal、small）"},
        {{"-n", "书", "--compression"}, "选项 --compression 需要一个值"},
        {{"-n", "书", "--encoding", "big-5", "a.txt"}, "编码无效：big-5（可选 auto、gbk、big5、utf-8、utf-16le、utf-16be）"},
        {{"-n", "书", "--encoding="}, "编码无效：（可选 auto、gbk、big5、utf-8、utf-16le、utf-16be）"},
        {{"-n", "书", "--convert", "tw2s", "a.txt"}, "繁简转换方式无效：tw2s（可选 none、t2s、s2t）"},
        {{"-n", "书", "--convert"}, "选项 --convert 需要一个值"},
    };
    for (const Case& c : cases) {
        try {
            ParseCommandLine(c.args);
            ADD_FAILURE() << "accepted: " << testing::PrintToString(c.args);
        } catch (const CUsageError& e) {
            EXPECT_EQ(e.Message(), c.message) << testing::PrintToString(c.args);
        }
    }
}

TEST(CliOptions, SizesThatAreNoSizes)
{
    for (const char* size : {"", "K", "1.5", "1.", "1.K", "-3K", "300G", "1e6", "3 K", "0x100", "300KiB", ".5M"}) {
        try {
            ParseCommandLine({"-n", "书", "--max-size", size, "a.txt"});
            ADD_FAILURE() << "accepted: " << size;
        } catch (const CUsageError& e) {
            EXPECT_EQ(e.Message(),
                      "分卷大小无效：" + std::string(size) + "（例如 300K、1M、1.5M，或不带单位的字节数）");
        }
    }
}

} // namespace
