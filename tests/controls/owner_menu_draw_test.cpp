// The owner-drawn menu's items painted into memory in the flat and the classic style and
// read pixel by pixel: separators, label and shortcut, images at rest, hot, checked and
// grayed, check marks and radio dots, selections, short items, and the DC given back as
// it came. One picture of every kind is saved for people to look at, and checked.
#include "controls/owner_menu.h"
#include "controls/windows_version.h"
#include "res/resource.h"
#include "ui/gdi.h"
#include "ui/wide_text.h"
#include "ui/window_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT kTestMenu = 9001;
constexpr UINT kImageCommand = 9123;  // "E&xit" in Edit, given an image by the fixture
// Versions as the drawing tells them apart: without the 3-D frames, with them, and XP
// (themed under Wine's registry).
constexpr controls::WindowsVersion kWithoutFrames = controls::WindowsVersion::OtherNt;
constexpr controls::WindowsVersion kWithFrames = controls::WindowsVersion::Win2000;
constexpr controls::WindowsVersion kXpThemed = controls::WindowsVersion::WinXp;
constexpr COLORREF kUnpainted = RGB(255, 0, 255);

COLORREF Sys(int index) { return GetSysColor(index); }

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string Mismatch(int x, int y, COLORREF actual, COLORREF expected)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%d,%d) is %s, expected %s", x, y, Hex(actual).c_str(), Hex(expected).c_str());
    return text;
}

// A 32-bit top-down DIB section selected into a memory DC, magenta until painted.
// Coordinates are taken from origin, with as wide a margin all round: items drawn away
// from the DC's own origin show what they paint outside their rectangle.
class Canvas {
public:
    Canvas(int width, int height, POINT origin = {0, 0})
        : m_origin(origin), m_width(width + 2 * origin.x), m_height(height + 2 * origin.y)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        ui::WindowDc screen(nullptr);
        m_dc = CreateCompatibleDC(screen.Get());
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<const std::uint32_t*>(bits);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill({-origin.x, -origin.y, m_width, m_height}, kUnpainted);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    RECT Place(RECT rect) const
    {
        OffsetRect(&rect, m_origin.x, m_origin.y);
        return rect;
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const std::uint32_t p = m_bits[static_cast<std::size_t>(y + m_origin.y) * m_width + x + m_origin.x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    void Fill(const RECT& rect, COLORREF colour)
    {
        ui::Brush brush(CreateSolidBrush(colour));
        const RECT placed = Place(rect);
        FillRect(m_dc, &placed, brush.Get());
    }
    void SavePng(const std::string& path)
    {
        SelectObject(m_dc, m_old);
        wintest::SaveBitmapPng(m_bitmap, path);
        SelectObject(m_dc, m_bitmap);
    }
    // The pixels of rect that have exactly this colour.
    std::vector<POINT> Find(const RECT& rect, COLORREF colour) const
    {
        std::vector<POINT> found;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (At(x, y) == colour)
                    found.push_back({x, y});
        return found;
    }

private:
    POINT m_origin;
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    const std::uint32_t* m_bits = nullptr;
};

// A pixel the rules fix; where says which.
struct PixelRule {
    int x;
    int y;
    COLORREF colour;
    const char* where;
};

void ExpectPixels(const Canvas& canvas, const std::vector<PixelRule>& rules)
{
    for (const PixelRule& rule : rules)
        EXPECT_EQ(Hex(canvas.At(rule.x, rule.y)), Hex(rule.colour)) << rule.where << " at (" << rule.x << "," << rule.y << ")";
}

// The ring of pixels just outside item, all left as they were.
void ExpectNothingOutside(const Canvas& canvas, const RECT& item)
{
    int painted = 0;
    for (int x = item.left - 1; x <= item.right; ++x)
        painted += (canvas.At(x, item.top - 1) != kUnpainted) + (canvas.At(x, item.bottom) != kUnpainted);
    for (int y = item.top; y < item.bottom; ++y)
        painted += (canvas.At(item.left - 1, y) != kUnpainted) + (canvas.At(item.right, y) != kUnpainted);
    EXPECT_EQ(painted, 0) << "pixels painted outside the item";
}

// One image of the shared list drawn at a place, as the rules ask for it.
struct ImageLayer {
    int slot;  // 0 normal, 1 faded, 2 shadow
    int x;
    int y;
};

// Expects region of canvas to look like region filled with fill and the layers drawn on
// it in order; reports the first differing pixel.
void ExpectComposed(const Canvas& canvas, const RECT& region, COLORREF fill, int sharedIndex,
                    const std::vector<ImageLayer>& layers)
{
    Canvas expected(region.right + 20, region.bottom + 20);
    expected.Fill(region, fill);
    for (const ImageLayer& layer : layers)
        ImageList_Draw(g_menuSharedImages.handle, sharedIndex + layer.slot, expected.Dc(), layer.x, layer.y, ILD_TRANSPARENT);
    int wrong = 0;
    std::string first;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            if (canvas.At(x, y) != expected.At(x, y) && wrong++ == 0)
                first = Mismatch(x, y, canvas.At(x, y), expected.At(x, y));
        }
    }
    EXPECT_EQ(wrong, 0) << "first: " << first;
}

