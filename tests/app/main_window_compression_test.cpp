// 工具 > 压缩: 标准 until the user chooses, one radio choice of three, remembered between
// runs; the book is packed as chosen: 最小 smaller than 标准, 快速 larger.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "support/test_support.h"

namespace wintest {
namespace {

// Prose whose sentences do not repeat, so that the levels differ as they do on novels.
std::string Prose(std::size_t length)
{
    const char* const words[] = {"雨夜", "长街", "灯火", "他", "她", "走过", "桥头", "回望", "不语", "，", "。\r\n　　",
                                 "风", "吹落", "一地", "梧桐", "远处", "钟声", "渐渐", "散去", "旧信", "藏在", "怀里"};
    std::string text;
    for (std::uint32_t x = 7; text.size() < length;) {
        x = x * 1103515245u + 12345u;
        text += words[(x >> 16) % std::size(words)];
    }
    return text;
}

TEST_F(MainWindowTest, CompressionIsRememberedAndPacksTheBook)
{
    WriteTemplate();
    const std::string source = Write("小说.txt", Prose(200000));
    auto generate = [&](HWND w, const std::string& name) {
        SetItemText(w, IDC_BOOK_NAME, name);
        DropFiles(w, {source});
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    };
    bool radio = false;
    Run([&](HWND w) {
        EXPECT_EQ(CheckedToolsChoices(w, 4, radio), std::vector<UINT> {IDM_COMPRESSION_NORMAL}) << "标准 until chosen";
        EXPECT_TRUE(radio);
        generate(w, "标准");
    });
    Run([&](HWND w) {
        MenuCommand(w, IDM_COMPRESSION_SMALL);
        EXPECT_EQ(CheckedToolsChoices(w, 4, radio), std::vector<UINT> {IDM_COMPRESSION_SMALL});
        generate(w, "最小");
    });
    EXPECT_EQ(services.settings.at("Compression"), "small");
    Run([&](HWND w) {
        EXPECT_EQ(CheckedToolsChoices(w, 4, radio), std::vector<UINT> {IDM_COMPRESSION_SMALL}) << "remembered";
        MenuCommand(w, IDM_COMPRESSION_FAST);
        generate(w, "快速");
    });
    EXPECT_EQ(services.settings.at("Compression"), "fast");
    EXPECT_TRUE(services.messages.empty()) << services.MessageTexts().front();

    const std::uint64_t normal = test::ReadFile(workDir + "\\标准.jar").size();
    const std::uint64_t small = test::ReadFile(workDir + "\\最小.jar").size();
    const std::uint64_t fast = test::ReadFile(workDir + "\\快速.jar").size();
    EXPECT_LT(small, normal);
    EXPECT_LT(normal, fast);
    std::string part = test::ReadFile(source);  // as the book holds it: LF line ends
    for (std::size_t at; (at = part.find("\r\n")) != std::string::npos;)
        part.erase(at, 1);
    for (const char* name : {"标准", "最小", "快速"})
        EXPECT_TRUE(JarEntry(workDir + "\\" + name + ".jar", "1.txt") == part) << name;
}

} // namespace
} // namespace wintest
