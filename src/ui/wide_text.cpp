#include "ui/wide_text.h"

#include "platform/utf16.h"

namespace ui {

std::wstring Widen(std::string_view utf8)
{
    const std::u16string wide = Utf8ToUtf16(std::string(utf8));
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(std::wstring_view utf16)
{
    return Utf16ToUtf8(std::u16string(utf16.begin(), utf16.end()));
}

std::string GetWindowTextUtf8(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return Narrow(text);
}

void SetWindowTextUtf8(HWND window, const std::string& text)
{
    SetWindowTextW(window, Widen(text).c_str());
}

std::string LoadResourceString(int id)
{
    const wchar_t* text = nullptr;  // points into the resource itself (buffer size 0)
    const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                   reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return Narrow(std::wstring_view(text, static_cast<std::size_t>(length)));
}

} // namespace ui
