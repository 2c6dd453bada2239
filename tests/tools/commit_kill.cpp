// commit_kill: builds a book of volumes with the jar builder and, at a chosen step of its
// commit, ends its own process at once, as a kill does (SIGKILL natively, TerminateProcess
// on Windows): no destructor, no clean-up. For the end-to-end test of the build's record.
//
//   commit_kill TEMPLATE JAR LIMIT PARTS SEED STEP|ok|fail|hold:STEP:FILE
//
// PARTS parts of noise from SEED, volumes of at most LIMIT bytes. STEP: killed before that
// step of the commit; ok: built, prints "steps N" (how many steps the commit took); fail:
// the build stops with an error after its first part (after it put right what a killed
// build left); hold: before that step of the commit, writes FILE and waits until it is
// removed (at most two minutes), as a build held by a slow share, then goes on. Exits 0
// when built, 1 when it failed.
#include "jar/jar_builder.h"
#include "jar/template_check.h"
#include "platform/exception.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace {

[[noreturn]] void DieNow()
{
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), 137);
#else
    std::raise(SIGKILL);
#endif
    std::abort();
}

std::string Noise(std::size_t size, unsigned seed)
{
    std::string text;
    while (text.size() < size)
        text += static_cast<char>('a' + (seed = seed * 1103515245 + 12345) / 65536 % 26);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: commit_kill TEMPLATE JAR LIMIT PARTS SEED STEP|ok|fail\n");
        return 2;
    }
    const std::string mode = argv[6];
    const std::size_t parts = std::strtoul(argv[4], nullptr, 10);
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10));
    std::vector<BookPart> bookParts;
    for (std::size_t i = 0; i < parts; ++i)
        bookParts.push_back({"part " + std::to_string(i + 1), Noise(2000, seed + static_cast<unsigned>(i))});
    std::size_t steps = 0;
    const bool hold = mode.rfind("hold:", 0) == 0;
    const std::size_t at = std::strtoul(mode.c_str() + (hold ? 5 : 0), nullptr, 10);
    const std::string held = hold ? mode.substr(mode.find(':', 5) + 1) : std::string();
    CBookJournal::SetStepHook([&](std::size_t step) {
        steps = step + 1;
        if (hold && step == at) {
            if (std::FILE* f = std::fopen(held.c_str(), "w"))
                std::fclose(f);
            const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(2);
            while (std::filesystem::exists(held) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } else if (!hold && mode != "ok" && mode != "fail" && step == at) {
            DieNow();
        }
    });
    CJarBuilder builder({"book", "", ""});
    builder.SetClock([] { return static_cast<std::time_t>(1262347200); });
    builder.SetParts(bookParts);
    builder.SetMaxJarSize(std::strtoull(argv[3], nullptr, 10));
    if (mode == "fail")
        builder.SetProgress([](std::size_t done, std::size_t) {
            if (done == 3)
                throw std::runtime_error("stopped");
        });
    try {
        CCheckedTemplate checkedTemplate(argv[1]);
        builder.BuildTo(checkedTemplate, argv[2]);
    } catch (const CException& e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        return 1;
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("steps %zu\n", steps);
    return 0;
}
