// libFuzzer target: the input is taken as a book and inspected. Any CException is an
// accepted outcome; crashes, leaks, sanitizer reports and hangs are findings.
#include "jar/book_check.h"
#include "platform/exception.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Memory-backed when there is one: every run writes the file.
    static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/bookmaker-fuzz-" + std::to_string(getpid()) + ".jar";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    try {
        InspectBook(path);
    } catch (const CException&) {
    }
    std::remove(path.c_str());
    return 0;
}
