// Drives the real BookMaker.exe from outside, by control id, as a user would: starts it in
// a working folder, fills the book fields, adds a file through the file dialog and typed
// content through the add-content dialog, generates the book, checks that a file-manager
// window opened on its folder, and closes the program. Runs in the same Wine desktop as the
// program (FindWindow reaches only windows of the same desktop).
//
// usage: bookmaker_driver BOOKMAKER_EXE WORK_FOLDER SCENARIO_FILE
// SCENARIO_FILE is UTF-8, one "key=value" per line: name, author, maker, file (a path for
// the file dialog), title and text (typed content; "\n" in text stands for a line break),
// help=1 to open readme.txt from the menu and report the first line Notepad shows;
// volume and compression (command ids of 工具 > 分卷大小 and 工具 > 压缩) to choose before
// generating, expect the file name
// of the jar whose appearance shows the book was written (default: name.jar), after a
// command id to choose once the file manager opened. busy=1: while the file is added, the
// window is clicked (删, 添加文件, 生成电子书, 关闭程序) and must answer messages and keep its list
// as it was; reports how long the adding took (add_ms) and how the window answered.
// cancel=1: a build is started and cancelled in its progress window before the real one;
// nothing may be written. Reports the window's result line after each build.
// file may name several files of one folder, separated by "|": they are chosen together in
// the file dialog. output=1: 工具 > 输出文件夹 > 选择文件夹 picks the first folder inside the
// working folder in the folder chooser (keys in its tree), and the book is expected there.
// resize=1: the window is made larger, then maximised and restored; reports the list's size
// each time (list_size, list_grown, list_maximised) and the list frame's caption.
// Prints what it saw as UTF-8 "key=value" lines; exits 0 when every step worked.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Control ids of the program's windows.
constexpr int kClose = 1, kAddFile = 3, kGenerate = 4, kSources = 1005, kAuthor = 1009,
              kMaker = 1014, kAddContent = 1015, kBookName = 1016;
constexpr int kHelpCommand = 32777, kSplitByChaptersCommand = 32778;
constexpr int kContentClose = 1, kContentSave = 1006, kContentText = 1010, kContentTitle = 1013;
constexpr int kDelete = 1011, kInfoText = 1019, kProgressCancel = 2, kProgressText = 1101;
constexpr int kSettingsLine = 1020, kListFrame = 1250, kOutputChooseCommand = 32832;
constexpr wchar_t kMainCaption[] = L"青禾手机电子书制作:www.qinghe.example";
constexpr wchar_t kContentCaption[] = L"添加内容";

std::wstring Wide(const std::string& s)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Utf8(const std::wstring& w)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

void Report(const std::string& key, const std::string& value)
{
    std::printf("%s=%s\n", key.c_str(), value.c_str());
    std::fflush(stdout);
}

HANDLE g_program = nullptr;

