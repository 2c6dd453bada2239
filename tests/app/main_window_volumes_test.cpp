// 工具 > 分卷大小: 不分卷 until the user chooses a size, one radio choice among the sizes,
// remembered between runs; with a size, a book over it is written as volumes and the file
// manager opens on the first; a part over it is refused with the limit that would do.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "ui/wide_text.h"
#include "ui/win32_services.h"

namespace wintest {
namespace {

// Text that deflate cannot shrink much: a part of `length` characters stays large.
std::string Noise(std::size_t length, unsigned seed)
{
    std::string text;
    while (text.size() < length)
        text += static_cast<char>('!' + ((seed = seed * 1103515245u + 12345u) >> 16) % 90);
    return text;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesW(ui::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<UINT> CheckedSizes(HWND w, bool& allRadio) { return CheckedToolsChoices(w, 3, allRadio); }

TEST_F(MainWindowTest, VolumeSizeIsRememberedAndCutsTheBook)
{
    WriteTemplate();
    // About 60 KB deflated each: one a volume of 100 KB.
    const std::vector<std::string> files = {Write("第一卷.txt", Noise(75000, 1)), Write("第二卷.txt", Noise(75000, 2)),
                                            Write("第三卷.txt", Noise(75000, 3))};
    auto generate = [&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "长篇");
        DropFiles(w, files);
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    };
    bool radio = false;
    Run([&](HWND w) {
        EXPECT_EQ(CheckedSizes(w, radio), std::vector<UINT> {IDM_VOLUME_NONE}) << "不分卷 until chosen";
        EXPECT_TRUE(radio);
        MenuCommand(w, IDM_VOLUME_100K);
        EXPECT_EQ(CheckedSizes(w, radio), std::vector<UINT> {IDM_VOLUME_100K});
        generate(w);
    });
    EXPECT_TRUE(services.messages.empty()) << services.MessageTexts().front();
    EXPECT_EQ(services.settings.at("MaxJarSize"), "102400");
    for (int v = 1; v <= 3; ++v) {
        const std::string jar = workDir + "\\长篇(" + std::to_string(v) + ").jar";
        ASSERT_TRUE(Exists(jar)) << jar;
        EXPECT_LE(test::ReadFile(jar).size(), 102400u);
        EXPECT_EQ(JarEntry(jar, "1.txt").size(), 75000u);
        EXPECT_NE(JarEntry(jar, "META-INF/MANIFEST.MF").find("MIDlet-Name: 长篇(" + std::to_string(v) + ")\r\n"),
                  std::string::npos);
        EXPECT_TRUE(Exists(workDir + "\\长篇(" + std::to_string(v) + ").jad"));
    }
    EXPECT_FALSE(Exists(workDir + "\\长篇.jar"));
    EXPECT_FALSE(Exists(workDir + "\\长篇(4).jar"));
    EXPECT_EQ(services.started, std::vector<std::string> {"explorer.exe /select,\"" + workDir + "\\长篇(1).jar\""})
        << "the first volume selected";

    // The next run starts with 100 KB; 不分卷 gives one jar and leaves the volumes alone.
    services.started.clear();
    Run([&](HWND w) {
        EXPECT_EQ(CheckedSizes(w, radio), std::vector<UINT> {IDM_VOLUME_100K});
        MenuCommand(w, IDM_VOLUME_NONE);
        EXPECT_EQ(CheckedSizes(w, radio), std::vector<UINT> {IDM_VOLUME_NONE});
        generate(w);
    });
    EXPECT_EQ(services.settings.at("MaxJarSize"), "0");
    EXPECT_EQ(services.started, std::vector<std::string> {"explorer.exe /select,\"" + workDir + "\\长篇.jar\""});
    EXPECT_TRUE(Exists(workDir + "\\长篇.jad"));
    EXPECT_TRUE(Exists(workDir + "\\长篇(3).jar"));

    // Two texts in 100 KB volumes: the older third volume and its JAD go, and the result
    // line says so; no box.
    services.started.clear();
    std::string line;
    Run([&](HWND w) {
        MenuCommand(w, IDM_VOLUME_100K);
        SetItemText(w, IDC_BOOK_NAME, "长篇");
        DropFiles(w, {files[0], files[1]});
        Click(w, IDC_GENERATE);
        line = ItemText(w, IDC_INFO_TEXT);
        Click(w, IDC_CLOSE);
    });
    EXPECT_TRUE(services.messages.empty()) << services.MessageTexts().front();
    EXPECT_NE(line.find("已删除旧的分卷 长篇(3).jar、长篇(3).jad。"), std::string::npos) << line;
    EXPECT_FALSE(Exists(workDir + "\\长篇(3).jar"));
    EXPECT_EQ(services.started, std::vector<std::string> {"explorer.exe /select,\"" + workDir + "\\长篇(1).jar\""});
}

// A part larger than the chosen size even alone: the message names it and the size that
// would do; nothing is written and no file manager opens.
TEST_F(MainWindowTest, APartOverTheVolumeSizeIsRefused)
{
    WriteTemplate();
    services.settings = {{"MaxJarSize", "102400"}};
    Run([&](HWND w) {
        SetItemText(w, IDC_BOOK_NAME, "长篇");
        DropFiles(w, {Write("大.txt", Noise(140000, 4))});
        Click(w, IDC_GENERATE);
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(services.messages.size(), 1u);
    const std::string& text = services.messages[0].text;
    EXPECT_EQ(text.rfind("第 1 部分“大.txt”单独成卷也超过了分卷大小 100 KB（102400 字节）。分卷大小至少要 ", 0), 0u)
        << text;
    // The smallest choice that holds it, and the chapters as the other way out.
    EXPECT_NE(text.find("\r\n\r\n请在 工具 > 分卷大小 里选 300 KB 或更大。也可以打开 工具 > 按章节拆分"), std::string::npos)
        << text;
    EXPECT_EQ(services.messages[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(services.started.empty());
    EXPECT_FALSE(Exists(workDir + "\\长篇(1).jar"));
    EXPECT_FALSE(Exists(workDir + "\\长篇.jar"));
}

} // namespace
} // namespace wintest
