// The browser fallback's command line and the texts of failed opens.
#include "controls/link_command.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(FallbackCommandLine, PutsTheLinkWhereThePlaceholderBeganOrAppendsIt)
{
    const std::string link = "http://www.qinghe.example/";
    const struct {
        const char* command;
        std::string expected;
    } cases[] = {
        // Quoted placeholder: cut at its opening quote, so the space before it stays and one
        // more comes before the link.
        {R"("C:\Program Files\Internet Explorer\iexplore.exe" -nohome "%1")",
         R"("C:\Program Files\Internet Explorer\iexplore.exe" -nohome  )" + link},
        // Bare placeholder; whatever followed it is dropped.
        {R"(C:\windows\winebrowser.exe %1)", R"(C:\windows\winebrowser.exe  )" + link},
        {R"(browser.exe %1 -new-tab)", "browser.exe  " + link},
        // The quoted form wins over a bare %1 that comes first.
        {R"(browser.exe -url=%1 "%1")", "browser.exe -url=%1  " + link},
        // No placeholder: the whole command, a space, the link.
        {R"("C:\Program Files\Browser\browser.exe" -nohome)",
         R"("C:\Program Files\Browser\browser.exe" -nohome )" + link},
        {"", " " + link},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FallbackCommandLine(c.command, link), c.expected) << c.command;
}

TEST(FallbackCommandLine, KeepsACommandAndLinkFarBeyond520BytesWhole)
{
    const std::string program = "\"C:\\" + std::string(600, 'p') + "\\browser.exe\" -nohome ";
    const std::string link = "http://www.qinghe.example/?q=" + std::string(1000, 'x') + "&end=1";
    const std::string command = FallbackCommandLine(program + "\"%1\"", link);
    EXPECT_EQ(command, program + " " + link);
    EXPECT_EQ(FallbackCommandLine(program, link), program + " " + link);
}

TEST(OpenErrorText, NamesTheCauseOfEachKnownCodeAndTheNumberOfOthers)
{
    const std::string head = "Unable to open hyperlink:\n\n";
    const struct {
        std::intptr_t code;
        const char* text;
    } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {4, "Unknown Error (4) occurred."},
        {12, "Unknown Error (12) occurred."},
        {25, "Unknown Error (25) occurred."},
        {33, "Unknown Error (33) occurred."},
        {1155, "Unknown Error (1155) occurred."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenErrorText(c.code), head + c.text) << c.code;
}

} // namespace
} // namespace controls
