// Reading the menu template into a tree: levels closed by MF_END, nested pop-ups closed
// together, the header's offset, and templates that end early.
#include "controls/menu_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace controls {
namespace {

class TemplateWriter {
public:
    explicit TemplateWriter(unsigned headerOffset = 0)
    {
        Word(0);
        Word(headerOffset);
        m_bytes.resize(m_bytes.size() + headerOffset, 0xEE);
    }
    TemplateWriter& Popup(const std::wstring& text, bool end = false)
    {
        Word(kMenuPopup | (end ? kMenuEnd : 0));
        Text(text);
        return *this;
    }
    TemplateWriter& Item(unsigned id, const std::wstring& text, bool end = false, unsigned flags = 0)
    {
        Word(flags | (end ? kMenuEnd : 0));
        Word(id);
        Text(text);
        return *this;
    }
    std::vector<MenuTemplateItem> Parse(std::size_t cut = 0) const
    {
        return ParseMenuTemplate(m_bytes.data(), m_bytes.size() - cut);
    }

private:
    void Word(unsigned w)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        m_bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    void Text(const std::wstring& text)
    {
        for (wchar_t c : text)
            Word(static_cast<unsigned>(c));
        Word(0);
    }
    std::vector<std::uint8_t> m_bytes;
};

// "text(id)" for items, "text[...]" for pop-ups: the tree in one line.
std::string Shape(const std::vector<MenuTemplateItem>& items)
{
    std::string out;
    for (const MenuTemplateItem& item : items) {
        if (!out.empty())
            out += ' ';
        for (wchar_t c : item.text)
            out += c < 0x80 ? static_cast<char>(c) : '?';
        if (item.IsPopup())
            out += "[" + Shape(item.items) + "]";
        else
            out += "(" + std::to_string(item.id) + ")";
    }
    return out;
}

TEST(ParseMenuTemplate, ProgramMenuShapeWithEndMarksOnLastItems)
{
    const auto bar = TemplateWriter()
                         .Popup(L"File").Item(1, L"Open\tCtrl+O").Item(0, L"").Item(2, L"Exit", true)
                         .Popup(L"Help", true).Item(3, L"About").Item(4, L"Site", true)
                         .Parse();
    EXPECT_EQ(Shape(bar), "File[Open\tCtrl+O(1) (0) Exit(2)] Help[About(3) Site(4)]");
    EXPECT_EQ(bar[0].flags, kMenuPopup) << "MF_END is not one of the flags an item keeps";
    EXPECT_EQ(bar[1].flags, kMenuPopup);
    EXPECT_EQ(bar[0].items[2].flags, 0u);
}

TEST(ParseMenuTemplate, PopupThatIsTheLastEntryClosesWithItsOwnLastItem)
{
    // Outer's last entry is the pop-up Inner: one MF_END on Inner's last item closes
    // Inner and Outer at once; the bar goes on with Tail.
    const auto bar = TemplateWriter()
                         .Popup(L"Outer").Item(1, L"a").Popup(L"Inner", true).Item(2, L"b").Item(3, L"c", true)
                         .Popup(L"Tail", true).Item(4, L"d", true)
                         .Parse();
    EXPECT_EQ(Shape(bar), "Outer[a(1) Inner[b(2) c(3)]] Tail[d(4)]");
}

TEST(ParseMenuTemplate, ItemsStartAfterTheHeaderOffsetAndKeepTheirFlags)
{
    const auto bar = TemplateWriter(6).Popup(L"P", true).Item(7, L"x", true, 0x1 | 0x8).Parse();
    EXPECT_EQ(Shape(bar), "P[x(7)]");
    EXPECT_EQ(bar[0].items[0].flags, 0x9u) << "grayed and checked kept";
}

TEST(ParseMenuTemplate, TemplateThatEndsEarlyKeepsWhatWasRead)
{
    const TemplateWriter writer = std::move(TemplateWriter().Popup(L"P").Item(1, L"one").Item(2, L"two", true));
    for (std::size_t cut = 1; cut <= 8; ++cut)
        EXPECT_EQ(Shape(writer.Parse(cut)), "P[one(1)]") << "cut " << cut;
    EXPECT_TRUE(ParseMenuTemplate(nullptr, 0).empty());
    const std::uint8_t header[] = {0, 0, 0x40, 0};  // offset beyond the end
    EXPECT_TRUE(ParseMenuTemplate(header, sizeof header).empty());
}

} // namespace
} // namespace controls
