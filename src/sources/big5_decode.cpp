#include "sources/big5_decode.h"

#include "platform/utf16.h"

#include <iterator>

namespace {

#include "sources/big5_index.inc"

// Pointers whose character is a letter and a combining mark.
struct TwoCodePoints {
    int pointer;
    char32_t first, second;
};
constexpr TwoCodePoints kPairs[] = {
    {1133, 0x00CA, 0x0304}, {1135, 0x00CA, 0x030C}, {1164, 0x00EA, 0x0304}, {1166, 0x00EA, 0x030C}};

} // namespace

int Big5Pointer(unsigned char lead, unsigned char trail)
{
    if (lead < 0x81 || lead > 0xFE)
        return -1;
    int offset;
    if (trail >= 0x40 && trail <= 0x7E)
        offset = 0x40;
    else if (trail >= 0xA1 && trail <= 0xFE)
        offset = 0x62;
    else
        return -1;
    return (lead - 0x81) * 157 + (trail - offset);
}

char32_t Big5CodePoint(int pointer)
{
    for (const TwoCodePoints& pair : kPairs) {
        if (pair.pointer == pointer)
            return pair.first;
    }
    if (pointer < static_cast<int>(kBig5FirstPointer))
        return 0;
    const auto at = static_cast<std::size_t>(pointer) - kBig5FirstPointer;
    return at < std::size(kBig5Index) ? kBig5Index[at] : 0;
}

void AppendBig5AsUtf8(const char* data, std::size_t size, std::string& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const std::size_t start = out.size();
    out.resize(start + size * 3 + 4);  // at most three bytes of UTF-8 per byte, or U+FFFD
    char* w = out.data() + start;
    std::size_t i = 0;
    while (i < size) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            if (b != 0)
                *w++ = static_cast<char>(b);
            ++i;
            continue;
        }
        if (b == 0x80 || b == 0xFF || i + 1 == size) {
            w = PutUtf8(w, kReplacementCharacter);
            ++i;
            continue;
        }
        const int pointer = Big5Pointer(b, p[i + 1]);
        const char32_t c = Big5CodePoint(pointer);
        if (c != 0) {
            w = PutUtf8(w, c);
            for (const TwoCodePoints& pair : kPairs) {
                if (pair.pointer == pointer)
                    w = PutUtf8(w, pair.second);
            }
            i += 2;
            continue;
        }
        // No character: an ASCII second byte is read again as itself, any other is taken
        // with the lead.
        w = PutUtf8(w, kReplacementCharacter);
        i += p[i + 1] < 0x80 ? 1 : 2;
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
}
