// UTF-8 inside the program, UTF-16 at the Win32 boundary (W functions only).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

std::string GetWindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

// A string resource of the executable; empty when missing.
std::string LoadResourceString(int id);

} // namespace ui
