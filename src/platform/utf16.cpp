#include "platform/utf16.h"

#include "platform/utf8_sequence.h"

namespace {

void AppendUtf8(std::string& out, char32_t c)
{
    char buffer[4];
    out.append(buffer, PutUtf8(buffer, c));
}

} // namespace

std::u16string Utf8ToUtf16(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        // Each ill-formed sequence (the longest start of a valid one, at least a byte) is
        // one U+FFFD, as the text decoder makes it.
        const Utf8Sequence s = ReadUtf8Sequence(p + i, text.size() - i);
        AppendUtf16(out, s.status == Utf8Status::Valid ? s.codePoint : kReplacementCharacter);
        i += s.length;
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacementCharacter;
        }
        AppendUtf8(out, c);
    }
    return out;
}
