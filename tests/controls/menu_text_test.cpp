// Item texts: label and shortcut, the shortcut column, mnemonics.
#include "controls/menu_text.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(SplitMenuText, LabelBeforeTheFirstTabShortcutAfterTheLast)
{
    const struct {
        std::wstring text, label, shortcut;
        bool tab;
    } cases[] = {
        {L"打开目录", L"打开目录", L"", false},
        {L"Open\tCtrl+O", L"Open", L"Ctrl+O", true},
        {L"a\tb\tc", L"a", L"c", true},
        {L"\t", L"", L"", true},
    };
    for (const auto& c : cases) {
        const MenuTextParts parts = SplitMenuText(c.text);
        EXPECT_EQ(parts.label, c.label);
        EXPECT_EQ(parts.shortcut, c.shortcut);
        EXPECT_EQ(parts.hasTab, c.tab);
    }
}

// Width: 10 per character, 3 per space.
int Measure(const std::wstring& text)
{
    int width = 0;
    for (wchar_t c : text)
        width += c == L' ' ? 3 : 10;
    return width;
}

TEST(AlignShortcutColumn, PadsOnlyLabelsWithATabToTheWidestLabelAndASpace)
{
    std::vector<std::wstring> texts = {L"Open\tCtrl+O", L"Properties", L"Exit\tAlt+F4", L"Long name\tF1"};
    AlignShortcutColumn(texts, Measure);
    // Widest: "Properties " = 103. "Open" 40 needs 21 spaces (103); "Long name" 83 needs 7 (104).
    EXPECT_EQ(texts[0], L"Open" + std::wstring(21, L' ') + L"\tCtrl+O");
    EXPECT_EQ(texts[1], L"Properties") << "no tab: unchanged";
    EXPECT_EQ(texts[2], L"Exit" + std::wstring(21, L' ') + L"\tAlt+F4");
    EXPECT_EQ(texts[3], L"Long name" + std::wstring(7, L' ') + L"\tF1");
}

TEST(AlignShortcutColumn, KeepsEverythingFromTheFirstTabAndStopsWhenSpacesHaveNoWidth)
{
    std::vector<std::wstring> texts = {L"ab\tx\ty", L"abcd"};
    AlignShortcutColumn(texts, Measure);
    EXPECT_EQ(texts[0], L"ab" + std::wstring(8, L' ') + L"\tx\ty");  // 20 + 24 >= 43

    std::vector<std::wstring> flat = {L"a\tb", L"abc"};
    AlignShortcutColumn(flat, [](const std::wstring& t) {
        int w = 0;
        for (wchar_t c : t)
            w += c == L' ' ? 0 : 10;
        return w;
    });
    EXPECT_EQ(flat[0], L"a \tb") << "one space tried, then given up";
}

TEST(FindMnemonic, FindsTheFirstAmpersandKeyWithoutCase)
{
    const std::vector<std::wstring> texts = {L"Open", L"&File", L"E&xit", L"Re&fresh", L"打开(&O)"};
    const struct {
        wchar_t ch;
        int position;
    } cases[] = {
        {L'f', 1}, {L'F', 1}, {L'x', 2}, {L'X', 2}, {L'o', 4}, {L'e', -1}, {L'&', -1}, {L'q', -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindMnemonic(texts, c.ch), c.position) << static_cast<char>(c.ch);
    EXPECT_EQ(FindMnemonic({}, L'a'), -1);
}

} // namespace
} // namespace controls