// The image drawn disabled at (x, y): the shadow colour where the image has content
// (neither face nor highlight colour), the highlight colour one pixel right and down of
// it where there is no content, background elsewhere; 17 x 16 pixels in all.
void ExpectEngraved(const Canvas& canvas, int sharedIndex, int x, int y, COLORREF background)
{
    Canvas normal(16, 15);
    normal.Fill({0, 0, 16, 15}, Sys(COLOR_3DFACE));
    ImageList_Draw(g_menuSharedImages.handle, sharedIndex, normal.Dc(), 0, 0, ILD_TRANSPARENT);
    auto content = [&](int i, int j) {
        if (i < 0 || j < 0 || i >= 16 || j >= 15)
            return false;
        const COLORREF c = normal.At(i, j);
        return c != Sys(COLOR_3DFACE) && c != Sys(COLOR_BTNHIGHLIGHT);
    };
    int shadows = 0, highlights = 0, wrong = 0;
    std::string first;
    for (int j = 0; j <= 15; ++j) {
        for (int i = 0; i <= 16; ++i) {
            COLORREF expected = background;
            if (content(i, j)) {
                expected = Sys(COLOR_BTNSHADOW);
                ++shadows;
            } else if (content(i - 1, j - 1)) {
                expected = Sys(COLOR_BTNHIGHLIGHT);
                ++highlights;
            }
            const COLORREF actual = canvas.At(x + i, y + j);
            if (actual != expected && wrong++ == 0)
                first = Mismatch(x + i, y + j, actual, expected);
        }
    }
    EXPECT_GT(shadows, 10);
    EXPECT_GT(highlights, 5);
    EXPECT_EQ(wrong, 0) << "first: " << first;
}

// The exact 21 pixels of the 7x7 tick whose strokes start at (x, y).
std::vector<POINT> TickPixels(int x, int y)
{
    const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    std::vector<POINT> pixels;
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k)
            pixels.push_back({x + i, y + tops[i] + k});
    return pixels;
}

bool Contains(const std::vector<POINT>& points, int x, int y)
{
    for (const POINT& p : points)
        if (p.x == x && p.y == y)
            return true;
    return false;
}

// The least and the greatest x of the points; {INT_MAX, INT_MIN} when there are none.
std::pair<int, int> XRange(const std::vector<POINT>& points)
{
    std::pair<int, int> range{INT_MAX, INT_MIN};
    for (const POINT& p : points) {
        range.first = std::min(range.first, static_cast<int>(p.x));
        range.second = std::max(range.second, static_cast<int>(p.x));
    }
    return range;
}

enum class Kind { Separator, Shortcut, Image, Check, Grayed };

// Wine's own scheme gives several of the colours the rules keep apart the same value
// (menu, window and button highlight are all white; gray text is the button shadow), so
// the tests draw in a scheme of their own where they differ, and put the old one back.
const int kSchemeIndexes[] = {COLOR_3DFACE,  COLOR_MENU,      COLOR_WINDOW,    COLOR_BTNHIGHLIGHT,
                              COLOR_BTNSHADOW, COLOR_GRAYTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                              COLOR_MENUTEXT, COLOR_BTNTEXT};
const COLORREF kScheme[] = {RGB(212, 208, 200), RGB(236, 233, 216), RGB(255, 255, 255), RGB(252, 252, 252),
                            RGB(128, 128, 128), RGB(109, 109, 109), RGB(10, 36, 106),   RGB(255, 255, 255),
                            RGB(0, 0, 0),       RGB(0, 0, 0)};
constexpr int kSchemeSize = static_cast<int>(std::size(kSchemeIndexes));

