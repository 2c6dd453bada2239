// The hyperlink label on the program's own templates: colours by state through the
// dialog's reflection, hover by mouse messages and the poll timer, clicks with recorded
// shell answers, the hand cursor, the tooltip and the fit to the text.
#include "controls/hyperlink_label.h"

#include "res/resource.h"
#include "ui/recording_services.h"
#include "ui/wide_text.h"
#include "ui/window_test_support.h"

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

namespace wintest {
namespace {

const std::string kMail = "mailto:bookmaker@qinghe.example";
const std::string kWeb = "http://www.qinghe.example/";

constexpr COLORREF kLinkColor = RGB(0, 0, 238);
constexpr COLORREF kVisitedColor = RGB(85, 26, 139);
constexpr COLORREF kHoverColor = RGB(255, 0, 0);

// A dialog of the program's templates with two of its statics bound as hyperlink labels.
class LinkDialog : public ui::Dialog {
public:
    LinkDialog(int templateId, int firstId, int secondId, ui::IServices& services)
        : ui::Dialog(templateId, services), m_nFirstId(firstId), m_nSecondId(secondId)
    {
    }

    CHyperlinkLabel first;
    CHyperlinkLabel second;
    // Run with the window made: before the labels are bound, and after.
    std::function<void(LinkDialog&)> beforeBind;
    std::function<void(LinkDialog&)> afterBind;

protected:
    void ExchangeData(ui::DataExchange& exchange) override
    {
        exchange.Bind(m_nFirstId, first);
        exchange.Bind(m_nSecondId, second);
    }
    bool OnInitDialog() override
    {
        if (beforeBind)
            beforeBind(*this);
        const bool focus = ui::Dialog::OnInitDialog();
        if (afterBind)
            afterBind(*this);
        return focus;
    }

private:
    int m_nFirstId;
    int m_nSecondId;
};

// What the dialog answers for the label's WM_CTLCOLORSTATIC, as the static asks it.
struct PaintColours {
    COLORREF text;
    int backgroundMode;
    HBRUSH brush;
};

PaintColours ColoursOf(HWND label)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    const LRESULT brush =
        SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    const PaintColours colours{GetTextColor(dc), GetBkMode(dc), reinterpret_cast<HBRUSH>(brush)};
    DeleteDC(dc);
    return colours;
}

COLORREF TextColour(HWND label) { return ColoursOf(label).text; }

bool Underlined(HWND label)
{
    LOGFONTW face{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof face, &face);
    return face.lfUnderline != 0;
}

// A click as the user's: the static turns it into STN_CLICKED for its parent.
void ClickLabel(HWND label)
{
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

POINT CentreOnScreen(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Dispatches this thread's messages for ms milliseconds, or until done says so.
bool PumpFor(DWORD ms, const std::function<bool()>& done = nullptr)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Pump();
        if (done && done())
            return true;
        Sleep(10);
    }
    return done && done();
}

// The tooltip that has a tool 1 on label.
HWND TipOf(HWND label)
{
    struct Search {
        HWND label;
        HWND tip = nullptr;
    } search{label};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t cls[32] = {};
            GetClassNameW(window, cls, 32);
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.hwnd = s->label;
            tool.uId = 1;
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0 ||
                !SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)))
                return TRUE;
            s->tip = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.tip;
}

std::string TipText(HWND label)
{
    HWND tip = TipOf(label);
    if (!tip)
        return "<no tooltip>";
    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = label;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return ui::Narrow(text);
}

// The browser the label falls back to is the open command of the page type that .htm
// names. The test prefix registers none (Wine's HTML engine is off), so the fixture
// registers a browser of its own and removes it afterwards.
const wchar_t kPageType[] = L"BookMakerTest.htmlfile";
const std::string kBrowser = R"("C:\Program Files\Qinghe Test Browser\browser.exe" -nohome )";

