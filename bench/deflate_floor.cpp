// The floor of the benchmark: zlib raw deflate at the default level of the given files,
// in one process. The files are read into memory before the first deflate, so the time is
// compression alone plus reading from the page cache.
#include "read_files.h"

#include <cstdio>
#include <string>
#include <vector>
#include <zlib.h>

int main(int argc, char** argv)
{
    std::vector<std::string> inputs = ReadFiles(argc, argv);
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
