#include "platform/text_encoding_native.h"

#include <bit>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

static_assert(std::endian::native == std::endian::little, "iconv writes UTF-16LE into char16_t");

namespace {

// One conversion descriptor per thread, opened on first use and kept: a text with many
// undecodable bytes hands over many short runs.
class Gb18030Converter {
public:
    Gb18030Converter() : m_cd(iconv_open("UTF-16LE", "GB18030"))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv has no GB18030 converter");
    }
    ~Gb18030Converter() { iconv_close(m_cd); }
    Gb18030Converter(const Gb18030Converter&) = delete;
    Gb18030Converter& operator=(const Gb18030Converter&) = delete;

    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

} // namespace

void AppendGb18030TwoByteText(const char* data, std::size_t size, std::u16string& out)
{
    thread_local Gb18030Converter converter;
    iconv_t cd = converter.Get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);

    const std::size_t start = out.size();
    // A byte gives at most one unit; a two-byte code at most two (a supplementary character).
    out.resize(start + size);
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    char* to = reinterpret_cast<char*>(out.data() + start);
    std::size_t toLeft = size * sizeof(char16_t);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            throw std::logic_error("GB18030 text decoded to more units than bytes");
        // Not expected for assigned codes; should a C library lack one, it is undecodable.
        const std::size_t skip = static_cast<unsigned char>(*in) >= 0x80 && inLeft >= 2 ? 2 : 1;
        in += skip;
        inLeft -= skip;
        if (toLeft < sizeof(char16_t))
            throw std::logic_error("GB18030 text decoded to more units than bytes");
        *reinterpret_cast<char16_t*>(to) = 0xFFFD;
        to += sizeof(char16_t);
        toLeft -= sizeof(char16_t);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(start + (size * sizeof(char16_t) - toLeft) / sizeof(char16_t));
}
