// encoding_table FILE...: the detection table. For each file: the encoding detected, the
// GBK and Big5 readings' scores (gbk_or_big5.h), whether the decoded start reads as
// nonsense (text_plausibility.h), and at the end the time detection and the check took
// over all the files against the time decoding them whole.
#include "sources/encoding_detect.h"
#include "sources/gbk_or_big5.h"
#include "sources/text_import.h"
#include "sources/text_plausibility.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    using Clock = std::chrono::steady_clock;
    Clock::duration detecting {}, checking {}, decoding {}, big5Only {};
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto t0 = Clock::now();
        const TextEncoding encoding = DetectEncoding(bytes.data(), bytes.size());
        const auto tDetected = Clock::now();
        if (std::getenv("BIG5_ONLY")) {
            const auto b0 = Clock::now();
            volatile bool big5 = IsBig5(bytes.data(), bytes.size());
            (void)big5;
            big5Only += Clock::now() - b0;
        }
        const std::string sample = DecodeText(bytes.data(), std::min(bytes.size(), kPlausibilitySample), encoding);
        const PlausibilityTally plausibility = TallyPlausibility(sample);
        const auto t1 = Clock::now();
        const std::string text = DecodeText(bytes.data(), bytes.size(), encoding);
        const auto t2 = Clock::now();
        detecting += tDetected - t0;
        checking += t1 - tDetected;
        decoding += t2 - t1;
        const GbkBig5Tally tally = TallyGbkBig5(bytes.data(), bytes.size());
        std::printf("%s\t%s\tgbk %lld\tbig5 %lld\tof %zu\tcounted %zu bad %zu rare %zu\t%s\n", argv[i],
                    EncodingName(encoding), tally.gbkScore, tally.big5Score, tally.pairs, plausibility.counted,
                    plausibility.bad, plausibility.rare, IsImplausible(plausibility) ? "IMPLAUSIBLE" : "plausible");
    }
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("files %d: detection %.1f ms, plausibility check %.1f ms, decoding %.1f ms\n", argc - 1, ms(detecting),
                ms(checking), ms(decoding));
    if (std::getenv("BIG5_ONLY"))
        std::printf("GBK or Big5 alone: %.1f ms\n", ms(big5Only));
}
