// libFuzzer target: the input is taken as an archive, opened for update, given one new
// entry and closed. Any CException is an accepted outcome; crashes, leaks, sanitizer
// reports and hangs are findings.
#include "platform/exception.h"
#include "zip/zip_container.h"
#include "zip/zip_memory_file.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchPath()
{
    // Memory-backed when there is one: every run flushes the file to the device.
    static const std::string dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = dir + "/bookmaker-fuzz-" + std::to_string(getpid()) + ".zip";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = ScratchPath();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }

    CZipContainer zip;
    zip.SetBufferSizes(65536, 65536, 32768);
    try {
        if (zip.Open(path)) {
            CZipMemoryFile entry;
            static const char text[] = "第一章\n春眠不觉晓，处处闻啼鸟。\n";
            entry.Write(text, sizeof text - 1);
            zip.AddNewEntry(entry, "1.txt");
            zip.Close();
            // What was written must open again.
            CZipContainer again;
            again.Open(path);
            again.Close();
        }
    } catch (const CException&) {
        zip.Close(CZipContainer::closeAfterException);
    }
    std::remove(path.c_str());
    return 0;
}
