#include "platform/text_encoding_native.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

// glibc converts through UCS-4 and hands it out unchanged as WCHAR_T: the fastest target.
static_assert(sizeof(wchar_t) == sizeof(char32_t), "WCHAR_T is UCS-4 with glibc");

namespace {

// One conversion descriptor per thread, opened on first use and kept: a text with many
// undecodable bytes is handed over in many short pieces.
class Gb18030Converter {
public:
    Gb18030Converter() : m_cd(iconv_open("WCHAR_T", "GB18030"))
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

// iconv stops at the first sequence it cannot decode (EILSEQ) or that the end cuts off
// (EINVAL), and says where.
std::size_t DecodeGb18030Prefix(const char* data, std::size_t size, char32_t* out, std::size_t* count)
{
    thread_local Gb18030Converter converter;
    iconv_t cd = converter.Get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    char* to = reinterpret_cast<char*>(out);
    std::size_t toLeft = size * sizeof(char32_t);
    if (iconv(cd, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1) && errno == E2BIG)
        throw std::logic_error("GB18030 text decoded to more characters than bytes");
    *count = (size * sizeof(char32_t) - toLeft) / sizeof(char32_t);
    return size - inLeft;
}
