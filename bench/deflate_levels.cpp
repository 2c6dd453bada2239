// Size and time of each deflate level on the given files, one thread: zlib at its default
// level (what books were packed with before), then libdeflate at levels 1 to 12. The files
// are read into memory first. This is how the compression choices' levels were picked.
#include "read_files.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

namespace {

unsigned long long Zlib(const std::vector<std::string>& inputs)
{
    unsigned long long total = 0;
    for (const std::string& data : inputs) {
        uLongf size = compressBound(static_cast<uLong>(data.size()));
        std::vector<Bytef> out(size);
        z_stream s {};
        deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        s.avail_in = static_cast<uInt>(data.size());
        s.next_out = out.data();
        s.avail_out = static_cast<uInt>(out.size());
        deflate(&s, Z_FINISH);
        total += s.total_out;
        deflateEnd(&s);
    }
    return total;
}

unsigned long long Libdeflate(const std::vector<std::string>& inputs, int level)
{
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    unsigned long long total = 0;
    std::vector<char> out;
    for (const std::string& data : inputs) {
        out.resize(libdeflate_deflate_compress_bound(c, data.size()));
        total += libdeflate_deflate_compress(c, data.data(), data.size(), out.data(), out.size());
    }
    libdeflate_free_compressor(c);
    return total;
}

template <typename F>
void Row(const char* name, unsigned long long in, F pack)
{
    const auto t0 = std::chrono::steady_clock::now();
    const unsigned long long out = pack();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%-14s %12llu bytes  %6.2f %%  %7.3f s\n", name, out, 100.0 * out / in, s);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> inputs = ReadFiles(argc, argv);
    unsigned long long in = 0;
    for (const std::string& d : inputs)
        in += d.size();
    std::printf("%zu files, %llu bytes\n", inputs.size(), in);
    Row("zlib -6", in, [&] { return Zlib(inputs); });
    for (int level = 1; level <= 12; ++level) {
        char name[32];
        std::snprintf(name, sizeof name, "libdeflate %d", level);
        Row(name, in, [&] { return Libdeflate(inputs, level); });
    }
    return 0;
}
