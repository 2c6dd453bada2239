// Text clean-up: which lines are a download site's and which are the story's, how
// hard-wrapped paragraphs are joined and what is left alone, and the even layout.
#include "sources/text_clean.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kIndent = "\u3000\u3000";

// The lines of a cleaned text (CR LF ends each).
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find("\r\n", from);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

// A story line before and after the line tested, so that it is judged inside a text.
std::string Cleaned(const std::string& line)
{
    const std::string text = "　　他走进院子。\r\n" + line + "\r\n　　天黑了。\r\n";
    const std::vector<std::string> lines = Lines(CleanText(text));
    if (lines.size() == 3 && lines.front() == kIndent + "他走进院子。" && lines.back() == kIndent + "天黑了。")
        return lines[1];
    if (lines.size() == 2)
        return "(removed)";
    return "(broken: " + CleanText(text) + ")";
}

TEST(CleanSiteLines, SiteLinesAreRemovedWhole)
{
    const char* const lines[] = {
        "下书网 http://www.xiashu.cc",
        "更多精彩小说请访问 www.example.com",
        "手机用户请访问 m.example.com",
        "百度云搜索 www.example.com 免费下载",
        "本书由某某网整理",
        "本书由“万卷书酷”电子书自网络收集整理制作，版权归原作者所有",
        "ＷＷＷ.xiＡosＨuoＴＸＴ.net",                     // full-width letters
        "w w w/xiao shu otx t.net",                     // spaced out
        "www。xiaoshuotxt。net",                         // ideographic full stops
        "书包 网 bookbao.com 想看书来书包网",
        "《将军吟》查看《将军吟》书评和最新更新以及相关书籍推荐请到《将军吟》专题网址http://www.xiaoshuotxt.com/mingzhu/8758/",
        "TXT小说天堂  http://www.xiaoshuotxt.net，最有文艺气息的文学网站，提供经典的文学名著、武侠小说、言情小说、"
        "人文社科类书籍在线阅读，所有TXT电子书手机免费下载阅读，我们提供给您的小说不求最多，但求最经典最完整",
        "声明:本书由手机小说网(www.iphone-ebook.cn)自网络收集整理制作,版权归原作者和出版社所有,下载后请在24小时内删除."
        "如果喜欢,请购买正版.",
        "☆http://www.zxtxt.com☆",
        "  　www.example.com   ",  // spaces around
    };
    for (const char* line : lines)
        EXPECT_EQ(Cleaned(line), "(removed)") << line;
}