BOOL CALLBACK CloseBrowser(HWND window, LPARAM)
{
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (std::wstring(cls) == L"ExplorerWClass" || std::wstring(cls) == L"Notepad")
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Leaves nothing running: the program and any file-manager window would keep the test's
// output open.
[[noreturn]] void Fail(const std::string& what)
{
    Report("error", what);
    if (g_program)
        TerminateProcess(g_program, 1);
    EnumWindows(CloseBrowser, 0);
    std::exit(1);
}

// Polls until found returns true, for at most 30 seconds.
bool WaitFor(const std::function<bool()>& found)
{
    for (int i = 0; i < 1500; ++i) {
        if (found())
            return true;
        Sleep(20);
    }
    return false;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    // WM_GETTEXT is carried across processes; GetWindowText would not ask the window.
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

struct Search {
    DWORD process;
    std::wstring className;
    std::wstring caption;  // empty: any
    HWND exclude;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data)
{
    auto* s = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (s->process && process != s->process)
        return TRUE;
    if (window == s->exclude || !IsWindowVisible(window))
        return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (s->className != cls)
        return TRUE;
    wchar_t caption[512] = {};
    GetWindowTextW(window, caption, 512);
    if (!s->caption.empty() && s->caption != caption)
        return TRUE;
    s->found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD process, const std::wstring& className, const std::wstring& caption, HWND exclude = nullptr)
{
    Search s{process, className, caption, exclude, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// A message box of the program means a step failed: say what it says.
void FailOnMessageBox(DWORD process, HWND main)
{
    HWND box = FindTopLevel(process, L"#32770", L"BookMaker", main);
    if (box)
        Fail("message box: " + Utf8(WindowText(GetDlgItem(box, 0xFFFF))));
}

void SetText(HWND dialog, int id, const std::string& text)
{
    const std::wstring w = Wide(text);
    if (!SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str())))
        Fail("cannot set the text of control " + std::to_string(id));
}

int ListCount(HWND main) { return static_cast<int>(SendMessageW(GetDlgItem(main, kSources), LB_GETCOUNT, 0, 0)); }

std::map<std::string, std::string> ReadScenario(const wchar_t* path)
{
    std::map<std::string, std::string> values;
    FILE* in = _wfopen(path, L"rb");
    if (!in)
        Fail("cannot read the scenario");
    std::string all;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        all.append(buffer, n);
    std::fclose(in);
    std::size_t from = 0;
    while (from < all.size()) {
        std::size_t end = all.find('\n', from);
        if (end == std::string::npos)
            end = all.size();
        const std::string line = all.substr(from, end - from);
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
        from = end + 1;
    }
    std::string& text = values["text"];
    for (std::size_t at; (at = text.find("\\n")) != std::string::npos;)
        text.replace(at, 2, "\r\n");
    return values;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bookmaker_driver BOOKMAKER_EXE WORK_FOLDER SCENARIO_FILE\n");
        return 2;
    }
    const std::wstring exe = argv[1];
    const std::wstring folder = argv[2];
    std::map<std::string, std::string> scenario = ReadScenario(argv[3]);

    // The program starts in the working folder: the book is written there.
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        Fail("cannot start " + Utf8(exe));
    const DWORD pid = process.dwProcessId;
    g_program = process.hProcess;

    HWND main = nullptr;
    if (!WaitFor([&] { return (main = FindTopLevel(pid, L"#32770", kMainCaption)) != nullptr; }))
        Fail("the main window did not appear");
    Report("main_window", "shown");

    // 工具 > 按章节拆分, as a click on the menu item sends it.
    const bool byChapters = scenario["chapters"] == "1";
    if (byChapters)
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(kSplitByChaptersCommand, 0), 0);

    SetText(main, kBookName, scenario["name"]);
    SetText(main, kAuthor, scenario["author"]);
    SetText(main, kMaker, scenario["maker"]);

    // A file through the real file dialog: its file-name box, then its OK button.
    if (!scenario["file"].empty()) {
        PostMessageW(GetDlgItem(main, kAddFile), BM_CLICK, 0, 0);
        HWND open = nullptr;
        if (!WaitFor([&] { return (open = FindTopLevel(pid, L"#32770", L"", main)) != nullptr; }))
            Fail("the file dialog did not appear");
        Report("file_dialog", Utf8(WindowText(open)));
        HWND name = GetDlgItem(open, 0x47C);  // cmb13, the file-name combo box
        if (!name)
            name = GetDlgItem(open, 0x480);   // edt1
        if (!name)
            Fail("the file dialog has no file-name box");
        std::wstring path = Wide(scenario["file"]);
        const std::size_t bar = path.find(L'|');
        if (bar != std::wstring::npos) {
            // Several files: the dialog goes to their folder first, then takes their names,
            // each in quotes, as the dialog writes them when they are selected together.
            const std::wstring first = path.substr(0, bar);
            const std::wstring where = first.substr(0, first.find_last_of(L'\\'));
            SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(where.c_str()));
            SendMessageW(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(open, IDOK)));
            Sleep(500);
            std::wstring names;
            for (std::size_t at = 0; at <= path.size();) {
                std::size_t end = path.find(L'|', at);
                if (end == std::wstring::npos)
                    end = path.size();
                const std::wstring one = path.substr(at, end - at);
                names += L"\"" + one.substr(one.find_last_of(L'\\') + 1) + L"\" ";
                at = end + 1;
            }
            path = names;
        }
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        const ULONGLONG start = GetTickCount64();
        PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(open, IDOK)));
        if (scenario["busy"] == "1") {
            // While the work runs the window is disabled, answers at once, and refuses
            // every command: the list stays empty until the whole file is in.
            int probes = 0, slow = 0, changed = 0;
            WaitFor([&] { return !IsWindow(open) && !IsWindowEnabled(main); });
            while (!IsWindowEnabled(main) && GetTickCount64() - start < 120000) {
                for (int id : {kDelete, kAddFile, kGenerate, kClose}) {
                    // Once the work is over the window takes commands again: a click then
                    // would be the user's next command, not one made while it worked.
                    if (IsWindowEnabled(main))
                        break;
                    DWORD_PTR ignored = 0;
                    if (!SendMessageTimeoutW(GetDlgItem(main, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored))
                        ++slow;
                }
                DWORD_PTR ignored = 0;
                if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored))
                    ++slow;
                RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                if (!IsWindowEnabled(main))
                    changed += ListCount(main) != 0;
                ++probes;
                Sleep(50);
            }
            Report("busy_probes", std::to_string(probes));
            Report("busy_unanswered", std::to_string(slow));
            Report("busy_list_changed", std::to_string(changed));
            if (FindTopLevel(pid, L"#32770", L"", main) && FindTopLevel(pid, L"#32770", L"", main) != main) {
                HWND other = FindTopLevel(pid, L"#32770", L"", main);
                Report("busy_opened", Utf8(WindowText(other)));
            }
        }
        if (!WaitFor([&] { return ListCount(main) >= 1 && IsWindowEnabled(main); })) {
            FailOnMessageBox(pid, main);
            Fail("the chosen file was not added");
        }
        Report("add_ms", std::to_string(GetTickCount64() - start));
    }

    // Typed content through the add-content dialog; saving leaves it open.
    const int before = ListCount(main);
    PostMessageW(GetDlgItem(main, kAddContent), BM_CLICK, 0, 0);
    HWND content = nullptr;
    if (!WaitFor([&] { return (content = FindTopLevel(pid, L"#32770", kContentCaption)) != nullptr; }))
        Fail("the add-content dialog did not appear");
    SetText(content, kContentTitle, scenario["title"]);
    SetText(content, kContentText, scenario["text"]);
    SendMessageW(GetDlgItem(content, kContentSave), BM_CLICK, 0, 0);
    FailOnMessageBox(pid, main);
    if (!IsWindowVisible(content))
        Fail("saving closed the add-content dialog");
    PostMessageW(GetDlgItem(content, kContentClose), BM_CLICK, 0, 0);
    if (!WaitFor([&] { return !IsWindow(content); }))
        Fail("the add-content dialog did not close");

    const int count = ListCount(main);
    Report("added_by_content", std::to_string(count - before));
    for (int i = 0; i < count; ++i) {
        wchar_t item[1024] = {};
        SendMessageW(GetDlgItem(main, kSources), LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
        Report("item", Utf8(item));
    }

    // Help: the shell opens readme.txt of the working folder.
    if (scenario["help"] == "1") {
        PostMessageW(main, WM_COMMAND, kHelpCommand, 0);
        HWND notepad = nullptr;
        if (!WaitFor([&] { return (notepad = FindTopLevel(0, L"Notepad", L"")) != nullptr; }))
            Fail("readme.txt was not opened");
        const std::wstring text = WindowText(FindWindowExW(notepad, nullptr, L"Edit", nullptr));
        Report("help_window", Utf8(WindowText(notepad)));
        Report("help_first_line", Utf8(text.substr(0, text.find(L'\r'))));
        PostMessageW(notepad, WM_CLOSE, 0, 0);
        WaitFor([&] { return !IsWindow(notepad); });
    }

    if (scenario["resize"] == "1") {
        // The list takes the room of a larger window, and of a maximised one.
        const auto listSize = [&] {
            RECT r {};
            GetWindowRect(GetDlgItem(main, kSources), &r);
            return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
        };
        Report("list_size", listSize());
        Report("list_caption", Utf8(WindowText(GetDlgItem(main, kListFrame))));
        RECT r {};
        GetWindowRect(main, &r);
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        SetWindowPos(main, nullptr, 0, 0, r.right - r.left + 200, r.bottom - r.top + 150, SWP_NOMOVE | SWP_NOZORDER);
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        Report("list_grown", listSize());
        SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        Report("list_maximised", listSize());
        if (const char* shot = std::getenv("BOOKMAKER_MAXIMISED_SHOT")) {
            FILE* mark = std::fopen(shot, "wb");
            if (mark)
                std::fclose(mark);
            WaitFor([&] { return GetFileAttributesA(shot) == INVALID_FILE_ATTRIBUTES; });
        }
        SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    }

    // 工具 > 输出文件夹 > 选择文件夹: in the chooser, which opens on the working folder, the
    // tree is opened there and goes down to the first folder inside it.
    std::wstring output = folder;
    if (scenario["output"] == "1") {
        PostMessageW(main, WM_COMMAND, kOutputChooseCommand, 0);
        HWND chooser = nullptr;
        if (!WaitFor([&] { return (chooser = FindTopLevel(pid, L"#32770", L"", main)) != nullptr; }))
            Fail("the folder chooser did not appear");
        HWND tree = nullptr;
        WaitFor([&] { return (tree = FindWindowExW(chooser, nullptr, L"SysTreeView32", nullptr)) != nullptr; });
        if (!tree)
            Fail("the folder chooser has no tree");
        Sleep(500);
        PostMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
        Sleep(300);
        PostMessageW(tree, WM_KEYDOWN, VK_DOWN, 0);
        Sleep(300);
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
        if (!WaitFor([&] { return !IsWindow(chooser); }))
            Fail("the folder chooser did not close");
        const std::wstring line = WindowText(GetDlgItem(main, kSettingsLine));
        Report("settings_line", Utf8(line));
        // Where the chooser ended (Wine's chooser may not open on the folder it is given):
        // the folder the program remembered, the working folder when that is 默认.
        wchar_t chosen[1024] = {};
        DWORD bytes = sizeof chosen;
        if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\BookMaker", L"OutputFolder", RRF_RT_REG_SZ, nullptr, chosen,
                         &bytes) == ERROR_SUCCESS &&
            chosen[0])
            output = chosen;
        Report("output_folder", Utf8(output));
    }

    // Generate: the book appears (its first volume with a size chosen), then a file-manager
    // window on its folder.
    for (const char* choice : {"volume", "compression"}) {
        if (!scenario[choice].empty())
            PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(std::stoi(scenario[choice])), 0);
    }
    const std::string expect = scenario["expect"].empty() ? scenario["name"] + ".jar" : scenario["expect"];
    const std::wstring jar = output + L"\\" + Wide(expect);
    DeleteFileW(jar.c_str());
    if (scenario["cancel"] == "1") {
        // A build cancelled in its progress window: nothing written, the window says so.
        PostMessageW(GetDlgItem(main, kGenerate), BM_CLICK, 0, 0);
        HWND progress = nullptr;
        if (!WaitFor([&] { return (progress = FindTopLevel(pid, L"#32770", L"正在生成电子书")) != nullptr; }))
            Fail("no progress window came up for the build");
        WaitFor([&] { return !WindowText(GetDlgItem(progress, kProgressText)).empty(); });
        Report("progress_text", Utf8(WindowText(GetDlgItem(progress, kProgressText))));
        if (const char* shot = std::getenv("BOOKMAKER_PROGRESS_SHOT")) {
            Report("progress_shot", shot);
            // The test takes a picture of the screen now; it removes the file when done.
            FILE* mark = std::fopen(shot, "wb");
            if (mark)
                std::fclose(mark);
            WaitFor([&] { return GetFileAttributesA(shot) == INVALID_FILE_ATTRIBUTES; });
        }
        // 取消 as its click (or Esc) sends it.
        const ULONGLONG cancelled = GetTickCount64();
        PostMessageW(progress, WM_COMMAND, MAKEWPARAM(kProgressCancel, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(progress, kProgressCancel)));
        if (!WaitFor([&] { return !IsWindow(progress) && IsWindowEnabled(main); }))
            Fail("the cancelled build did not end");
        Report("cancel_ms", std::to_string(GetTickCount64() - cancelled));
        if (GetFileAttributesW(jar.c_str()) != INVALID_FILE_ATTRIBUTES)
            Fail("the cancelled build wrote " + Utf8(jar));
        Report("cancelled_line", Utf8(WindowText(GetDlgItem(main, kInfoText))));
    }
    PostMessageW(GetDlgItem(main, kGenerate), BM_CLICK, 0, 0);
    if (!WaitFor([&] {
            FailOnMessageBox(pid, main);
            return GetFileAttributesW(jar.c_str()) != INVALID_FILE_ATTRIBUTES;
        }))
        Fail("no book was written");
    Report("jar", Utf8(jar));
    WaitFor([&] { return IsWindowEnabled(main) && WindowText(GetDlgItem(main, kInfoText)).find(L"已生成") != std::wstring::npos; });
    Report("result_line", Utf8(WindowText(GetDlgItem(main, kInfoText))));
    // What the build removed is in that line: no box comes up after it.
    Sleep(500);
    FailOnMessageBox(pid, main);

    const std::wstring folderName = output.substr(output.find_last_of(L"\\/") + 1);
    HWND browser = nullptr;
    if (!WaitFor([&] { return (browser = FindTopLevel(0, L"ExplorerWClass", folderName)) != nullptr; })) {
        FailOnMessageBox(pid, main);
        Fail("no file-manager window opened on " + Utf8(folderName));
    }
    Report("file_manager", Utf8(WindowText(browser)));
    PostMessageW(browser, WM_CLOSE, 0, 0);
    if (!scenario["after"].empty())
        PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(std::stoi(scenario["after"])), 0);

    // The switch is remembered: turned off again, the next run starts as this one did.
    if (byChapters)
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(kSplitByChaptersCommand, 0), 0);

    // The close box ends the program.
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        Fail("the program did not end");
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    Report("exit_code", std::to_string(exitCode));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    WaitFor([&] { return !IsWindow(browser); });
    return exitCode == 0 ? 0 : 1;
}
