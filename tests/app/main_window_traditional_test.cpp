// 工具 > 文本编码 (自动 at every start, not remembered) and 工具 > 繁简转换 (remembered), and
// the one message per command that names the files whose text reads as nonsense.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "support/test_support.h"

namespace wintest {
namespace {

std::string Fixture(const std::string& name) { return test::ReadFile(test::FixturePath("traditional/" + name)); }

TEST_F(MainWindowTest, EncodingChoiceIsForTheSessionOnly)
{
    const std::string big5 = Write("三國.txt", Fixture("big5-sanguo.txt"));
    bool radio = false;
    Run([&](HWND w) {
        EXPECT_EQ(CheckedToolsChoices(w, 5, radio), std::vector<UINT> {IDM_ENCODING_AUTO}) << "自动 at start";
        EXPECT_TRUE(radio);
        DropFiles(w, {big5});
        MenuCommand(w, IDM_ENCODING_GBK);
        EXPECT_EQ(CheckedToolsChoices(w, 5, radio), std::vector<UINT> {IDM_ENCODING_GBK});
        DropFiles(w, {big5});
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0].substr(0, 9), "第一回");  // detected: Big5
    EXPECT_NE(Texts()[1].substr(0, 9), "第一回");  // as the user said: GBK, and no warning
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(services.settings.count("Encoding"), 0u);
    Run([&](HWND w) {
        EXPECT_EQ(CheckedToolsChoices(w, 5, radio), std::vector<UINT> {IDM_ENCODING_AUTO}) << "not remembered";
        Click(w, IDC_CLOSE);
    });
}

TEST_F(MainWindowTest, ConversionIsRememberedAndConvertsTitlesAndText)
{
    const std::string big5 = Write("三國.txt", Fixture("big5-sanguo.txt"));
    bool radio = false;
    Run([&](HWND w) {
        EXPECT_EQ(CheckedToolsChoices(w, 6, radio), std::vector<UINT> {IDM_CONVERT_NONE});
        EXPECT_TRUE(radio);
        MenuCommand(w, IDM_CONVERT_T2S);
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(services.settings.at("Conversion"), "t2s");
    Run([&](HWND w) {
        EXPECT_EQ(CheckedToolsChoices(w, 6, radio), std::vector<UINT> {IDM_CONVERT_T2S}) << "remembered";
        DropFiles(w, {big5});
        OnNextModal([](HWND dialog) {
            SetItemText(dialog, IDC_CONTENT_TITLE, "後記");
            SetItemText(dialog, IDC_CONTENT_TEXT, "頭髮裡的軟體");
            Click(dialog, IDC_CONTENT_SAVE);
            EXPECT_EQ(ItemText(dialog, IDC_CONTENT_TEXT), "頭髮裡的軟體") << "the box keeps what was typed";
            Click(dialog, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
        Click(w, IDC_CLOSE);
    });
    ASSERT_EQ(Titles().size(), 2u);
    EXPECT_EQ(Titles()[0].substr(0, 6), "三国") << "the title from the file's name, converted";
    EXPECT_EQ(Texts()[0].substr(0, 63), "第一回　宴桃园豪杰三结义　斩黄巾英雄首立功");
    EXPECT_EQ(Titles()[1], "后记") << "typed text is converted as a file's is";
    EXPECT_EQ(Texts()[1], "头发里的软体");
}

TEST_F(MainWindowTest, OneMessageNamesTheTextsThatReadAsNonsense)
{
    const std::string noise1 = Write("乱码一.txt", Fixture("random-bytes.txt"));
    const std::string good = Write("三國.txt", Fixture("big5-sanguo.txt"));
    const std::string noise2 = Write("乱码二.txt", Fixture("random-bytes.txt").substr(100));
    Run([&](HWND w) {
        DropFiles(w, {noise1, good, noise2});
        ASSERT_EQ(services.messages.size(), 1u);
        const std::string& text = services.messages[0].text;
        EXPECT_NE(text.find("乱码一.txt（GBK）"), std::string::npos) << text;
        EXPECT_NE(text.find("乱码二.txt"), std::string::npos) << text;
        EXPECT_EQ(text.find("三國"), std::string::npos) << text;
        services.messages.clear();
        MenuCommand(w, IDM_ENCODING_BIG5);
        DropFiles(w, {noise1});
        EXPECT_TRUE(services.messages.empty()) << "an encoding given: no warning";
        Click(w, IDC_CLOSE);
    });
    EXPECT_EQ(Titles().size(), 4u) << "the books are still made of them";
}

} // namespace
} // namespace wintest
