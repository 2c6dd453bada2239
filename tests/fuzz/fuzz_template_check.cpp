// libFuzzer target: the input is taken as a reader template. What CheckTemplate accepts,
// the builder must turn into a book that InspectBook finds sound; a template accepted and
// then failing the build, or a book found faulty, aborts. Refusals (CException) are
// accepted outcomes; crashes, leaks, sanitizer reports and hangs are findings.
#include "jar/book_check.h"
#include "jar/jar_builder.h"
#include "jar/template_check.h"
#include "platform/exception.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchPath(const char* name)
{
    // Memory-backed when there is one: every run writes the files.
    static const std::string dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return dir + "/bookmaker-fuzz-" + std::to_string(getpid()) + "-" + name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string templ = ScratchPath("RDbook.dat"), book = ScratchPath("book.jar");
    if (FILE* f = std::fopen(templ.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }

    std::unique_ptr<CCheckedTemplate> checked;
    try {
        checked = std::make_unique<CCheckedTemplate>(templ);
    } catch (const CException&) {
    }
    if (checked) {
        static const std::vector<BookPart> parts {{"一", "春眠不觉晓"}, {"二", "处处闻啼鸟"}};
        CJarBuilder builder({"书", "", ""});
        builder.SetParts(parts);
        try {
            builder.BuildTo(*checked, book);
            if (!InspectBook(book).Ok())
                std::abort();
        } catch (const CException&) {
            std::abort();
        }
        std::remove(book.c_str());
    }
    std::remove(templ.c_str());
    return 0;
}