TEST(CleanSiteLines, SiteTextGluedToTheStoryIsCutAndTheStoryKept)
{
    const struct {
        const char* line;
        const char* kept;
    } cases[] = {
        {"“你看赵大明，到底是工人的儿子。”t!xt-小说天\\堂www.xiaoshuotxt.net", "　　“你看赵大明，到底是工人的儿子。”"},
        {"黑色的轿车开走了……｛t｝｛xt｝｛小｝｛说｝｛天｝｛堂w w w/xiao shu otx t.net", "　　黑色的轿车开走了……"},
        {"他站在门口。（／t／／xt｜小／／说／//天//堂）wＷw．xiＡoshＵotxt.neｔ", "　　他站在门口。"},
        {"第一章 雨夜 八一中文网 www.81zw.com", "第一章 雨夜"},
        {"第二十三章www.xiaoshuotxt.com", "第二十三章"},
        {"老者说：「这是民意。」［华夏网·电子书下载乐园—Ｗww.China8.com.cn］白嘉轩点点头。",
         "　　老者说：「这是民意。」白嘉轩点点头。"},
        {"新闻。[网罗电子书：www.WRbook.com]", "　　新闻。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cleaned(c.line), c.kept) << c.line;
}

TEST(CleanSiteLines, StoryAndAuthorsNotesAreNeverRemoved)
{
    const char* const lines[] = {
        "“你上www.baidu.com搜一下就知道了。”",                 // speech
        "他打开电脑，登录www.example.com，搜索最新的消息。",  // a person does it
        "她说网址是 www.example.com",
        "在接受www.wired.com网站的采访时，乔布斯说，这款产品改变了一切。",
        "这是我写在自己博客网站思想国（http://xiongpeiyun.over-blog.com）上的一句话，从理想国到思想国，先要解释两个国的源起。",
        "Finally, more influence-relevant information can be obtained at Influenceatwork.com.",
        "PS：本书首发起点中文网 www.qidian.com，求月票！",  // the author's note
        "求月票，求推荐票！",
        "本书由人民文学出版社出版。",                        // a publisher, not a site
        "本站的列车晚点了。",
        "他在网上下载了一本小说，整理好书架。",
        "小说下载完了，她合上电脑。",
        "1923年，他到了上海。",
        "E=mc2 是他写在黑板上的。",
    };
    for (const char* line : lines)
        EXPECT_EQ(Cleaned(line), kIndent + line) << line;
}

// Text wrapped at `width` display columns (ideographs 2), as a download site cuts it.
std::string Wrap(const std::u32string& paragraph, std::size_t width, const std::string& firstIndent)
{
    std::string out = firstIndent;
    std::size_t column = firstIndent.empty() ? 0 : 4;
    std::string utf8;
    for (const char32_t c : paragraph) {
        utf8.clear();
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
        const std::size_t w = c < 0x80 ? 1 : 2;
        if (column + w > width) {
            out += "\r\n";
            column = 0;
        }
        out += utf8;
        column += w;
    }
    return out + "\r\n";
}

const std::u32string kParagraphs[] = {
    U"沪生经常去新闸路，看女朋友梅瑞。两个人是法律夜校同学，吃过几趟咖啡，就开始谈。八十年代男女见面，"
    U"习惯坐私人小咖，地方暗，静，但有蟑螂。一天夜里，两人坐进一家小咖啡馆。梅瑞说，真想不到。",
    U"陶陶说，此地风景多好，外面亮，棚里暗，躺椅比较低，以逸待劳，我有依靠，笃定。沪生说，几点钟开秤。"
    U"陶陶说，靠五点钟，我跟老阿姨，小阿姐，谈谈斤头，讲讲笑笑，等于轧朋友。",
    U"此刻，斜对面有一个女子，低眉而来，三十多岁，施施然，轻摇莲步。陶陶低声说，看，来了，过来了。"
    U"陶陶招呼说，阿妹。女子拘谨不响。陶陶说，阿妹，这批蟹，每一只是赞货。",
};

TEST(CleanWrapping, HardWrappedParagraphsAreJoinedAtTheWidthFoundInTheText)
{
    for (const std::size_t width : {40u, 60u, 76u}) {
        std::string text = "第一章 蟹\r\n";
        for (const auto& p : kParagraphs)
            text += Wrap(p, width, "　　");
        CleanReport report;
        const std::vector<std::string> lines = Lines(CleanText(text, &report));
        EXPECT_GE(report.wrapWidth + 2, width) << width;
        EXPECT_LE(report.wrapWidth, width + 2) << width;
        ASSERT_EQ(lines.size(), 4u) << width;
        EXPECT_EQ(lines[0], "第一章 蟹");  // a heading: not indented, not joined
        std::string expected;
        for (std::size_t i = 0; i < 3; ++i) {
            std::string utf8;
            for (const char32_t c : kParagraphs[i]) {
                utf8 += static_cast<char>(0xE0 | (c >> 12));
                utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                utf8 += static_cast<char>(0x80 | (c & 0x3F));
            }
            EXPECT_EQ(lines[i + 1], kIndent + utf8) << width;
        }
        std::size_t joins = 0;
        for (const CleanChange& c : report.changes) {
            EXPECT_EQ(c.kind, CleanChangeKind::joined);
            joins += c.kind == CleanChangeKind::joined;
        }
        EXPECT_EQ(joins, 3u);
    }
}

TEST(CleanWrapping, ParagraphsWithoutIndentationAndDoubleSpacedLinesAreJoined)
{
    // Paragraphs marked by a blank line; then every line followed by blank lines, with the
    // paragraphs marked by their indentation, as some sites give them.
    std::string blankSeparated, doubleSpaced;
    for (const auto& p : kParagraphs) {
        blankSeparated += Wrap(p, 60, "") + "\r\n";
        std::string wrapped = Wrap(p, 60, "    ");
        for (std::size_t at = 0; (at = wrapped.find("\r\n", at)) != std::string::npos; at += 8)
            wrapped.replace(at, 2, "\r\n\r\n \r\n");
        doubleSpaced += wrapped;
    }
    for (const std::string& text : {blankSeparated, doubleSpaced}) {
        const std::vector<std::string> lines = Lines(CleanText(text));
        ASSERT_EQ(lines.size(), 5u) << text;  // three paragraphs, a blank line between each
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[3], "");
        EXPECT_EQ(lines[0].substr(0, 6), kIndent);
        EXPECT_GT(lines[0].size(), 200u);
    }
}

TEST(CleanWrapping, VerseListsAndUnwrappedTextsAreLeftAsTheyAre)
{
    const std::string verse =
        "静夜思\r\n床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。\r\n"
        "春晓\r\n春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。\r\n"
        "登鹳雀楼\r\n白日依山尽，黄河入海流。\r\n欲穷千里目，更上一层楼。\r\n"
        "相思\r\n红豆生南国，春来发几枝。\r\n愿君多采撷，此物最相思。\r\n";
    // Long lines of the same width that end sentences: a poem of seven-character lines.
    std::string longVerse;
    for (int i = 0; i < 6; ++i)
        longVerse += "朝辞白帝彩云间，千里江陵一日还。两岸猿声啼不住，轻舟已过万重山。\r\n";
    std::string list;
    for (int i = 1; i <= 9; ++i)
        list += std::to_string(i) + ". 准备好行李、证件、车票和路上要吃的干粮，出门前检查门窗是否关\r\n";
    std::string unwrapped;
    for (const auto& p : kParagraphs)
        for (int i = 0; i < 3; ++i)
            unwrapped += Wrap(p, 100000, "　　");
    const struct {
        const std::string& text;
        bool wrapped;  // list items of one width, each cut short: a width, each item its own paragraph
    } cases[] = {{verse, false}, {longVerse, false}, {list, true}, {unwrapped, false}};
    for (const auto& [text, wrapped] : cases) {
        CleanReport report;
        const std::string cleaned = CleanText(text, &report);
        EXPECT_EQ(report.wrapWidth != 0, wrapped) << text;
        EXPECT_TRUE(report.changes.empty()) << text;
        EXPECT_EQ(Lines(cleaned).size(), Lines(text).size()) << text;
    }
}

TEST(CleanWrapping, WrappedListItemsAndHeadingsStartTheirOwnParagraphs)
{
    std::string text;
    text += Wrap(kParagraphs[0], 60, "");
    text += "第二章 夜校\r\n";  // after a full line
    text += Wrap(kParagraphs[1], 60, "");
    text += Wrap(U"1.陶陶说，靠五点钟，我跟老阿姨，小阿姐，谈谈斤头，讲讲笑笑，等于轧朋友。", 60, "");
    text += Wrap(U"2.此刻，斜对面有一个女子，低眉而来，三十多岁，施施然，轻摇莲步。陶陶低声说，看。", 60, "");
    const std::vector<std::string> lines = Lines(CleanText(text));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "第二章 夜校");
    EXPECT_EQ(lines[3].substr(0, 7), kIndent + "1");
    EXPECT_EQ(lines[4].substr(0, 7), kIndent + "2");
}