// Sets the test scheme, loads the test menu, gives "E&xit" an image with its faded and
// shadow copies, and puts every colour and switch a test changes back.
class OwnerMenuDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < kSchemeSize; ++i)
            m_oldScheme[i] = GetSysColor(kSchemeIndexes[i]);
        ASSERT_TRUE(SetSysColors(kSchemeSize, kSchemeIndexes, kScheme));
        m_schemeSet = true;
        for (int i = 0; i < kSchemeSize; ++i)
            ASSERT_EQ(GetSysColor(kSchemeIndexes[i]), kScheme[i]) << "colour " << kSchemeIndexes[i];
        ASSERT_TRUE(m_menu.LoadMenu(kTestMenu));
        m_file = GetSubMenu(m_menu.GetHandle(), 0);
        m_edit = GetSubMenu(m_menu.GetHandle(), 1);
        m_recent = GetSubMenu(m_file, 3);
        g_menuImageEffects = 1;
        SetStyle(true);  // three slots: normal, faded, shadow, whichever style draws
        ASSERT_TRUE(m_menu.ModifyItem(static_cast<const wchar_t*>(nullptr), kImageCommand, IDB_ABOUT));
        m_image = Record(Kind::Image).sharedImageIndex;
        ASSERT_TRUE(SharedImageHasEffects(m_image));
    }
    void TearDown() override
    {
        if (m_schemeSet)
            SetSysColors(kSchemeSize, kSchemeIndexes, m_oldScheme);
        g_flatStyleOtherwise = m_saved[0];
        g_flatStyleWhenThemed = m_saved[1];
        g_classicSelectGrayed = m_saved[2];
        g_flatSelectGrayed = m_saved[3];
        g_menuImageEffects = m_saved[4];
        g_windowsVersion = m_savedVersion;
    }

    static void SetStyle(bool flat) { g_flatStyleOtherwise = g_flatStyleWhenThemed = flat ? 1 : 0; }

    std::pair<HMENU, int> Where(Kind kind) const
    {
        switch (kind) {
        case Kind::Separator: return {m_file, 1};
        case Kind::Shortcut: return {m_recent, 1};  // "Two<TAB>F2"
        case Kind::Image: return {m_edit, 2};
        case Kind::Check: return {m_edit, 1};
        case Kind::Grayed: return {m_edit, 0};
        }
        return {nullptr, -1};
    }
    const COwnerMenuItem& Record(Kind kind) const
    {
        const auto [popup, pos] = Where(kind);
        return *COwnerMenu::FromHandle(popup)->Items()[static_cast<std::size_t>(pos)];
    }

    // WM_DRAWITEM of the item, as the menu's owner passes it on.
    void Draw(Kind kind, UINT state, Canvas& canvas, const RECT& rect) const
    {
        const HDC dc = canvas.Dc();
        const auto [popup, pos] = Where(kind);
        COwnerMenu* owner = COwnerMenu::FromHandle(popup);
        const COwnerMenuItem& record = Record(kind);
        DRAWITEMSTRUCT item{ODT_MENU, 0, static_cast<UINT>(record.commandId), ODA_DRAWENTIRE, state,
                            reinterpret_cast<HWND>(popup), dc, canvas.Place(rect), reinterpret_cast<ULONG_PTR>(&record)};
        owner->DrawItem(&item);
    }

    COwnerMenu m_menu;
    HMENU m_file = nullptr;
    HMENU m_edit = nullptr;
    HMENU m_recent = nullptr;
    int m_image = -1;

private:
    COLORREF m_oldScheme[kSchemeSize] = {};
    bool m_schemeSet = false;
    int m_saved[5] = {g_flatStyleOtherwise, g_flatStyleWhenThemed, g_classicSelectGrayed,
                      g_flatSelectGrayed, g_menuImageEffects};
    controls::WindowsVersion m_savedVersion = g_windowsVersion;
};

constexpr RECT kItem{0, 0, 200, 22};
constexpr POINT kAway{13, 7};  // where the tests' items lie in their DC

// The flat style's colours when the display is not XP-themed (as under Wine).
COLORREF Face() { return LightenColor(Sys(COLOR_3DFACE), 0.25); }
COLORREF Selection() { return LightenColor(Sys(COLOR_HIGHLIGHT), 0.85); }

TEST_F(OwnerMenuDrawTest, SeparatorIsAnEtchedLineHalfWayDown)
{
    // Height 11: the line lies at row 5 (half the height, rounded down).
    const RECT item{0, 0, 200, 11};
    for (const bool flat : {true, false}) {
        SCOPED_TRACE(flat ? "flat" : "classic");
        SetStyle(flat);
        Canvas canvas(200, 11, kAway);
        Draw(Kind::Separator, 0, canvas, item);
        const COLORREF back = flat ? Sys(COLOR_WINDOW) : Sys(COLOR_MENU);
        const int lineStart = flat ? 23 + 7 : 0;  // flat: the column and the gap stay clear
        std::vector<PixelRule> rules = {
            {lineStart, 5, Sys(COLOR_BTNSHADOW), "the line's dark half"},
            {lineStart, 6, Sys(COLOR_BTNHIGHLIGHT), "the line's light half"},
            {199, 5, Sys(COLOR_BTNSHADOW), "the line reaches the right end"},
            {lineStart, 4, back, "above the line"},
            {lineStart, 7, back, "below the line"},
            {199, 0, back, "the item's background"},
            {199, 10, back, "the item's background"},
        };
        if (flat) {
            rules.insert(rules.end(), {
                {0, 0, Face(), "the image column"},
                {22, 5, Face(), "the image column, no line across it"},
                {11, 10, Face(), "the image column"},
                {23, 5, back, "between the column and the line"},
                {lineStart - 1, 5, back, "between the column and the line"},
            });
        }
        ExpectPixels(canvas, rules);
    }
}

