// Entry point of bookmaker-cli on Windows: UTF-16 arguments become UTF-8, and the console
// shows the UTF-8 the program prints.
#include "cli/cli_run.h"
#include "platform/utf16.h"

#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

std::string ToUtf8(const wchar_t* text)
{
    const std::wstring w(text);
    return Utf16ToUtf8(std::u16string(w.begin(), w.end()));
}

BOOL WINAPI OnConsoleControl(DWORD type)
{
    static bool stopping = false;
    if ((type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) || stopping)
        return FALSE;  // default handling: a second Ctrl+C ends the program at once
    stopping = true;
    RequestCancel();
    return TRUE;
}

std::string ExecutablePath()
{
    std::vector<wchar_t> path(32768);
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return n == 0 || n >= path.size() ? std::string() : ToUtf8(path.data());
}

} // namespace

int wmain(int argc, wchar_t** wargv)
{
    const UINT previousCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);

    CliContext context;
    context.executablePath = ExecutablePath();
    DWORD mode;
    context.stderrIsTerminal = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(ToUtf8(wargv[i]));
    const int code = RunCli(args, context, std::cout, std::cerr);
    std::cout.flush();
    if (previousCodePage != 0)
        SetConsoleOutputCP(previousCodePage);
    return code;
}