TEST(CleanWrapping, GutenbergEnglishJoinsWithASpace)
{
    const std::string text =
        "I am by birth a Genevese, and my family is one of the most distinguished\r\n"
        "of that republic. My ancestors had been for many years counsellors and\r\n"
        "syndics, and my father had filled several public situations with honour\r\n"
        "and reputation. He was respected by all who knew him for his integrity\r\n"
        "and indefatigable attention to public business.\r\n"
        "\r\n"
        "As the circumstances of his marriage illustrate his character, I cannot\r\n"
        "refrain from relating them. One of his most intimate friends was a\r\n"
        "merchant who, from a flourishing state, fell, through numerous\r\n"
        "mischances, into poverty. This man, whose name was Beaufort, was of a\r\n"
        "proud and unbending disposition and could not bear to live in poverty.\r\n"
        "\r\n"
        "     Like one, that on a lonely road\r\n"
        "     Doth walk in fear and dread,\r\n"
        "     And, having once turned round, walks on,\r\n"
        "     And turns no more his head;\r\n";
    CleanReport report;
    const std::vector<std::string> lines = Lines(CleanText(text, &report));
    ASSERT_EQ(lines.size(), 8u) << CleanText(text);
    EXPECT_EQ(lines[0], kIndent +
                            "I am by birth a Genevese, and my family is one of the most distinguished of that "
                            "republic. My ancestors had been for many years counsellors and syndics, and my father "
                            "had filled several public situations with honour and reputation. He was respected by "
                            "all who knew him for his integrity and indefatigable attention to public business.");
    EXPECT_EQ(lines[2].substr(0, 12), kIndent + "As the");
    EXPECT_EQ(lines[2].substr(lines[2].size() - 20), " to live in poverty.");
    EXPECT_EQ(lines[4], kIndent + "Like one, that on a lonely road");  // verse stays in lines
    EXPECT_EQ(lines[7], kIndent + "And turns no more his head;");
}

