// zip_append: appends files to an existing archive with the archive engine, each as one
// entry, the way the jar builder adds a book's parts (a memory file per entry, default
// level, store-tiny, 64 KiB copy buffer, 15 MB write buffer). Used by the interoperability
// tests and the benchmark.
//
//   zip_append [--time UNIX_SECONDS] ARCHIVE [NAME=FILE | FILE]...
//
// Without NAME the entry is named after the file. Exits 1 with the engine's message when
// something fails.
#include "platform/exception.h"
#include "platform/file.h"
#include "zip/zip_container.h"
#include "zip/zip_exception.h"
#include "zip/zip_memory_file.h"

#ifdef _WIN32
#include "platform/utf16.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void ReadInto(const std::string& path, CZipMemoryFile& memory)
{
    CFile file;
    file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    std::vector<char> buffer(1 << 20);
    std::uint32_t n;
    while ((n = file.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()))) != 0)
        memory.Write(buffer.data(), n);
    file.Close();
}

int Run(int argc, char** argv)
{
    int i = 1;
    bool fixedTime = false;
    std::time_t when = 0;
    if (i + 1 < argc && std::string(argv[i]) == "--time") {
        fixedTime = true;
        when = static_cast<std::time_t>(std::strtoll(argv[i + 1], nullptr, 10));
        i += 2;
    }
    if (i >= argc) {
        std::fprintf(stderr, "usage: zip_append [--time UNIX_SECONDS] ARCHIVE [NAME=FILE | FILE]...\n");
        return 2;
    }
    CZipContainer zip;
    zip.SetBufferSizes(15000000, 65536, 32768);
    if (fixedTime)
        zip.SetClock([when] { return when; });
    zip.Open(argv[i++]);
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        std::string name = eq == std::string::npos ? arg : arg.substr(0, eq);
        const std::string path = eq == std::string::npos ? arg : arg.substr(eq + 1);
        if (eq == std::string::npos) {
            const std::size_t slash = name.find_last_of("/\\");
            if (slash != std::string::npos)
                name = name.substr(slash + 1);
        }
        CZipMemoryFile memory(1024);
        ReadInto(path, memory);
        if (!zip.AddNewEntry(memory, name, -1, ZSF_DEFAULT, 65536)) {
            std::fprintf(stderr, "zip_append: %s: refused\n", name.c_str());
            return 1;
        }
    }
    zip.Close();
    return 0;
}

} // namespace

int Main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const CZipException& e) {
        std::fprintf(stderr, "zip_append: %s: %s\n", e.GetPath().c_str(), e.Message().c_str());
    } catch (const CException& e) {
        std::fprintf(stderr, "zip_append: %s\n", e.Message().c_str());
    }
    return 1;
}

#ifdef _WIN32
// Arguments arrive in UTF-16 and are passed on as UTF-8, like every path in the program.
int wmain(int argc, wchar_t** wargv)
{
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        const std::wstring w(wargv[i]);
        args.push_back(Utf16ToUtf8(std::u16string(w.begin(), w.end())));
    }
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    return Main(argc, argv.data());
}
#else
int main(int argc, char** argv) { return Main(argc, argv); }
#endif
