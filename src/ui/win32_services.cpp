#include "ui/win32_services.h"

#include "platform/path.h"
#include "ui/file_filter.h"
#include "ui/wide_text.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace ui {

namespace {

// Long enough for any path Windows can hand out, long-path-aware ones included.
constexpr DWORD kPathCapacity = 32768;

// Where the program keeps its settings, for the user who runs it.
constexpr wchar_t kSettingsKey[] = L"Software\\BookMaker";

} // namespace

std::string ApplicationName()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            std::string name = FileNameOfPath(Narrow(std::wstring(buffer.data(), length)));
            const std::size_t dot = name.find_last_of('.');
            if (dot != std::string::npos && dot > 0)
                name.resize(dot);
            return name;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int Win32Services::ShowMessage(HWND owner, const std::string& text, UINT type)
{
    return MessageBoxW(owner, Widen(text).c_str(), Widen(ApplicationName()).c_str(), type);
}

bool Win32Services::ChooseFiles(HWND owner, const std::string& filter, const std::string& startFolder,
                                std::vector<std::string>& paths)
{
    const std::wstring wideFilter = Widen(FileDialogFilter(filter));
    const std::wstring start = Widen(startFolder);
    // Room for many names: the folder, then each name, each ended by a NUL, two at the end.
    constexpr DWORD kCapacity = 1 << 20;
    std::vector<wchar_t> file(kCapacity, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = wideFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kCapacity;
    ofn.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&ofn))
        return false;
    // One file: its full path. Several: the folder, then the names.
    const std::wstring first(file.data());
    const wchar_t* next = file.data() + first.size() + 1;
    paths.clear();
    if (*next == L'\0') {
        paths.push_back(Narrow(first));
        return true;
    }
    const std::wstring folder = first.empty() || first.back() == L'\\' ? first : first + L'\\';
    while (*next) {
        const std::wstring name(next);
        paths.push_back(Narrow(folder + name));
        next += name.size() + 1;
    }
    return true;
}

namespace {

// Selects the folder the chooser should open at once it is up.
int CALLBACK SelectStartFolder(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

bool Win32Services::ChooseFolder(HWND owner, const std::string& prompt, const std::string& startFolder,
                                 std::string& path)
{
    const std::wstring widePrompt = Widen(prompt);
    const std::wstring start = Widen(startFolder);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = widePrompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = SelectStartFolder;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item)
        return false;
    std::vector<wchar_t> folder(kPathCapacity, L'\0');
    const bool found = SHGetPathFromIDListEx(item, folder.data(), kPathCapacity, GPFIDL_DEFAULT);
    CoTaskMemFree(item);
    if (!found || folder[0] == L'\0')
        return false;
    path = Narrow(folder.data());
    return true;
}

INT_PTR Win32Services::ShellOpen(const std::string& file, int show)
{
    return reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Widen(file).c_str(), nullptr, nullptr, show));
}

// CreateProcessW rather than WinExec, which takes the command in the ANSI code page and
// would garble any character outside it; the result keeps WinExec's codes.
UINT Win32Services::ShowPopupMenu(HWND owner, HMENU menu, POINT where)
{
    return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                            where.x, where.y, 0, owner, nullptr));
}

UINT Win32Services::StartProcess(const std::string& commandLine, int show)
{
    std::wstring line = Widen(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        const DWORD error = GetLastError();
        if (error == ERROR_BAD_EXE_FORMAT)
            return ERROR_BAD_FORMAT;
        return error < 32 ? error : 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 33;
}

std::map<std::string, std::string> Win32Services::LoadSettings()
{
    std::map<std::string, std::string> values;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[1024];
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;  // too long for a setting of ours, or not text: not ours
        std::wstring text(data, dataBytes / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        values[Narrow(std::wstring(name, nameLength))] = Narrow(text);
    }
    RegCloseKey(key);
    return values;
}

void Win32Services::SaveSettings(const std::map<std::string, std::string>& values)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& [name, value] : values) {
        const std::wstring text = Widen(value);
        RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

} // namespace ui
