// The Windows version and theme the owner-drawn menu's style depends on.
#include "controls/color.h"
#include "controls/owner_menu.h"
#include "controls/windows_version.h"

#include <cwctype>
#include <memory>
#include <new>

controls::WindowsVersion GetWindowsVersion()
{
    const DWORD version = GetVersion();
    std::unique_ptr<OSVERSIONINFOW> info(new (std::nothrow) OSVERSIONINFOW{});
    bool haveRecord = false;
    if (info) {
        info->dwOSVersionInfoSize = sizeof *info;
        haveRecord = GetVersionExW(info.get()) != FALSE;
    }
    return controls::WindowsVersionOf(version, haveRecord, haveRecord ? info->dwMajorVersion : 0,
                                      haveRecord ? info->dwMinorVersion : 0);
}

bool IsClassicTheme()
{
    static const bool classic = [] {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ,
                          &key) != ERROR_SUCCESS)
            return false;
        wchar_t value[260] = {};
        DWORD size = sizeof value - sizeof(wchar_t);  // room for a terminator of our own
        DWORD type = 0;
        const LONG result = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS || type != REG_SZ)
            return false;
        std::wstring theme(value);
        const std::wstring suffix = L"windows classic.theme";
        if (theme.size() < suffix.size())
            return false;
        theme.erase(0, theme.size() - suffix.size());
        for (wchar_t& c : theme)
            c = static_cast<wchar_t>(std::towlower(c));
        return theme == suffix;
    }();
    return classic;
}

bool IsXPThemed() { return g_windowsVersion == controls::WindowsVersion::WinXp && !IsClassicTheme(); }

bool UseFlatStyle() { return (IsXPThemed() ? g_flatStyleWhenThemed : g_flatStyleOtherwise) == 1; }

COLORREF LightenColor(COLORREF color, double fraction) { return controls::LightenColor(color, fraction); }
