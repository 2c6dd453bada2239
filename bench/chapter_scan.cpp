// chapter_scan FOLDER: the CPU time of decoding every .txt file of FOLDER (as GBK) and of
// finding its chapters, each the best of five passes, to set the cost of chapter detection
// beside the cost of the rest of the job.
#include "sources/chapters.h"
#include "sources/encoding_detect.h"
#include "sources/text_import.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: chapter_scan FOLDER\n");
        return 2;
    }
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        if (entry.path().extension() != ".txt")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    double decode = 1e9, find = 1e9;
    std::size_t bytes = 0, chapters = 0;
    for (int pass = 0; pass < 5; ++pass) {
        double decodeTime = 0, findTime = 0;
        bytes = chapters = 0;
        for (const std::string& file : files) {
            // CPU time (one thread), not wall time: on a busy machine the two differ.
            const std::clock_t t0 = std::clock();
            const std::string text = DecodeText(file.data(), file.size(), EncodingAnsi);
            const std::clock_t t1 = std::clock();
            chapters += FindChapters(text, "t").size();
            const std::clock_t t2 = std::clock();
            decodeTime += static_cast<double>(t1 - t0) / CLOCKS_PER_SEC;
            findTime += static_cast<double>(t2 - t1) / CLOCKS_PER_SEC;
            bytes += file.size();
        }
        decode = std::min(decode, decodeTime);
        find = std::min(find, findTime);
    }
    std::printf("chapter scan: %zu files, %.1f MiB, %zu chapters; decoding %.3f s, finding chapters %.3f s\n",
                files.size(), bytes / 1048576.0, chapters, decode, find);
}
