// The add-content dialog on its own list: trimming, the empty check, splitting a long
// text, closing without saving, and Ctrl+A in the text box.
#include "res/resource.h"
#include "app/add_content_dialog.h"
#include "sources/source_list.h"
#include "support/book_parts.h"
#include "ui/recording_services.h"
#include "ui/window_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace wintest {
namespace {

const std::string kEmpty = "标题和内容不能为空啊!";

TEST(AddContentDialog, EmptyTitleOrTextAfterTrimmingIsRefusedAndTheDialogStays)
{
    const struct {
        const char* title;
        const char* text;
    } cases[] = {
        {"   ", "内容"},
        {"", "内容"},
        {"标题", ""},
        {"标题", " \r\n\t\r\n "},
        {"\t\r\n", "\r\n"},
    };
    RecordingServices services;
    CSourceList list;
    CAddContentDlg dialog(services, list);
    RunModal(dialog, [&](HWND w) {
        for (const auto& c : cases) {
            SetItemText(w, IDC_CONTENT_TITLE, c.title);
            SetItemText(w, IDC_CONTENT_TEXT, c.text);
            Click(w, IDC_CONTENT_SAVE);
            EXPECT_TRUE(IsWindowVisible(w));
            EXPECT_EQ(ItemText(w, IDC_CONTENT_TITLE), c.title) << "the box keeps what was typed";
        }
        Click(w, IDOK);
    });
    EXPECT_EQ(services.MessageTexts(), std::vector<std::string>(std::size(cases), kEmpty));
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST(AddContentDialog, SavesTrimmedTextKeepingInnerBlankLines)
{
    RecordingServices services;
    CSourceList list;
    CAddContentDlg dialog(services, list);
    const std::string typed = "\r\n\r\n  第一行\r\n\r\n第三行  \r\n\r\n";
    RunModal(dialog, [&](HWND w) {
        SetItemText(w, IDC_CONTENT_TITLE, "  序章 ");
        SetItemText(w, IDC_CONTENT_TEXT, typed);
        Click(w, IDC_CONTENT_SAVE);
        EXPECT_EQ(ItemText(w, IDC_CONTENT_TEXT), typed);
        Click(w, IDOK);
    });
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(test::Titles(list), std::vector<std::string>{"序章"});
    EXPECT_EQ(test::Texts(list), std::vector<std::string>{"第一行\r\n\r\n第三行"});
}

TEST(AddContentDialog, TypedTextLongerThanAPartIsSplitIntoNumberedParts)
{
    RecordingServices services;
    CSourceList list;
    CAddContentDlg dialog(services, list);
    // 3000 lines of 98 characters and a line break (100 UTF-16 units each), then one more
    // character: three parts counted in UTF-16 units, the last holding that character.
    std::string line;
    for (int i = 0; i < 97; ++i)
        line += "字";
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "字" + line + "\r\n";
    text += "尾";
    RunModal(dialog, [&](HWND w) {
        EXPECT_EQ(SendDlgItemMessageW(w, IDC_CONTENT_TEXT, EM_GETLIMITTEXT, 0, 0), 1000000);
        SetItemText(w, IDC_CONTENT_TITLE, "长");
        SetItemText(w, IDC_CONTENT_TEXT, text);
        Click(w, IDC_CONTENT_SAVE);
        Click(w, IDOK);
    });
    EXPECT_EQ(test::Titles(list), (std::vector<std::string>{"长(1)", "长(2)", "长(3)"}));
    ASSERT_EQ(test::Texts(list).size(), 3u);
    EXPECT_EQ(test::Texts(list)[0], text.substr(0, 1500 * (98 * 3 + 2)));
    EXPECT_EQ(test::Texts(list)[2], "尾");
}

TEST(AddContentDialog, ClosingAfterTypingAddsNothing)
{
    for (const bool escape : {true, false}) {
        RecordingServices services;
        CSourceList list;
        CAddContentDlg dialog(services, list);
        const INT_PTR result = RunModal(dialog, [&](HWND w) {
            SetItemText(w, IDC_CONTENT_TITLE, "标题");
            SetItemText(w, IDC_CONTENT_TEXT, "内容");
            if (escape)
                DialogKey(w, GetDlgItem(w, IDC_CONTENT_TEXT), VK_ESCAPE);
            else
                Click(w, IDOK);
        });
        EXPECT_EQ(result, escape ? IDCANCEL : IDOK);
        EXPECT_EQ(list.GetCount(), 0u);
        EXPECT_TRUE(services.messages.empty());
    }
}

TEST(AddContentDialog, EnterInTheTitleMovesToTheText)
{
    RecordingServices services;
    CSourceList list;
    CAddContentDlg dialog(services, list);
    RunModal(dialog, [&](HWND w) {
        SetItemText(w, IDC_CONTENT_TITLE, "序章");
        DialogKey(w, GetDlgItem(w, IDC_CONTENT_TITLE), VK_RETURN);
        EXPECT_TRUE(IsWindowVisible(w)) << "Enter does not press 退出";
        EXPECT_EQ(GetFocus(), GetDlgItem(w, IDC_CONTENT_TEXT));
        EXPECT_EQ(ItemText(w, IDC_CONTENT_TITLE), "序章");
        services.answers = {IDYES};
        Click(w, IDOK);
    });
    EXPECT_EQ(list.GetCount(), 0u);
}

// 退出, Esc and the close box ask before typing that was not saved is lost: 否 keeps the
// dialog and the typing, 是 closes. Nothing typed, or all of it saved: no question.
TEST(AddContentDialog, ClosingWithUnsavedTypingAsksFirst)
{
    const std::function<void(HWND)> closes[] = {
        [](HWND w) { Click(w, IDOK); },
        [](HWND w) { DialogKey(w, GetDlgItem(w, IDC_CONTENT_TEXT), VK_ESCAPE); },
        [](HWND w) {
            SendMessageW(w, WM_CLOSE, 0, 0);
            Pump();  // the dialog manager posts the close box's cancel command
        },
    };
    for (const auto& close : closes) {
        RecordingServices services;
        services.answers = {IDNO, IDYES};
        CSourceList list;
        CAddContentDlg dialog(services, list);
        bool kept = false;
        RunModal(dialog, [&](HWND w) {
            SetItemText(w, IDC_CONTENT_TEXT, "内容");
            close(w);
            kept = IsWindowVisible(w) && ItemText(w, IDC_CONTENT_TEXT) == "内容";
            close(w);
            EXPECT_FALSE(IsWindowVisible(w));
        });
        EXPECT_TRUE(kept);
        EXPECT_EQ(services.QuestionTexts(), (std::vector<std::string>{"放弃输入的内容？", "放弃输入的内容？"}));
        EXPECT_EQ(services.questions[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
        EXPECT_EQ(list.GetCount(), 0u);
    }
    for (const bool save : {false, true}) {
        RecordingServices services;
        CSourceList list;
        CAddContentDlg dialog(services, list);
        RunModal(dialog, [&](HWND w) {
            if (save) {
                SetItemText(w, IDC_CONTENT_TITLE, "题");
                SetItemText(w, IDC_CONTENT_TEXT, "文");
                Click(w, IDC_CONTENT_SAVE);
            }
            Click(w, IDOK);
            EXPECT_FALSE(IsWindowVisible(w));
        });
        EXPECT_TRUE(services.questions.empty()) << save;
    }
}

void PressControl(bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_CONTROL;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

TEST(AddContentDialog, CtrlASelectsTheWholeTextAndAAloneDoesNot)
{
    RecordingServices services;
    CSourceList list;
    CAddContentDlg dialog(services, list);
    RunModal(dialog, [&](HWND w) {
        HWND edit = GetDlgItem(w, IDC_CONTENT_TEXT);
        SetItemText(w, IDC_CONTENT_TEXT, "第一行\r\n第二行");
        SendMessageW(edit, EM_SETSEL, 2, 2);
        DWORD start = 0, end = 0;

        SendMessageW(edit, WM_KEYDOWN, 'A', 0);
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 2u);
        EXPECT_EQ(end, 2u) << "A alone goes to the edit box's own handling";

        PressControl(true);
        ASSERT_TRUE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
        SendMessageW(edit, WM_KEYDOWN, 'A', 0);
        PressControl(false);
        Pump();
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 8u) << "the whole text, line break included";
        Click(w, IDOK);
    });
}

} // namespace
} // namespace wintest
