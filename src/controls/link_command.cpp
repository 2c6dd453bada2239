#include "controls/link_command.h"

namespace controls {

std::string FallbackCommandLine(std::string_view registeredCommand, std::string_view link)
{
    std::size_t cut = registeredCommand.find("\"%1\"");
    if (cut == std::string_view::npos)
        cut = registeredCommand.find("%1");
    std::string command(registeredCommand.substr(0, cut));
    command += ' ';
    command += link;
    return command;
}

namespace {

const char* CodeText(std::intptr_t code)
{
    switch (code) {
    case 0: return "The operating system is out\nof memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied\naccess to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred. ";
    case 27: return "The filename association is\nincomplete or invalid.";
    case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE transactions\n"
               "were being processed.";
    case 31: return "There is no application associated\nwith the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}

} // namespace

std::string OpenErrorText(std::intptr_t code)
{
    std::string message = "Unable to open hyperlink:\n\n";
    if (const char* text = CodeText(code))
        message += text;
    else
        message += "Unknown Error (" + std::to_string(code) + ") occurred.";
    return message;
}

} // namespace controls
