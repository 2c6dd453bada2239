#include "jar/book_compression.h"

int PackLevel(BookCompression compression)
{
    // Measured on Chinese novels in UTF-8 (bench/deflate_levels): see scripts/bench.
    switch (compression) {
    case BookCompression::fast:
        return 1;
    case BookCompression::small:
        return 12;
    case BookCompression::normal:
        break;
    }
    return 6;
}

namespace {

const struct {
    const char* name;
    BookCompression value;
} kNames[] = {{"fast", BookCompression::fast}, {"normal", BookCompression::normal}, {"small", BookCompression::small}};

} // namespace

bool ParseCompressionName(const std::string& name, BookCompression& compression)
{
    for (const auto& n : kNames) {
        if (name == n.name) {
            compression = n.value;
            return true;
        }
    }
    return false;
}

std::string CompressionName(BookCompression compression)
{
    for (const auto& n : kNames) {
        if (n.value == compression)
            return n.name;
    }
    return "normal";
}