TEST(CleanLayout, LineEndsBlankLinesIndentationAndTrailingSpaces)
{
    const struct {
        std::string text;
        std::string cleaned;
    } cases[] = {
        // CR CR LF is one line end, not a line and a blank line.
        {"第一行。\r\r\n第二行。\r\r\n", "　　第一行。\r\n　　第二行。\r\n"},
        {"a\rb\nc\r\nd", "　　a\r\n　　b\r\n　　c\r\n　　d\r\n"},
        // Runs of blank lines become one; none at the start or the end.
        {"\r\n\r\n甲。\r\n\r\n\r\n \r\n　\r\n乙。\r\n\r\n\r\n", "　　甲。\r\n\r\n　　乙。\r\n"},
        // Indentation of ASCII spaces, tabs, full-width spaces or none: two full-width spaces.
        {"    甲。\r\n\t乙。\r\n　　　丙。\r\n丁。   \r\n", "　　甲。\r\n　　乙。\r\n　　丙。\r\n　　丁。\r\n"},
        {"", ""},
        {"\r\n \r\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanText(c.text), c.cleaned) << c.text;
}

TEST(CleanReport, NamesTheLinesOfTheTextAsGiven)
{
    // CR CR LF counts as one line end in the numbers too.
    const std::string text = "本书由某某网整理\r\r\n\r\r\n　　他笑了。\r\r\nwww.example.com\r\r\n　　她也笑了。"
                             "www.example.com小说网\r\r\n";
    CleanReport report;
    const std::string cleaned = CleanText(text, &report);
    EXPECT_EQ(cleaned, "　　他笑了。\r\n　　她也笑了。\r\n");
    ASSERT_EQ(report.changes.size(), 3u);
    EXPECT_EQ(report.changes[0].kind, CleanChangeKind::siteLine);
    EXPECT_EQ(report.changes[0].reason, SiteReason::note);
    EXPECT_EQ(report.changes[0].line, 1u);
    EXPECT_EQ(report.changes[1].kind, CleanChangeKind::siteLine);
    EXPECT_EQ(report.changes[1].line, 4u);
    EXPECT_EQ(report.changes[1].text, "www.example.com");
    EXPECT_EQ(report.changes[2].kind, CleanChangeKind::siteText);
    EXPECT_EQ(report.changes[2].line, 5u);
    EXPECT_EQ(report.changes[2].text, "www.example.com小说网");
}

TEST(CleanWidth, FullWidthCharactersCountTwo)
{
    EXPECT_EQ(DisplayWidth("abc"), 3u);
    EXPECT_EQ(DisplayWidth("中文，“引号”…"), 16u);
    EXPECT_EQ(DisplayWidth("ＡＢ　"), 6u);
    EXPECT_EQ(DisplayWidth("é"), 1u);
}

} // namespace
