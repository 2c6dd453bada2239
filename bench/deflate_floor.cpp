// The floor of the benchmark: zlib raw deflate at the default level of the given files,
// in one process. The files are read into memory before the first deflate, so the time is
// compression alone plus reading from the page cache.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
#include <zlib.h>

int main(int argc, char** argv)
{
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary | std::ios::ate);
        std::string data(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(data.data(), static_cast<std::streamsize>(data.size()));
        inputs.push_back(std::move(data));
    }
    std::vector<unsigned char> out(1 << 16);
    unsigned long long total = 0;
    for (std::string& data : inputs) {
        z_stream s {};
        if (deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return 1;
        s.next_in = reinterpret_cast<Bytef*>(data.data());
        s.avail_in = static_cast<uInt>(data.size());
        int rc;
        do {
            s.next_out = out.data();
            s.avail_out = static_cast<uInt>(out.size());
            rc = deflate(&s, Z_FINISH);
            total += out.size() - s.avail_out;
        } while (rc == Z_OK);
        deflateEnd(&s);
        if (rc != Z_STREAM_END)
            return 1;
    }
    std::printf("%llu bytes deflated\n", total);
    return 0;
}