void SetDefaultValue(const std::wstring& subkey, const std::wstring& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// A .htm registered by someone else is left alone; one left over from an interrupted run
// of these tests is theirs.
bool RegisterOwnBrowser()
{
    wchar_t current[128] = {};
    DWORD bytes = sizeof current;
    const LONG found = RegGetValueW(HKEY_CLASSES_ROOT, L".htm", nullptr, RRF_RT_REG_SZ, nullptr, current, &bytes);
    if (found != ERROR_FILE_NOT_FOUND && std::wstring(current) != kPageType)
        return false;
    SetDefaultValue(L".htm", kPageType);
    SetDefaultValue(std::wstring(kPageType) + L"\\shell\\open\\command", ui::Widen(kBrowser + "\"%1\""));
    return true;
}

class HyperlinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_bRegistered = RegisterOwnBrowser();
    }
    void TearDown() override
    {
        if (!m_bRegistered)
            return;
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".htm");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kPageType);
    }
    // False where .htm was registered already: the browser started is then that one.
    bool OwnBrowserRegistered() const { return m_bRegistered; }

    RecordingServices services;

private:
    bool m_bRegistered = false;
};

// The main window's use: links set after binding. Colour by state, a successful open,
// then a failed one that falls back to the registered browser, which fails too.
TEST_F(HyperlinkLabelTest, MainWindowLabelColourFollowsHoverVisitAndFailedOpen)
{
    LinkDialog dialog(IDD_BOOKMAKER_DIALOG, IDC_MAIL_LINK, IDC_WEB_LINK, services);
    dialog.afterBind = [](LinkDialog& d) {
        d.first.SetLink(kMail);
        d.second.SetLink(kWeb);
    };
    RunModal(dialog, [&](HWND w) {
        HWND web = GetDlgItem(w, IDC_WEB_LINK);
        EXPECT_TRUE(GetWindowLongPtrW(web, GWL_STYLE) & SS_NOTIFY);
        EXPECT_EQ(Text(web), "☆访问青禾无线娱乐网www.qinghe.example");  // the text stays
        EXPECT_EQ(TipText(web), kWeb);

        const PaintColours idle = ColoursOf(web);
        EXPECT_EQ(idle.text, kLinkColor);
        EXPECT_EQ(idle.backgroundMode, TRANSPARENT);
        EXPECT_EQ(idle.brush, GetStockObject(NULL_BRUSH));

        SetCursorPos(CentreOnScreen(web).x, CentreOnScreen(web).y);
        SendMessageW(web, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(TextColour(web), kHoverColor);

        ClickLabel(web);
        EXPECT_EQ(services.opened, std::vector<std::string>{kWeb});
        EXPECT_EQ(services.shows, std::vector<int>{SW_SHOW});
        EXPECT_TRUE(dialog.second.IsVisited());
        EXPECT_EQ(TextColour(web), kVisitedColor);  // the click ended the hover
        EXPECT_TRUE(services.messages.empty());

        // The shell cannot open it, nor can the browser registered for web pages.
        services.shellOpenResult = SE_ERR_NOASSOC;
        services.startProcessResult = ERROR_FILE_NOT_FOUND;
        ClickLabel(web);
        ASSERT_EQ(services.opened.size(), 2u);
        ASSERT_EQ(services.started.size(), 1u);
        if (OwnBrowserRegistered()) {
            EXPECT_EQ(services.started[0], kBrowser + " " + kWeb);
        }
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, "Unable to open hyperlink:\n\nThe specified file was not found.");
        EXPECT_EQ(services.messages[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_FALSE(dialog.second.IsVisited());
        EXPECT_EQ(TextColour(web), kLinkColor);

        // The other label was never touched.
        EXPECT_EQ(TextColour(GetDlgItem(w, IDC_MAIL_LINK)), kLinkColor);
    });
}

TEST_F(HyperlinkLabelTest, FailedShellOpenStartsTheBrowserRegisteredForWebPages)
{
    LinkDialog dialog(IDD_BOOKMAKER_DIALOG, IDC_MAIL_LINK, IDC_WEB_LINK, services);
    dialog.afterBind = [](LinkDialog& d) { d.second.SetLink(kWeb); };
    if (!OwnBrowserRegistered())
        GTEST_SKIP() << ".htm is registered already";
    services.shellOpenResult = SE_ERR_NOASSOC;
    RunModal(dialog, [&](HWND w) {
        ClickLabel(GetDlgItem(w, IDC_WEB_LINK));
        // The placeholder's place, a space, the link.
        EXPECT_EQ(services.started, std::vector<std::string>{kBrowser + " " + kWeb});
        EXPECT_EQ(services.opened, std::vector<std::string>{kWeb});
        EXPECT_TRUE(services.messages.empty());
        EXPECT_TRUE(dialog.second.IsVisited());
        EXPECT_EQ(TextColour(GetDlgItem(w, IDC_WEB_LINK)), kVisitedColor);
    });
}

// The hover lasts while the cursor stays on the label and ends at the first timer tick
// that finds it outside; the underline follows the mode.
TEST_F(HyperlinkLabelTest, HoverLastsWhileTheCursorStaysAndEndsAtATickAfterItLeaves)
{
    LinkDialog dialog(IDD_BOOKMAKER_DIALOG, IDC_MAIL_LINK, IDC_WEB_LINK, services);
    RunModal(dialog, [&](HWND w) {
        HWND mail = GetDlgItem(w, IDC_MAIL_LINK);
        const POINT inside = CentreOnScreen(mail);
        RECT r{};
        GetWindowRect(mail, &r);
        const POINT outside{inside.x, r.top - 40};
        const struct {
            int mode;
            bool underlinedWhileOver;
            bool underlinedAfter;
        } cases[] = {{-1, true, false}, {0, false, false}, {1, true, true}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.mode);
            dialog.first.SetUnderlineMode(c.mode);
            // Under Wine a late motion event from the last case's moves outside can take the
            // cursor out again: it is put inside until it stays, and kept there.
            const auto keepInside = [&] {
                SetCursorPos(inside.x, inside.y);
                POINT at{};
                GetCursorPos(&at);
                return at.x == inside.x && at.y == inside.y;
            };
            EXPECT_TRUE(PumpFor(1000, keepInside));
            PumpFor(50, [&] { return !keepInside(); });
            SendMessageW(mail, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
            EXPECT_EQ(TextColour(mail), kHoverColor);
            EXPECT_EQ(Underlined(mail), c.underlinedWhileOver);

            PumpFor(350, [&] { return !keepInside(); });  // three ticks with the cursor inside
            EXPECT_EQ(TextColour(mail), kHoverColor);

            // Put again while waiting: under Wine a late motion event from the move inside
            // can bring the cursor back.
            EXPECT_TRUE(PumpFor(1000, [&] {
                SetCursorPos(outside.x, outside.y);
                return TextColour(mail) == kLinkColor;
            }));
            EXPECT_EQ(Underlined(mail), c.underlinedAfter);
        }
    });
}

// The about box's use: no SetLink, the hand cursor asked for. Its second label gets a
// link before binding and an empty text, so it shows the link.
TEST_F(HyperlinkLabelTest, AboutBoxLabelsOpenTheirTextShowTheHandAndFitTheirText)
{
    const std::string books = "http://www.qinghe.example/books/";
    LinkDialog dialog(IDD_ABOUTBOX, IDC_ABOUT_MAIL, IDC_ABOUT_WEB, services);
    dialog.beforeBind = [&](LinkDialog& d) {
        SetItemText(d.GetHwnd(), IDC_ABOUT_WEB, "");
        d.second.SetLink(books);
    };
    dialog.afterBind = [](LinkDialog& d) {
        d.first.SetLinkCursor(nullptr);
        d.second.SetLinkCursor(nullptr);
    };
    RunModal(dialog, [&](HWND w) {
        HWND mail = GetDlgItem(w, IDC_ABOUT_MAIL);
        HWND web = GetDlgItem(w, IDC_ABOUT_WEB);
        EXPECT_EQ(Text(web), books);
        EXPECT_EQ(TipText(mail), kMail);
        EXPECT_EQ(TipText(web), books);

        // Sized to the text in its own font, from the template's top-left corner.
        for (const auto& [label, id, x, y] : {std::tuple{mail, IDC_ABOUT_MAIL, 14, 103},
                                              std::tuple{web, IDC_ABOUT_WEB, 126, 103}}) {
            SCOPED_TRACE(id);
            const std::wstring text = ui::Widen(Text(label));
            HDC dc = GetDC(label);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(label, dc);
            RECT r{};
            GetWindowRect(label, &r);
            MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
            const RECT placed = DialogUnits(w, x, y, 1, 1);
            EXPECT_EQ(r.left, placed.left);
            EXPECT_EQ(r.top, placed.top);
            EXPECT_EQ(r.right - r.left, extent.cx);
            EXPECT_EQ(r.bottom - r.top, extent.cy);
        }

        // The hand, not the arrow.
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_EQ(SendMessageW(mail, WM_SETCURSOR, reinterpret_cast<WPARAM>(mail), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_NE(GetCursor(), nullptr);
        EXPECT_EQ(GetCursor(), dialog.first.GetLinkCursor());

        ClickLabel(mail);
        ClickLabel(web);
        EXPECT_EQ(services.opened, (std::vector<std::string>{kMail, books}));
    });
}

// A picture for people, checked: the main window's two labels, the web one under the
// mouse with its tooltip, the mail one visited, each written in its colour.
// The keyboard reaches a label with Tab; Enter and Space open its link; while it has the
// focus it is framed in dots of its colour, which go again when the focus leaves.
TEST_F(HyperlinkLabelTest, KeyboardFocusFramesTheLabelAndEnterOpensIt)
{
    const std::string shot = ScreenshotPath("hyperlink_label_focus.png");
    LinkDialog dialog(IDD_BOOKMAKER_DIALOG, IDC_MAIL_LINK, IDC_WEB_LINK, services);
    dialog.afterBind = [](LinkDialog& d) {
        d.first.SetLink(kMail);
        d.second.SetLink(kWeb);
    };
    int framedFocused = 0, framedAfter = 0;
    RunModal(dialog, [&](HWND w) {
        HWND web = GetDlgItem(w, IDC_WEB_LINK);
        EXPECT_TRUE(GetWindowLongPtrW(web, GWL_STYLE) & WS_TABSTOP);
        SendMessageW(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(web), TRUE);
        Pump();
        RedrawWindow(web, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        SaveScreenshot(w, shot);
        const test::Box box = InScreenshot(w, web);
        // The frame: the top row of the label, in the link's colour.
        framedFocused = test::CountIn(test::ReadPng(shot), {box.left, box.top, box.right, box.top + 1}, {Rgb(kLinkColor)});
        DialogKey(w, web, VK_RETURN);
        DialogKey(w, web, VK_SPACE);
        SendMessageW(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(w, IDC_BOOK_NAME)), TRUE);
        Pump();
        RedrawWindow(web, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        SaveScreenshot(w, shot + ".after.png");
        framedAfter = test::CountIn(test::ReadPng(shot + ".after.png"), {box.left, box.top, box.right, box.top + 1},
                                    {Rgb(kLinkColor), Rgb(kVisitedColor)});
    });
    // Dots along the whole top edge while focused; at most the tops of glyphs after.
    EXPECT_GT(framedFocused, framedAfter + 40) << framedFocused << " against " << framedAfter;
    EXPECT_EQ(services.opened, (std::vector<std::string>{kWeb, kWeb}));
}

TEST_F(HyperlinkLabelTest, Screenshot)
{
    const std::string shot = ScreenshotPath("hyperlink_label.png");
    DeleteFileW(ui::Widen(shot).c_str());
    LinkDialog dialog(IDD_BOOKMAKER_DIALOG, IDC_MAIL_LINK, IDC_WEB_LINK, services);
    dialog.afterBind = [](LinkDialog& d) {
        d.first.SetLink(kMail);
        d.second.SetLink(kWeb);
    };
    test::Box webBox, mailBox;  // in the picture
    RunModal(dialog, [&](HWND w) {
        HWND web = GetDlgItem(w, IDC_WEB_LINK);
        ClickLabel(GetDlgItem(w, IDC_MAIL_LINK));
        const POINT at = CentreOnScreen(web);
        SetCursorPos(at.x, at.y);
        POINT client = at;
        ScreenToClient(web, &client);
        SendMessageW(web, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        // The tooltip sees the label's mouse messages itself and shows after its delay.
        EXPECT_TRUE(PumpFor(2000, [&] { return IsWindowVisible(TipOf(web)) != FALSE; }));
        EXPECT_EQ(TextColour(web), kHoverColor);
        SaveScreenshot(w, shot);
        webBox = InScreenshot(w, web);
        mailBox = InScreenshot(w, GetDlgItem(w, IDC_MAIL_LINK));
    });
    const test::Picture picture = test::ReadPng(shot);
    EXPECT_GT(test::CountColours(picture, picture.Whole()), 1u) << "blank";
    EXPECT_GT(test::CountIn(picture, webBox, {Rgb(kHoverColor)}), 10) << "the web label is not written in red";
    EXPECT_GT(test::CountIn(picture, mailBox, {Rgb(kVisitedColor)}), 10) << "the mail label is not written as visited";
}

} // namespace
} // namespace wintest