// The label starts at the text rectangle's left, the shortcut ends at its right edge less
// the image width (184), nothing between them, in the colour of the item's state.
TEST_F(OwnerMenuDrawTest, LabelStandsLeftAndShortcutRightInTheTextRectangle)
{
    const struct {
        bool flat;
        UINT state;
        int textLeft;
        int textColour;
    } cases[] = {
        {true, 0, 16 + 7 + 8, COLOR_MENUTEXT},
        {true, ODS_SELECTED, 16 + 7 + 8, COLOR_MENUTEXT},
        {false, 0, 16 + 9, COLOR_MENUTEXT},
        {false, ODS_SELECTED, 16 + 9, COLOR_HIGHLIGHTTEXT},
    };
    ui::Font font(CreateMenuFont());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.flat ? "flat" : "classic") + (c.state ? ", selected" : ""));
        SetStyle(c.flat);
        Canvas canvas(200, 22, kAway);
        ui::SelectGuard select(canvas.Dc(), font.Get());
        Draw(Kind::Shortcut, c.state, canvas, kItem);
        const std::vector<POINT> text = canvas.Find({0, 0, 200, 22}, Sys(c.textColour));
        ASSERT_FALSE(text.empty());
        const auto [left, right] = XRange(text);
        // Give or take the glyphs' side bearings.
        EXPECT_GE(left, c.textLeft);
        EXPECT_LE(left, c.textLeft + 4) << "the label at the left";
        EXPECT_LE(right, 200 - 16 - 1);
        EXPECT_GE(right, 200 - 16 - 4) << "the shortcut ends at the right edge less 16";
        EXPECT_TRUE(canvas.Find({c.textLeft + 45, 0, 200 - 16 - 30, 22}, Sys(c.textColour)).empty())
            << "only spaces between label and shortcut";
        const COLORREF background = c.state ? (c.flat ? Selection() : Sys(COLOR_HIGHLIGHT))
                                            : (c.flat ? Sys(COLOR_WINDOW) : Sys(COLOR_MENU));
        ExpectPixels(canvas, {{100, 2, background, "the item's background"}, {199, 21, c.flat && c.state ? Sys(COLOR_HIGHLIGHT) : background, "the item's corner"}});
    }
}

