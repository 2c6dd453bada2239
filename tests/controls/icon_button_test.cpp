// The icon button on real buttons of the main window's template: its faces painted into
// memory and read pixel by pixel, hover by synthetic mouse messages, configuration
// results, the dialog manager's default-button traffic, focus, check-box mode and clicks.
#include "controls/color.h"
#include "controls/icon_button.h"
#include "controls/image_layout.h"
#include "res/resource.h"
#include "ui/recording_services.h"
#include "ui/wide_text.h"
#include "ui/window_test_support.h"

#include <windowsx.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace wintest {
namespace {

// The main window's template with three of its buttons as icon buttons, configured as
// the program does; the up button can be made a check box before it is bound.
class ButtonDialog : public ui::Dialog {
public:
    explicit ButtonDialog(ui::IServices& services, bool upAsCheckBox = false)
        : ui::Dialog(IDD_BOOKMAKER_DIALOG, services), m_upAsCheckBox(upAsCheckBox)
    {
    }

    CIconButton del;       // "删", grey idle icon, image above
    CIconButton generate;  // "生成电子书", the same icon in every state
    CIconButton about;     // a default push button in the template
    CIconButton up;
    std::vector<std::pair<int, int>> commands;  // (id, code) that reached OnCommand

protected:
    bool OnInitDialog() override
    {
        if (m_upAsCheckBox) {
            HWND button = GetItem(IDC_UP);
            SetWindowLongPtrW(button, GWL_STYLE, (GetWindowLongPtrW(button, GWL_STYLE) & ~LONG_PTR{0xF}) | BS_AUTOCHECKBOX);
        }
        const bool result = ui::Dialog::OnInitDialog();
        del.SetIcons(IDI_DELETE, CIconButton::kGrayIdleIconId);
        del.ShiftColor(CIconButton::kHotBackground, 30, TRUE);
        del.SetImageAlignment(controls::ImageAlignment::Above, TRUE);
        generate.SetIcons(IDI_GENERATE, 0);
        generate.ShiftColor(CIconButton::kHotBackground, 30, TRUE);
        about.SetIcons(IDI_MAINFRAME, 0);
        up.SetIcons(IDI_UP, CIconButton::kGrayIdleIconId);
        up.SetImageAlignment(controls::ImageAlignment::Above, TRUE);
        return result;
    }
    void ExchangeData(ui::DataExchange& exchange) override
    {
        exchange.Bind(IDC_DELETE, del);
        exchange.Bind(IDC_GENERATE, generate);
        exchange.Bind(IDC_ABOUT, about);
        exchange.Bind(IDC_UP, up);
    }
    bool OnCommand(int id, int code, HWND) override
    {
        commands.emplace_back(id, code);
        return true;  // nothing ends the dialog but the test
    }

private:
    bool m_upAsCheckBox;
};

// A button's client area as WM_PRINTCLIENT paints it (the real owner-draw path through
// the dialog), on magenta so that unpainted pixels show.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Picture Paint(HWND button)
{
    RECT client{};
    GetClientRect(button, &client);
    Picture picture;
    picture.width = client.right;
    picture.height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(memory, &client, magenta);
    DeleteObject(magenta);
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    GdiFlush();
    const auto* bgra = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i)
        picture.pixels.push_back(RGB(bgra[i] >> 16 & 0xFF, bgra[i] >> 8 & 0xFF, bgra[i] & 0xFF));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

bool IsColoured(COLORREF c) { return GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c); }

int CountIn(const Picture& p, const RECT& box, bool (*test)(COLORREF))
{
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            count += test(p.At(x, y)) ? 1 : 0;
    return count;
}

LPARAM Centre(HWND button)
{
    RECT r{};
    GetClientRect(button, &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

void Hover(HWND button, WPARAM flags = 0) { SendMessageW(button, WM_MOUSEMOVE, flags, Centre(button)); }

const COLORREF kFace = GetSysColor(COLOR_BTNFACE);
const COLORREF kHotFace = controls::ShiftColor(kFace, 30);
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW);
const COLORREF kHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);

// The 1-pixel frame: top-left colour on the top and left edges, the other on the right
// and bottom ones.
void ExpectFrame(const Picture& p, COLORREF topLeft, COLORREF bottomRight, const char* what)
{
    const int w = p.width, h = p.height;
    EXPECT_EQ(p.At(w / 2, 0), topLeft) << what << ": top";
    EXPECT_EQ(p.At(0, h / 2), topLeft) << what << ": left";
    EXPECT_EQ(p.At(w - 1, h / 2), bottomRight) << what << ": right";
    EXPECT_EQ(p.At(w / 2, h - 1), bottomRight) << what << ": bottom";
}

