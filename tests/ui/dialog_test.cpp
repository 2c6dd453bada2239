// The dialog base and control objects on the program's own templates: data exchange,
// default commands, reflection to the control objects, subclassing, and exceptions that
// leave a handler.
#include "platform/file_exception.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/recording_services.h"
#include "ui/wide_text.h"
#include "ui/win32_services.h"
#include "ui/window_test_support.h"

#include <gtest/gtest.h>

#include <new>

namespace {

using wintest::RecordingServices;

// The add-content template (137): two edit boxes, "退出" (1) and "保存" (1006).
class FieldsDialog : public ui::Dialog {
public:
    explicit FieldsDialog(ui::IServices& services) : ui::Dialog(IDD_ADD_CONTENT, services) {}

    std::string title = "初始标题";
    std::string text;
    int exchanges = 0;
    std::function<bool(int id, int code)> onCommand;

protected:
    void ExchangeData(ui::DataExchange& exchange) override
    {
        ++exchanges;
        exchange.Text(IDC_CONTENT_TITLE, title);
        exchange.Text(IDC_CONTENT_TEXT, text);
        exchange.LimitText(IDC_CONTENT_TEXT, 1234);
    }
    bool OnCommand(int id, int code, HWND) override { return onCommand && onCommand(id, code); }
};

TEST(Dialog, ExchangeShowsMembersAndOkReadsThemBack)
{
    RecordingServices services;
    FieldsDialog dialog(services);
    dialog.text = "第一行\r\n第二行";
    const INT_PTR result = wintest::RunModal(dialog, [&](HWND hwnd) {
        EXPECT_EQ(dialog.GetHwnd(), hwnd);
        EXPECT_EQ(wintest::ItemText(hwnd, IDC_CONTENT_TITLE), "初始标题");
        EXPECT_EQ(wintest::ItemText(hwnd, IDC_CONTENT_TEXT), "第一行\r\n第二行");
        EXPECT_EQ(SendDlgItemMessageW(hwnd, IDC_CONTENT_TEXT, EM_GETLIMITTEXT, 0, 0), 1234);
        wintest::SetItemText(hwnd, IDC_CONTENT_TITLE, "新标题 😀");
        wintest::Click(hwnd, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.title, "新标题 😀");
    EXPECT_EQ(dialog.exchanges, 2);
    EXPECT_EQ(dialog.GetHwnd(), nullptr);
}

TEST(Dialog, CancelEndsWithoutReadingAndHandledCommandsStopThere)
{
    RecordingServices services;
    FieldsDialog dialog(services);
    std::vector<int> commands;
    dialog.onCommand = [&](int id, int code) {
        if (code != BN_CLICKED)
            return false;
        commands.push_back(id);
        return id == IDOK;  // this dialog keeps "退出" for itself
    };
    const INT_PTR result = wintest::RunModal(dialog, [&](HWND hwnd) {
        wintest::SetItemText(hwnd, IDC_CONTENT_TITLE, "不要");
        wintest::Click(hwnd, IDOK);
        EXPECT_TRUE(IsWindowVisible(hwnd)) << "a handled IDOK does not end the dialog";
        wintest::DialogKey(hwnd, GetDlgItem(hwnd, IDC_CONTENT_TITLE), VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.title, "初始标题");
    EXPECT_EQ(commands, (std::vector<int>{IDOK, IDCANCEL}));
}

TEST(Dialog, ExceptionsLeavingAHandlerAreShownAndTheDialogGoesOn)
{
    RecordingServices services;
    FieldsDialog dialog(services);
    dialog.onCommand = [&](int id, int) -> bool {
        if (id == IDC_CONTENT_SAVE)
            throw CFileException(CFileException::accessDenied, 5, "C:\\书\\a.jar");
        if (id == IDOK)
            throw std::bad_alloc();
        return false;
    };
    const INT_PTR result = wintest::RunModal(dialog, [&](HWND hwnd) {
        wintest::Click(hwnd, IDC_CONTENT_SAVE);
        wintest::Click(hwnd, IDOK);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        ASSERT_EQ(services.messages.size(), 2u);
        EXPECT_EQ(services.messageOwners[0], hwnd);
        wintest::DialogKey(hwnd, GetDlgItem(hwnd, IDC_CONTENT_TITLE), VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_EQ(services.messages[0].text,
              CFileException(CFileException::accessDenied, 5, "C:\\书\\a.jar").Message());
    EXPECT_EQ(services.messages[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_NE(services.messages[1].text.find("内存不足"), std::string::npos);
}

// A static that colours itself and a button that takes its own clicks, both through
// reflected messages; an edit that sees its keys through subclassing.
class ColourStatic : public ui::Static {
public:
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    int colourRequests = 0;
    ~ColourStatic() override { DeleteObject(brush); }

protected:
    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (message != WM_CTLCOLORSTATIC)
            return false;
        ++colourRequests;
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
};

class SelfClickButton : public ui::Button {
public:
    int clicks = 0;

protected:
    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            return true;
        }
        return false;
    }
};

class KeyCountingEdit : public ui::Edit {
public:
    int keys = 0;
    int destroyed = 0;

protected:
    void OnAttached() override { Subclass(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_KEYDOWN)
            ++keys;
        if (message == WM_NCDESTROY)
            ++destroyed;
        return ui::Edit::WindowProc(message, wParam, lParam);
    }
};

class BoundDialog : public ui::Dialog {
public:
    explicit BoundDialog(ui::IServices& services) : ui::Dialog(IDD_ADD_CONTENT, services) {}
    ColourStatic label;  // bound to the title box: any static-coloured child will do
    SelfClickButton save;
    KeyCountingEdit edit;
    std::vector<int> commands;

protected:
    void ExchangeData(ui::DataExchange& exchange) override
    {
        exchange.Bind(IDC_CONTENT_SAVE, save);
        exchange.Bind(IDC_CONTENT_TEXT, edit);
    }
    bool OnInitDialog() override
    {
        ui::Dialog::OnInitDialog();
        // The label of the title box has no id of its own; find it as the first static.
        for (HWND child = GetWindow(GetHwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[16] = {};
            GetClassNameW(child, cls, 16);
            if (std::wstring(cls) == L"Static") {
                SetWindowLongPtrW(child, GWLP_ID, 4242);
                break;
            }
        }
        ui::DataExchange exchange(*this, false);
        exchange.Bind(4242, label);
        return true;
    }
    bool OnCommand(int id, int, HWND) override
    {
        commands.push_back(id);
        return false;
    }
};

TEST(Dialog, ReflectsToBoundControlsAndSubclassesThem)
{
    RecordingServices services;
    BoundDialog dialog(services);
    HWND editWindow = nullptr;
    wintest::RunModal(dialog, [&](HWND hwnd) {
        HWND label = GetDlgItem(hwnd, 4242);
        ASSERT_TRUE(label);
        HDC dc = GetDC(label);
        const LRESULT brush = SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(dialog.label.brush)) << "returned as the dialog procedure's result";
        EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
        ReleaseDC(label, dc);
        const int before = dialog.label.colourRequests;
        RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_GT(dialog.label.colourRequests, before) << "the label's own paint asks through the dialog";

        wintest::Click(hwnd, IDC_CONTENT_SAVE);
        EXPECT_EQ(dialog.save.clicks, 1);
        wintest::Click(hwnd, IDOK);  // the unbound "退出" reaches OnCommand, then OnOK

        editWindow = dialog.edit.GetHwnd();
        SendMessageW(editWindow, WM_KEYDOWN, 'X', 0);
        EXPECT_EQ(dialog.edit.keys, 1);
    });
    EXPECT_EQ(dialog.commands, std::vector<int>{IDOK});
    EXPECT_EQ(dialog.edit.destroyed, 1);
    EXPECT_FALSE(dialog.edit.IsAttached()) << "the object outlives its window";

    // The same objects bind again when the dialog runs a second time.
    wintest::RunModal(dialog, [&](HWND) {
        EXPECT_TRUE(dialog.edit.IsAttached());
        SendMessageW(dialog.edit.GetHwnd(), WM_KEYDOWN, 'Y', 0);
        EXPECT_EQ(dialog.edit.keys, 2);
    });
}

TEST(Dialog, ListBoxAndEditWrappers)
{
    RecordingServices services;
    class ListDialog : public ui::Dialog {
    public:
        explicit ListDialog(ui::IServices& s) : ui::Dialog(IDD_BOOKMAKER_DIALOG, s) {}
        ui::ListBox list;
        ui::Edit edit;

    protected:
        void ExchangeData(ui::DataExchange& exchange) override
        {
            exchange.Bind(IDC_SOURCES, list);
            exchange.Bind(IDC_BOOK_NAME, edit);
        }
    } dialog(services);
    wintest::RunModal(dialog, [&](HWND) {
        dialog.list.InsertString(-1, "第二");
        dialog.list.InsertString(0, "第一");
        dialog.list.InsertString(-1, "😀 third");
        EXPECT_EQ(dialog.list.GetCount(), 3);
        EXPECT_EQ(dialog.list.GetItemText(2), "😀 third");
        EXPECT_EQ(dialog.list.GetItemText(7), "");
        dialog.list.SetCurSel(1);
        EXPECT_EQ(dialog.list.GetCurSel(), 1);
        dialog.list.DeleteString(0);
        EXPECT_EQ(wintest::ListItems(dialog.list.GetHwnd()), (std::vector<std::string>{"第二", "😀 third"}));
        dialog.list.SetCurSel(-1);
        EXPECT_EQ(dialog.list.GetCurSel(), -1);

        dialog.edit.SetText("书名");
        dialog.edit.SetSel(1, 2);
        int start = 0, end = 0;
        dialog.edit.GetSel(start, end);
        EXPECT_EQ(start, 1);
        EXPECT_EQ(end, 2);
        EXPECT_EQ(dialog.edit.GetText(), "书名");
        EXPECT_EQ(dialog.edit.GetId(), IDC_BOOK_NAME);
    });
}

TEST(WideText, RoundTripAtTheBoundary)
{
    const std::string text = "青禾 😀 a\r\nb";
    EXPECT_EQ(ui::Widen(text), L"青禾 \U0001F600 a\r\nb");
    EXPECT_EQ(ui::Narrow(ui::Widen(text)), text);
    EXPECT_EQ(ui::Narrow(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD") << "lone surrogate";
    EXPECT_EQ(ui::LoadResourceString(IDS_ABOUTBOX), "关于青禾电子书制作工具(&A)...");
    EXPECT_EQ(ui::LoadResourceString(IDS_SOCKETS_INIT_FAILED), "Windows 通信端口初始化失败。");
    EXPECT_EQ(ui::LoadResourceString(9999), "");
}

TEST(Win32Services, ApplicationNameIsTheExecutableWithoutExtension)
{
    EXPECT_EQ(ui::ApplicationName(), "ui_window_tests");
}

} // namespace
