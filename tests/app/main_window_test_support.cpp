#include "app/main_window_test.h"

#include "res/resource.h"
#include "ui/wide_text.h"

#include <stdexcept>

namespace wintest {

void MainWindowTest::SetUp()
{
    wchar_t previous[32768] = {};
    GetCurrentDirectoryW(32768, previous);
    m_previousDirectory = previous;
    workDir = dir.Path("工作 目录,1");
    CreateDirectoryW(ui::Widen(workDir).c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW(ui::Widen(workDir).c_str()));
}

void MainWindowTest::TearDown() { SetCurrentDirectoryW(m_previousDirectory.c_str()); }

INT_PTR MainWindowTest::Run(const Script& script)
{
    window = std::make_unique<CBookMakerDlg>(services);
    return RunModal(*window, script);
}

std::string MainWindowTest::Write(const std::string& relative, const std::string& bytes)
{
    const std::string path = workDir + "\\" + relative;
    test::WriteFile(path, bytes);
    return path;
}

std::string MainWindowTest::Folder(const std::string& relative)
{
    const std::string path = workDir + "\\" + relative;
    CreateDirectoryW(ui::Widen(path).c_str(), nullptr);
    return path;
}

void MainWindowTest::WriteTemplate()
{
    Write("RDbook.dat", test::BuildStoredZip({{"Lumenread.class", std::string(300, 'c')},
                                              {"rd.PNG", "\x89PNG\r\n\x1a\n"}}));
}

void MainWindowTest::GenerateThenFewer(HWND w, const std::string& name, const std::vector<std::string>& files,
                                       std::size_t keep)
{
    SetItemText(w, IDC_BOOK_NAME, name);
    DropFiles(w, files);
    Click(w, IDC_GENERATE);
    for (std::size_t i = keep; i < files.size(); ++i) {
        ClickListItem(List(w), static_cast<int>(keep));
        Click(w, IDC_DELETE);
    }
    Click(w, IDC_GENERATE);
}

std::string HardlyPackingText(int count, std::uint32_t seed)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245 + 12345;
        text += ui::Narrow(std::wstring(1, static_cast<wchar_t>(0x4E00 + (seed >> 8) % 0x5000)));
    }
    return text;
}

std::string MainWindowTest::UnreadableFile() { return "Z:\\sys\\class\\net\\lo\\speed"; }

std::string MainWindowTest::LinkToUnreadable(const std::string& relative)
{
    // Wine makes no symbolic links itself; ln, a Unix program, runs from here all the same.
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    if (!unixName)
        throw std::runtime_error("not running under Wine");
    const std::string path = workDir + "\\" + relative;
    char* target = unixName(ui::Widen(path).c_str());
    std::wstring command = L"/bin/ln -s /sys/class/net/lo/speed \"" + ui::Widen(target) + L"\"";
    HeapFree(GetProcessHeap(), 0, target);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        throw std::runtime_error("cannot start ln");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Waiting on a Unix process fails under Wine: wait for the link instead.
    for (int i = 0; i < 500 && GetFileAttributesW(ui::Widen(path).c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(10);
    if (GetFileAttributesW(ui::Widen(path).c_str()) == INVALID_FILE_ATTRIBUTES)
        throw std::runtime_error("no link " + path);
    return path;
}

HWND MainWindowTest::List(HWND window) { return GetDlgItem(window, IDC_SOURCES); }

std::string JarEntry(const std::string& jarPath, const std::string& name)
{
    const std::string bytes = test::ReadFile(jarPath);
    for (const test::CentralRecord& entry : test::ParseZip(bytes).entries) {
        if (entry.name != name)
            continue;
        const std::string data = test::LocalData(bytes, entry);
        return entry.method == 8 ? test::Inflate(data, entry.uncompressed) : data;
    }
    throw std::runtime_error("no entry " + name + " in " + jarPath);
}

std::vector<UINT> CheckedToolsChoices(HWND w, int position, bool& allRadio)
{
    HMENU choices = GetSubMenu(GetSubMenu(GetMenu(w), 1), position);
    SendMessageW(w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(choices), MAKELPARAM(position, FALSE));
    std::vector<UINT> checked;
    allRadio = true;
    for (int at = 0; at < GetMenuItemCount(choices); ++at) {
        MENUITEMINFOW info {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
        GetMenuItemInfoW(choices, static_cast<UINT>(at), TRUE, &info);
        allRadio = allRadio && (info.fType & MFT_RADIOCHECK);
        if (info.fState & MFS_CHECKED)
            checked.push_back(info.wID);
    }
    return checked;
}

} // namespace wintest