TEST(IconButton, IdleHotPressedAndDisabledFaces)
{
    ASSERT_NE(kHotFace, kFace) << "the hot face must differ from the idle one to be seen";
    HFONT crisp = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"SimSun");
    RecordingServices services;
    ButtonDialog dialog(services);
    RunModal(dialog, [&](HWND) {
        HWND del = dialog.del.GetHwnd();
        HWND generate = dialog.generate.GetHwnd();
        const RECT delIcon = IconBox(del, controls::ImageAlignment::Above);
        const RECT generateIcon = IconBox(generate, controls::ImageAlignment::Left);

        // Idle: the system's face, no frame; the delete icon is a grey copy, the generate
        // icon keeps its colours.
        const Picture idle = Paint(del);
        ASSERT_GT(idle.width, 20);
        EXPECT_EQ(idle.At(1, 1), kFace);
        EXPECT_EQ(idle.At(0, 0), kFace) << "no frame while idle";
        EXPECT_EQ(CountIn(idle, delIcon, IsColoured), 0) << "idle icon is grey";
        EXPECT_GT(CountIn(idle, delIcon, [](COLORREF c) { return c != GetSysColor(COLOR_BTNFACE); }), 20)
            << "but it is there";
        EXPECT_GT(CountIn(Paint(generate), generateIcon, IsColoured), 20) << "no idle icon: the hot one";

        // Hot: the brighter face, a raised frame and the coloured icon.
        Hover(del);
        const Picture hot = Paint(del);
        EXPECT_EQ(hot.At(2, 2), kHotFace);
        ExpectFrame(hot, kHighlight, kShadow, "hot");
        EXPECT_GT(CountIn(hot, delIcon, IsColoured), 20) << "hot icon in colour";

        // Pressed: a sunken frame; icon and caption one pixel right and down.
        SendMessageW(del, BM_SETSTATE, TRUE, 0);
        const Picture pressed = Paint(del);
        SendMessageW(del, BM_SETSTATE, FALSE, 0);
        ExpectFrame(pressed, kShadow, kHighlight, "pressed");
        int differing = 0;
        for (int y = 1; y < hot.height - 2; ++y)
            for (int x = 1; x < hot.width - 2; ++x)
                differing += pressed.At(x + 1, y + 1) != hot.At(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "the pressed inside is the hot inside moved by (1, 1)";

        // Disabled: the system greys the icon; the caption is embossed, a highlight copy one
        // pixel right and down under the shadow-coloured text. A font without smoothing keeps
        // every pixel of the text in one colour.
        SendMessageW(generate, WM_SETFONT, reinterpret_cast<WPARAM>(crisp), FALSE);
        const Picture enabled = Paint(generate);
        EnableWindow(generate, FALSE);
        const Picture disabled = Paint(generate);
        EnableWindow(generate, TRUE);
        EXPECT_EQ(CountIn(disabled, generateIcon, IsColoured), 0) << "disabled icon";
        const RECT captionArea{generateIcon.right, 1, disabled.width - 1, disabled.height - 1};
        int ink = 0, shadowOnInk = 0, highlightBelowRight = 0;
        for (int y = captionArea.top; y < captionArea.bottom - 1; ++y) {
            for (int x = captionArea.left; x < captionArea.right - 1; ++x) {
                if (enabled.At(x, y) != GetSysColor(COLOR_BTNTEXT))
                    continue;  // only the fully inked pixels of the enabled caption
                ++ink;
                shadowOnInk += disabled.At(x, y) == kShadow ? 1 : 0;
                const bool inkBelowRight = enabled.At(x + 1, y + 1) != kFace;
                if (!inkBelowRight)
                    highlightBelowRight += disabled.At(x + 1, y + 1) == kHighlight ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 20);
        EXPECT_EQ(shadowOnInk, ink) << "the text itself in the shadow colour";
        EXPECT_GT(highlightBelowRight, 0) << "the highlight copy shows below right of the text";
        EXPECT_EQ(CountIn(disabled, captionArea, [](COLORREF c) { return c == GetSysColor(COLOR_BTNTEXT); }), 0);
    });
    DeleteObject(crisp);
}

TEST(IconButton, GreyCopyOfAnIconKeepsBlackAndTransparency)
{
    // 16 x 16: a transparent frame two pixels wide, inside it black on the left half and
    // a red on the right half, all opaque.
    const COLORREF red = RGB(200, 30, 30);
    std::vector<std::uint32_t> argb(16 * 16, 0);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
            argb[static_cast<std::size_t>(y * 16 + x)] = 0xFF000000u | (x < 8 ? 0u : 0x00C81E1Eu);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::memcpy(bits, argb.data(), argb.size() * 4);
    std::vector<std::uint8_t> maskBits(16 * 2, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (x < 2 || x >= 14 || y < 2 || y >= 14)
                maskBits[static_cast<std::size_t>(y * 2 + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, maskBits.data());
    ICONINFO iconInfo{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&iconInfo);
    DeleteObject(color);
    DeleteObject(mask);
    ASSERT_NE(icon, nullptr);

    RecordingServices services;
    ButtonDialog dialog(services);
    RunModal(dialog, [&](HWND) {
        HWND del = dialog.del.GetHwnd();
        EXPECT_EQ(dialog.del.SetIcons(icon, CIconButton::kGrayIdleIcon), 0);
        const RECT box = IconBox(del, controls::ImageAlignment::Above);
        const Picture idle = Paint(del);
        Hover(del);
        const Picture hot = Paint(del);
        const COLORREF grey = controls::GrayOf(red);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool frame = x < 2 || x >= 14 || y < 2 || y >= 14;
                const COLORREF want = frame ? kFace : x < 8 ? RGB(0, 0, 0) : grey;
                const COLORREF wantHot = frame ? kHotFace : x < 8 ? RGB(0, 0, 0) : red;
                EXPECT_EQ(idle.At(box.left + x, box.top + y), want) << "idle " << x << "," << y;
                EXPECT_EQ(hot.At(box.left + x, box.top + y), wantHot) << "hot " << x << "," << y;
            }
        }
    });
}

TEST(IconButton, MouseMessagesLightAndDimIt)
{
    RecordingServices services;
    ButtonDialog dialog(services);
    RunModal(dialog, [&](HWND) {
        HWND del = dialog.del.GetHwnd();
        const LPARAM outside = MAKELPARAM(-30, -30);  // in the dialog, beside the button
        const struct {
            const char* step;
            UINT message;
            WPARAM flags;
            bool useCentre;
            bool hotAfter;
        } steps[] = {
            {"move onto it", WM_MOUSEMOVE, 0, true, true},
            {"move within", WM_MOUSEMOVE, 0, true, true},
            {"leave", WM_MOUSELEAVE, 0, true, false},
            {"drag in from elsewhere", WM_MOUSEMOVE, MK_LBUTTON, true, false},
            {"button released, moved", WM_MOUSEMOVE, 0, true, true},
            {"drag while hot", WM_MOUSEMOVE, MK_LBUTTON, true, true},
            {"move off it", WM_MOUSEMOVE, 0, false, false},
            {"back on", WM_MOUSEMOVE, 0, true, true},
            {"focus lost", WM_KILLFOCUS, 0, true, false},
            {"on again", WM_MOUSEMOVE, 0, true, true},
            {"cancel mode", WM_CANCELMODE, 0, true, false},
        };
        for (const auto& s : steps) {
            SendMessageW(del, s.message, s.flags, s.useCentre ? Centre(del) : outside);
            EXPECT_EQ(Paint(del).At(2, 2), s.hotAfter ? kHotFace : kFace) << s.step;
        }
    });
}

TEST(IconButton, ConfigurationResults)
{
    RecordingServices services;
    ButtonDialog dialog(services);
    RunModal(dialog, [&](HWND) {
        CIconButton& b = dialog.generate;
        // Each call runs as the table is built, in order.
        const struct {
            const char* call;
            int result;
            int expected;
        } cases[] = {
            {"SetImageAlignment(3)", b.SetImageAlignment(static_cast<controls::ImageAlignment>(3), TRUE), 4},
            {"SetImageAlignment(Right)", b.SetImageAlignment(controls::ImageAlignment::Right, TRUE), 0},
            {"ShiftColor(kColorSlots, 10)", b.ShiftColor(CIconButton::kColorSlots, 10, TRUE), 3},
            {"ShiftColor(kHotBackground, 256)", b.ShiftColor(CIconButton::kHotBackground, 256, TRUE), 5},
            {"ShiftColor(kHotBackground, -256)", b.ShiftColor(CIconButton::kHotBackground, -256, TRUE), 5},
            {"ShiftColor(kFocusText, -255)", b.ShiftColor(CIconButton::kFocusText, -255, TRUE), 0},
            {"SetIcons(not an icon)", b.SetIcons(reinterpret_cast<HICON>(INT_PTR{0x1234}), nullptr), 1},
            {"SetIcons(IDI_GENERATE, kGrayIdleIconId)", b.SetIcons(IDI_GENERATE, CIconButton::kGrayIdleIconId), 0},
        };
        for (const auto& c : cases)
            EXPECT_EQ(c.result, c.expected) << c.call;
        // The refused shifts left the hot face as it was.
        Hover(b.GetHwnd());
        EXPECT_EQ(Paint(b.GetHwnd()).At(2, 2), kHotFace);
    });
}

TEST(IconButton, StaysOwnerDrawnAndFollowsTheDefaultButton)
{
    RecordingServices services;
    ButtonDialog dialog(services);
    RunModal(dialog, [&](HWND w) {
        HWND generate = dialog.generate.GetHwnd();
        HWND about = dialog.about.GetHwnd();
        const auto type = [](HWND b) { return GetWindowLongPtrW(b, GWL_STYLE) & BS_TYPEMASK; };
        const auto code = [](HWND b) { return SendMessageW(b, WM_GETDLGCODE, 0, 0); };
        EXPECT_EQ(type(generate), BS_OWNERDRAW);
        EXPECT_TRUE(GetWindowLongPtrW(generate, GWL_STYLE) & BS_RIGHT) << "other style bits stay";
        EXPECT_TRUE(code(about) & DLGC_DEFPUSHBUTTON) << "a default push button in the template";
        EXPECT_TRUE(code(generate) & DLGC_UNDEFPUSHBUTTON);

        // Focus on a push button: the dialog manager makes it the default and the other not.
        SendMessageW(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(generate), TRUE);
        EXPECT_TRUE(code(generate) & DLGC_DEFPUSHBUTTON);
        EXPECT_FALSE(code(generate) & DLGC_UNDEFPUSHBUTTON);
        EXPECT_TRUE(code(about) & DLGC_UNDEFPUSHBUTTON);
        EXPECT_EQ(type(generate), BS_OWNERDRAW);
        EXPECT_EQ(type(about), BS_OWNERDRAW);

        // Another type asked for: still owner-drawn, the default state unchanged.
        SendMessageW(generate, BM_SETSTYLE, BS_CHECKBOX, TRUE);
        EXPECT_EQ(type(generate), BS_OWNERDRAW);
        EXPECT_TRUE(code(generate) & DLGC_DEFPUSHBUTTON);
    });
}

TEST(IconButton, DisablingMovesTheFocusToTheNextTabItem)
{
    RecordingServices services;
    ButtonDialog dialog(services);
    RunModal(dialog, [&](HWND w) {
        // Whether or not the button had the focus.
        for (int focusOn : {IDC_DELETE, IDC_BOOK_NAME}) {
            SetFocus(GetDlgItem(w, focusOn));
            EnableWindow(dialog.del.GetHwnd(), FALSE);
            EXPECT_EQ(GetFocus(), GetDlgItem(w, IDC_DOWN)) << "focus was on " << focusOn;  // after 删 in tab order
            EnableWindow(dialog.del.GetHwnd(), TRUE);
        }
    });
}

TEST(IconButton, ClicksReachTheDialogAndOpenTheLink)
{
    RecordingServices services;
    ButtonDialog dialog(services);
    // Longer than the 260 characters a fixed buffer would hold.
    const std::string link = "http://www.qinghe.example/books?list=" + std::string(300, 'a') + "&end=1";
    RunModal(dialog, [&](HWND w) {
        HWND generate = dialog.generate.GetHwnd();
        Click(w, IDC_GENERATE);
        EXPECT_EQ(GetFocus(), generate);
        EXPECT_TRUE(services.opened.empty()) << "no link, nothing opened";

        dialog.generate.SetLinkTarget(link.c_str());
        const LPARAM at = Centre(generate);
        // A double click acts as two clicks.
        SendMessageW(generate, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(generate, WM_LBUTTONUP, 0, at);
        SendMessageW(generate, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(generate, WM_LBUTTONUP, 0, at);
        dialog.generate.SetLinkTarget(nullptr);
        Click(w, IDC_GENERATE);
    });
    const std::vector<std::pair<int, int>> clicks(4, {IDC_GENERATE, BN_CLICKED});
    EXPECT_EQ(dialog.commands, clicks);
    EXPECT_EQ(services.opened, std::vector<std::string>(2, link));
    EXPECT_EQ(services.shows, std::vector<int>(2, SW_SHOWMAXIMIZED));
}

TEST(IconButton, CheckBoxModeTogglesOnClickAndLooksPressedWhenChecked)
{
    RecordingServices services;
    ButtonDialog dialog(services, true);
    RunModal(dialog, [&](HWND w) {
        HWND up = dialog.up.GetHwnd();
        const auto checked = [&] { return SendMessageW(up, BM_GETCHECK, 0, 0); };
        EXPECT_EQ(checked(), 0);
        Click(w, IDC_UP);
        EXPECT_EQ(checked(), 1);
        ExpectFrame(Paint(up), kShadow, kHighlight, "checked: sunken");
        Click(w, IDC_UP);
        EXPECT_EQ(checked(), 0);
        EXPECT_EQ(Paint(up).At(0, 0), kFace) << "unchecked, not hot: no frame";

        const struct {
            WPARAM state;
            LRESULT checkedAfter;
        } sets[] = {{BST_CHECKED, 1}, {BST_UNCHECKED, 0}, {BST_INDETERMINATE, 1}, {3, 0}};
        for (const auto& s : sets) {
            EXPECT_EQ(SendMessageW(up, BM_SETCHECK, s.state, 0), 0);
            EXPECT_EQ(checked(), s.checkedAfter) << "BM_SETCHECK " << s.state;
        }
        // A push button has no check.
        SendMessageW(dialog.generate.GetHwnd(), BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(SendMessageW(dialog.generate.GetHwnd(), BM_GETCHECK, 0, 0), 0);
    });
    const std::vector<std::pair<int, int>> clicks(2, {IDC_UP, BN_CLICKED});
    EXPECT_EQ(dialog.commands, clicks);
}

// A picture for people, checked: the dialog with the delete button under the mouse. Each
// icon is where its button's layout puts it, on the button's face: the hot one in colour,
// the idle copy in grey, and those of the buttons with one icon in colour all the time.
TEST(IconButton, Screenshot)
{
    const std::string shot = ScreenshotPath("icon_button.png");
    DeleteFileW(ui::Widen(shot).c_str());
    RecordingServices services;
    ButtonDialog dialog(services);
    struct Icon {
        const char* name;
        test::Box box;  // in the picture
        COLORREF face;
        bool coloured;
    };
    std::vector<Icon> icons;
    RunModal(dialog, [&](HWND w) {
        HWND del = dialog.del.GetHwnd();
        RECT r{};
        GetWindowRect(del, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Pump();
        Hover(del);
        SaveScreenshot(w, shot);
        const auto icon = [&](const char* name, CIconButton& button, controls::ImageAlignment alignment,
                              COLORREF face, bool coloured) {
            icons.push_back({name, InScreenshot(w, button.GetHwnd(), IconBox(button.GetHwnd(), alignment)), face,
                             coloured});
        };
        icon("delete, hot", dialog.del, controls::ImageAlignment::Above, kHotFace, true);
        icon("up, idle", dialog.up, controls::ImageAlignment::Above, kFace, false);
        icon("generate", dialog.generate, controls::ImageAlignment::Left, kFace, true);
        icon("about", dialog.about, controls::ImageAlignment::Left, kFace, true);
    });
    const test::Picture picture = test::ReadPng(shot);
    EXPECT_GT(test::CountColours(picture, picture.Whole()), 1u) << "blank";
    ASSERT_EQ(icons.size(), 4u);
    for (const Icon& icon : icons) {
        EXPECT_GT(test::CountOtherThan(picture, icon.box, Rgb(icon.face)), 20) << icon.name << ": no icon";
        if (icon.coloured)
            EXPECT_GT(test::CountColoured(picture, icon.box), 20) << icon.name << ": not in colour";
        else
            EXPECT_EQ(test::CountColoured(picture, icon.box), 0) << icon.name << ": not grey";
    }
}

} // namespace
} // namespace wintest