// Images at rest, hot and checked; also an item lower than the image. Within region the
// item must look like fill with the layers of images drawn on it.
TEST_F(OwnerMenuDrawTest, ImagesSitInTheirCellOrFrameAsTheStateAsks)
{
    struct Case {
        const char* name;
        bool flat;
        UINT state;
        controls::WindowsVersion version;
        RECT item;
        RECT region;
        COLORREF fill;
        std::vector<ImageLayer> layers;
        std::vector<PixelRule> pixels;
    };
    const COLORREF face = Face(), window = Sys(COLOR_WINDOW), highlight = Sys(COLOR_HIGHLIGHT);
    const COLORREF back = Sys(COLOR_MENU), light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
    const COLORREF bar = Sys(COLOR_HIGHLIGHT), tinted = LightenColor(highlight, 0.85);
    // Flat, 22 high: column 0..22, cell (1,1)-(22,21) framed on its edge, image at (4,4).
    // Classic, 22 high: frame (0,1)-(20,20), inside it (1,2)-(19,19), image at (2,3).
    const RECT flatInside{2, 2, 21, 20}, classicInside{1, 2, 19, 19};
    const std::vector<Case> cases = {
        {"flat at rest: faded image on the face-coloured column", true, 0, kWithoutFrames, kItem, flatInside, face,
         {{1, 4, 4}},
         {{0, 0, face, "column"}, {22, 10, face, "column"}, {23, 10, window, "beside the column"}, {199, 21, window, "item"}}},
        {"flat hot: lifted image over its shadow in the selection", true, ODS_SELECTED, kWithoutFrames, kItem, flatInside,
         Selection(), {{2, 5, 5}, {0, 3, 3}},
         {{0, 0, highlight, "item frame"}, {199, 21, highlight, "item frame"}, {1, 1, Selection(), "cell, no frame"},
          {22, 10, Selection(), "column in the selection"}, {100, 10, Selection(), "item"}}},
        {"flat checked: tinted cell framed in highlight, image lifted, no tick", true, ODS_CHECKED, kWithoutFrames, kItem,
         flatInside, tinted, {{0, 3, 3}},
         {{1, 1, highlight, "cell frame"}, {21, 20, highlight, "cell frame"}, {0, 0, face, "column"}, {22, 10, face, "column"}}},
        {"flat hot and checked: cell framed in highlight", true, ODS_SELECTED | ODS_CHECKED, kWithoutFrames, kItem, flatInside,
         Selection(), {{0, 3, 3}},
         {{1, 1, highlight, "cell frame"}, {21, 20, highlight, "cell frame"}, {0, 0, highlight, "item frame"}}},
        {"flat, lower than the image: image at the top edge", true, 0, kWithoutFrames, {0, 10, 200, 20}, {2, 10, 21, 20}, face,
         {{1, 4, 10}},
         {}},
        {"classic at rest: frame in the back colour", false, 0, kWithFrames, kItem, classicInside, back,
         {{0, 2, 3}},
         {{0, 1, back, "frame"}, {19, 19, back, "frame"}, {100, 10, back, "item"}}},
        {"classic hot: raised frame, bar right of it", false, ODS_SELECTED, kWithFrames, kItem, classicInside, back,
         {{0, 2, 3}},
         {{0, 1, light, "frame top-left"}, {10, 1, light, "frame top"}, {0, 10, light, "frame left"},
          {19, 19, shadow, "frame bottom-right"}, {19, 10, shadow, "frame right"}, {10, 19, shadow, "frame bottom"},
          {21, 0, bar, "bar from left + 21"}, {199, 21, bar, "bar"}}},
        {"classic checked: tinted inside, sunken frame", false, ODS_CHECKED, kWithFrames, kItem, classicInside,
         LightenColor(back, 0.6), {{0, 2, 3}},
         {{0, 1, shadow, "frame top-left"}, {10, 1, shadow, "frame top"}, {19, 19, light, "frame bottom-right"},
          {10, 19, light, "frame bottom"}, {100, 10, back, "item"}}},
        {"classic hot and checked: sunken frame", false, ODS_SELECTED | ODS_CHECKED, kWithFrames, kItem, classicInside, back,
         {{0, 2, 3}},
         {{0, 1, shadow, "frame top-left"}, {19, 19, light, "frame bottom-right"}, {21, 10, bar, "bar"}}},
        {"flat XP-themed, hot: the selection is lighter", true, ODS_SELECTED, kXpThemed, kItem, flatInside,
         LightenColor(highlight, 0.7), {{2, 5, 5}, {0, 3, 3}}, {{1, 1, LightenColor(highlight, 0.7), "cell"}}},
        {"flat XP-themed, checked: the tint stays, the column is the plain face", true, ODS_CHECKED, kXpThemed, kItem,
         flatInside, tinted, {{0, 3, 3}}, {{0, 0, Sys(COLOR_3DFACE), "column"}, {1, 1, highlight, "cell frame"}}},
        {"classic checked without 3-D frames", false, ODS_CHECKED, kWithoutFrames, kItem, classicInside, LightenColor(back, 0.6),
         {{0, 2, 3}},
         {{0, 1, back, "no frame"}, {19, 19, back, "no frame"}}},
        {"classic XP-themed, checked: face instead of menu colour", false, ODS_CHECKED, kXpThemed, kItem, classicInside,
         LightenColor(Sys(COLOR_3DFACE), 0.6), {{0, 2, 3}}, {{100, 10, Sys(COLOR_3DFACE), "item"}, {0, 1, shadow, "frame"}}},
        {"classic, lower than the image: frame at the top edge", false, 0, kWithFrames, {0, 10, 200, 20}, {1, 11, 19, 20}, back,
         {{0, 2, 12}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetStyle(c.flat);
        g_windowsVersion = c.version;
        ASSERT_EQ(IsXPThemed(), c.version == kXpThemed) << "no theme file is named in Wine's registry";
        Canvas canvas(200, 40, kAway);
        Draw(Kind::Image, c.state, canvas, c.item);
        ExpectComposed(canvas, c.region, c.fill, m_image, c.layers);
        ExpectPixels(canvas, c.pixels);
        if (c.item.bottom - c.item.top >= 19)  // else the image reaches below the item
            ExpectNothingOutside(canvas, c.item);
        if (!c.flat && (c.state & ODS_SELECTED)) {
            EXPECT_NE(Hex(canvas.At(20, 10)), Hex(bar)) << "the bar starts at left + 21";
        }
    }
}

// A checked item without image: a 16x16 box, tinted, with the 7x7 tick or, for a radio
// item (one choice among several, or an item with a checked-state bitmap, as frameworks
// give radio items) the 6x6 dot, in the menu text colour.
TEST_F(OwnerMenuDrawTest, CheckMarkWithoutImageIsTheTickOrTheRadioDot)
{
    ui::Bitmap radioBitmap(CreateBitmap(13, 13, 1, 1, nullptr));
    const COLORREF highlight = Sys(COLOR_HIGHLIGHT), mark = Sys(COLOR_MENUTEXT);
    enum class Radio { no, bitmap, type };
    const struct {
        bool flat;
        Radio how;
        bool radio;
    } cases[] = {{true, Radio::no, false},      {true, Radio::bitmap, true}, {true, Radio::type, true},
                 {false, Radio::no, false},     {false, Radio::bitmap, true}, {false, Radio::type, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.flat ? "flat" : "classic") +
                     (c.how == Radio::no ? ", tick" : c.how == Radio::bitmap ? ", radio bitmap" : ", radio type"));
        SetStyle(c.flat);
        g_windowsVersion = kWithFrames;
        ASSERT_TRUE(SetMenuItemBitmaps(m_edit, 9122, MF_BYCOMMAND, nullptr,
                                       c.how == Radio::bitmap ? radioBitmap.Get() : nullptr));
        MENUITEMINFOW type {};
        type.cbSize = sizeof type;
        type.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoW(m_edit, 9122, FALSE, &type));
        type.fType = c.how == Radio::type ? type.fType | MFT_RADIOCHECK : type.fType & ~MFT_RADIOCHECK;
        ASSERT_TRUE(SetMenuItemInfoW(m_edit, 9122, FALSE, &type));
        Canvas canvas(200, 22, kAway);
        Draw(Kind::Check, ODS_CHECKED, canvas, kItem);

        // Flat: box (4,3)-(20,19) framed in highlight. Classic: box (1,3)-(17,18), sunken.
        const RECT box = c.flat ? RECT{4, 3, 20, 19} : RECT{1, 3, 17, 18};
        const COLORREF fill = c.flat ? LightenColor(highlight, 0.85) : LightenColor(Sys(COLOR_MENU), 0.6);
        const int markX = box.left + (c.flat || c.radio ? 5 : 4), markY = box.top + 4;
        if (c.flat)
            ExpectPixels(canvas, {{box.left, box.top, highlight, "box frame"}, {box.right - 1, box.bottom - 1, highlight, "box frame"}});
        else
            ExpectPixels(canvas, {{box.left, box.top, Sys(COLOR_BTNSHADOW), "sunken edge"},
                                  {box.right - 1, box.bottom - 1, Sys(COLOR_BTNHIGHLIGHT), "sunken edge"}});

        const RECT inside{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
        const std::vector<POINT> marked = canvas.Find(inside, mark);
        int wrong = 0;
        for (int y = inside.top; y < inside.bottom; ++y)
            for (int x = inside.left; x < inside.right; ++x)
                if (canvas.At(x, y) != fill && canvas.At(x, y) != mark)
                    ++wrong;
        EXPECT_EQ(wrong, 0) << "the box holds the fill " << Hex(fill) << " and the mark only";
        if (c.radio) {
            for (const POINT& p : marked)
                EXPECT_TRUE(p.x >= markX && p.x < markX + 6 && p.y >= markY && p.y < markY + 6)
                    << "dot pixel outside its 6x6 square at (" << p.x << "," << p.y << ")";
            EXPECT_GE(marked.size(), 16u);
            for (const POINT& p : std::vector<POINT>{{markX + 2, markY + 2}, {markX + 3, markY + 3}, {markX, markY + 2}, {markX + 5, markY + 3}})
                EXPECT_EQ(Hex(canvas.At(p.x, p.y)), Hex(mark)) << "dot at (" << p.x << "," << p.y << ")";
        } else {
            const std::vector<POINT> tick = TickPixels(markX, markY);
            EXPECT_EQ(marked.size(), tick.size());
            for (const POINT& p : tick)
                EXPECT_TRUE(Contains(marked, p.x, p.y)) << "tick pixel missing at (" << p.x << "," << p.y << ")";
        }
    }
}

// Grayed items: the flat style draws them unselected under the mouse (unless asked not
// to) in a light gray; the classic style engraves text; images are engraved in both.
TEST_F(OwnerMenuDrawTest, GrayedItemsAreEngravedOrLightAndTheFlatStyleDoesNotSelectThem)
{
    ui::Font font(CreateMenuFont());
    const COLORREF window = Sys(COLOR_WINDOW), gray = Sys(COLOR_GRAYTEXT), lightGray = LightenColor(gray, 0.4);
    const struct {
        const char* name;
        int selectGrayed;
        COLORREF background;
        COLORREF text;
    } flatCases[] = {
        {"flat, grayed under the mouse: not selected", 0, window, lightGray},
        {"flat, grayed items selectable: selected", 1, Selection(), gray},
    };
    for (const auto& c : flatCases) {
        SCOPED_TRACE(c.name);
        SetStyle(true);
        g_flatSelectGrayed = c.selectGrayed;
        Canvas canvas(200, 22, kAway);
        ui::SelectGuard select(canvas.Dc(), font.Get());
        Draw(Kind::Grayed, ODS_GRAYED | ODS_SELECTED, canvas, kItem);
        ExpectPixels(canvas, {{100, 1, c.background, "item"}, {10, 10, c.selectGrayed ? Selection() : Face(), "column"}});
        EXPECT_FALSE(canvas.Find({31, 0, 200, 22}, c.text).empty()) << "text in " << Hex(c.text);
        EXPECT_TRUE(canvas.Find({31, 0, 200, 22}, c.selectGrayed ? lightGray : gray).empty());

        Canvas image(200, 22, kAway);
        Draw(Kind::Image, ODS_GRAYED | ODS_SELECTED, image, kItem);
        ExpectNothingOutside(canvas, kItem);
        ExpectEngraved(image, m_image, 4, 4, c.selectGrayed ? Selection() : Face());
        ExpectNothingOutside(image, kItem);
        ExpectPixels(image, {{199, 0, c.selectGrayed ? Sys(COLOR_HIGHLIGHT) : window, "item frame"}});
    }

    SetStyle(false);
    g_windowsVersion = kWithFrames;
    {
        SCOPED_TRACE("classic, grayed: engraved text and image");
        Canvas canvas(200, 22, kAway);
        ui::SelectGuard select(canvas.Dc(), font.Get());
        Draw(Kind::Grayed, ODS_GRAYED, canvas, kItem);
        const RECT text{25, 0, 200, 22};
        const std::vector<POINT> dark = canvas.Find(text, gray);
        const std::vector<POINT> lit = canvas.Find(text, Sys(COLOR_BTNHIGHLIGHT));
        ASSERT_FALSE(dark.empty());
        ASSERT_FALSE(lit.empty());
        for (const POINT& p : lit)
            EXPECT_TRUE(Contains(dark, p.x - 1, p.y - 1)) << "highlight at (" << p.x << "," << p.y << ") without gray up-left";

        Canvas image(200, 22, kAway);
        Draw(Kind::Image, ODS_GRAYED, image, kItem);
        ExpectEngraved(image, m_image, 2, 3, Sys(COLOR_MENU));
        ExpectPixels(image, {{0, 1, Sys(COLOR_MENU), "frame in the back colour"}});
    }
    {
        SCOPED_TRACE("classic, grayed and selected: back-coloured text on the bar");
        Canvas canvas(200, 22, kAway);
        ui::SelectGuard select(canvas.Dc(), font.Get());
        Draw(Kind::Grayed, ODS_GRAYED | ODS_SELECTED, canvas, kItem);
        ExpectPixels(canvas, {{0, 0, Sys(COLOR_HIGHLIGHT), "bar over the whole item"}});
        EXPECT_FALSE(canvas.Find({25, 0, 200, 22}, Sys(COLOR_MENU)).empty());
    }
}

// A grayed item too tall for an off-screen buffer is drawn straight into the DC.
TEST_F(OwnerMenuDrawTest, GrayedItemWithoutBufferIsDrawnDirectly)
{
    SetStyle(true);
    Canvas canvas(200, 22, kAway);
    Draw(Kind::Grayed, ODS_GRAYED, canvas, {0, 0, 200, 0x3FFFFFFF});
    ExpectPixels(canvas, {{0, 0, Face(), "column"}, {100, 1, Sys(COLOR_WINDOW), "item"}, {10, 10, Face(), "column"}});
}

// Whatever the item, the DC comes back with its pen, brush, font, colours and mode.
TEST_F(OwnerMenuDrawTest, DrawingGivesTheDcBackAsItCame)
{
    ui::Pen pen(CreatePen(PS_SOLID, 3, RGB(1, 2, 3)));
    ui::Brush brush(CreateSolidBrush(RGB(4, 5, 6)));
    ui::Font font(CreateMenuFont());
    ui::Bitmap radio(CreateBitmap(13, 13, 1, 1, nullptr));
    ASSERT_TRUE(SetMenuItemBitmaps(m_edit, 9122, MF_BYCOMMAND, nullptr, radio.Get()));
    const struct {
        Kind kind;
        UINT state;
    } items[] = {
        {Kind::Separator, 0},       {Kind::Shortcut, ODS_SELECTED}, {Kind::Image, ODS_SELECTED},
        {Kind::Image, ODS_GRAYED},  {Kind::Check, ODS_CHECKED},     {Kind::Grayed, ODS_GRAYED | ODS_SELECTED},
    };
    g_windowsVersion = kWithFrames;
    for (const bool flat : {true, false}) {
        SetStyle(flat);
        for (const auto& item : items) {
            SCOPED_TRACE(std::string(flat ? "flat, kind " : "classic, kind ") + std::to_string(static_cast<int>(item.kind)));
            Canvas canvas(200, 22, kAway);
            ui::SelectGuard selectPen(canvas.Dc(), pen.Get());
            ui::SelectGuard selectBrush(canvas.Dc(), brush.Get());
            ui::SelectGuard selectFont(canvas.Dc(), font.Get());
            SetTextColor(canvas.Dc(), RGB(7, 8, 9));
            SetBkColor(canvas.Dc(), RGB(10, 11, 12));
            SetBkMode(canvas.Dc(), OPAQUE);
            Draw(item.kind, item.state, canvas, kItem);
            EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PEN), pen.Get());
            EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush.Get());
            EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_FONT), font.Get());
            EXPECT_EQ(GetTextColor(canvas.Dc()), RGB(7, 8, 9));
            EXPECT_EQ(GetBkColor(canvas.Dc()), RGB(10, 11, 12));
            EXPECT_EQ(GetBkMode(canvas.Dc()), OPAQUE);
        }
    }
    SetMenuItemBitmaps(m_edit, 9122, MF_BYCOMMAND, nullptr, nullptr);
}

// The colours of the image at sharedIndex in its three slots (normal, faded, shadow) that
// are none of the scheme's: where they are, the image was drawn.
std::set<test::Rgb> ImageColours(int sharedIndex)
{
    Canvas canvas(3 * 16, 15);
    for (int slot = 0; slot < 3; ++slot)
        ImageList_Draw(g_menuSharedImages.handle, sharedIndex + slot, canvas.Dc(), 16 * slot, 0, ILD_TRANSPARENT);
    std::set<test::Rgb> colours;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 3 * 16; ++x)
            colours.insert(wintest::Rgb(canvas.At(x, y)));
    colours.erase(wintest::Rgb(kUnpainted));
    for (const COLORREF c : kScheme)
        colours.erase(wintest::Rgb(c));
    return colours;
}

// Every kind in both styles, side by side, for people to look at; checked as saved: every
// item is drawn (not left in one colour), the items with an image that is not grayed show
// its colours at their left end, and the checked items without one their tick or radio dot
// there.
TEST_F(OwnerMenuDrawTest, PictureOfEveryKind)
{
    ui::Bitmap radio(CreateBitmap(13, 13, 1, 1, nullptr));
    const struct {
        Kind kind;
        UINT state;
        bool radio;
    } rows[] = {
        {Kind::Shortcut, 0, false},
        {Kind::Shortcut, ODS_SELECTED, false},
        {Kind::Separator, 0, false},
        {Kind::Image, 0, false},
        {Kind::Image, ODS_SELECTED, false},
        {Kind::Image, ODS_CHECKED, false},
        {Kind::Image, ODS_CHECKED | ODS_SELECTED, false},
        {Kind::Image, ODS_GRAYED, false},
        {Kind::Check, ODS_CHECKED, false},
        {Kind::Check, ODS_CHECKED | ODS_SELECTED, false},
        {Kind::Check, ODS_CHECKED, true},
        {Kind::Grayed, ODS_GRAYED, false},
        {Kind::Grayed, ODS_GRAYED | ODS_SELECTED, false},
    };
    constexpr int kWidth = 200, kHeight = 22, kSpace = 8;
    const int count = static_cast<int>(std::size(rows));
    Canvas canvas(2 * kWidth + 3 * kSpace, count * kHeight + 2 * kSpace);
    canvas.Fill({0, 0, 2 * kWidth + 3 * kSpace, count * kHeight + 2 * kSpace}, RGB(96, 96, 96));
    ui::Font font(CreateMenuFont());
    ui::SelectGuard select(canvas.Dc(), font.Get());
    g_windowsVersion = kWithFrames;
    for (int column = 0; column < 2; ++column) {
        SetStyle(column == 0);
        for (int row = 0; row < count; ++row) {
            SetMenuItemBitmaps(m_edit, 9122, MF_BYCOMMAND, nullptr, rows[row].radio ? radio.Get() : nullptr);
            const int left = kSpace + column * (kWidth + kSpace), top = kSpace + row * kHeight;
            const RECT item{left, top, left + kWidth, top + kHeight};
            canvas.Fill(item, Sys(column == 0 ? COLOR_WINDOW : COLOR_MENU));  // the pop-up's own background
            Draw(rows[row].kind, rows[row].state, canvas, item);
        }
    }
    SetMenuItemBitmaps(m_edit, 9122, MF_BYCOMMAND, nullptr, nullptr);
    const std::string shot = wintest::ScreenshotPath("menu_items.png");
    DeleteFileW(ui::Widen(shot).c_str());
    canvas.SavePng(shot);

    const test::Picture picture = test::ReadPng(shot);
    const std::set<test::Rgb> imageColours = ImageColours(m_image);
    ASSERT_GT(imageColours.size(), 2u) << "the test image has colours of its own";
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < count; ++row) {
            SCOPED_TRACE(std::string(column == 0 ? "flat" : "classic") + ", row " + std::to_string(row));
            const int left = kSpace + column * (kWidth + kSpace), top = kSpace + row * kHeight;
            EXPECT_GT(test::CountColours(picture, {left, top, left + kWidth, top + kHeight}), 1u) << "not drawn";
            const test::Box imageEnd{left, top, left + kHeight, top + kHeight};
            if (rows[row].kind == Kind::Image && !(rows[row].state & ODS_GRAYED))
                EXPECT_GT(test::CountIn(picture, imageEnd, imageColours), 20) << "no image";
            if (rows[row].kind == Kind::Check)
                EXPECT_EQ(test::FindMark(picture, imageEnd, wintest::Rgb(Sys(COLOR_MENUTEXT))),
                          rows[row].radio ? test::Mark::dot : test::Mark::tick);
        }
    }
}

} // namespace
