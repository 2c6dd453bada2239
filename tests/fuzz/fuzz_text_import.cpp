// libFuzzer target: the input is a source text. Its encoding is detected and it is
// imported into a source list; then the parts must be well-formed UTF-8, each at most
// kPartSize UTF-16 units, never cut between CR and LF, titled T or T(1), T(2)..., and
// together exactly the decoded text. Imported by chapters, the parts are as well-formed and
// as whole, and a text without chapters gives exactly the parts above. A first byte whose low
// four bits are set repeats the rest until it is long enough to be cut into several parts.
// Any broken rule aborts.
#include "platform/utf16.h"
#include "sources/source_list.h"
#include "sources/text_import.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if ((data[0] & 0x0F) == 0x0F && !text.empty()) {
        const std::string unit = text;
        while (text.size() < 2 * kPartSize + 7)
            text += unit;
    }

    const TextEncoding encoding = DetectEncoding(text.data(), text.size());
    CSourceList list;
    const std::size_t parts = ImportText(list, "T", text.data(), text.size(), false, encoding);
    Require(parts >= 1 && parts == list.GetCount());

    std::string joined;
    for (std::size_t i = 0; i < parts; ++i) {
        const std::string& part = list.GetParts()[i].text;
        const std::u16string wide = Utf8ToUtf16(part);
        Require(Utf16ToUtf8(wide) == part);  // well-formed: survives the round trip
        Require(wide.size() <= kPartSize);
        if (i + 1 < parts) {
            Require(!part.empty());
            Require(!(part.back() == '\r' && list.GetParts()[i + 1].text.front() == '\n'));
        }
        Require(list.GetParts()[i].title == (parts == 1 ? "T" : "T(" + std::to_string(i + 1) + ")"));
        joined += part;
    }
    const std::string decoded = DecodeText(text.data(), text.size(), encoding);
    Require(joined == decoded);

    CSourceList byChapters;
    const ImportedChapters imported = ImportChapters(byChapters, "T", text.data(), text.size(), false, encoding);
    Require(imported.parts >= 1 && imported.parts == byChapters.GetCount());
    Require(imported.chapters == 0 || imported.chapters >= 2);
    if (imported.chapters == 0) {
        Require(byChapters.GetParts() == list.GetParts());
    }
    joined.clear();
    for (const BookPart& entry : byChapters.GetParts()) {
        const std::string& part = entry.text;
        const std::u16string wide = Utf8ToUtf16(part);
        Require(Utf16ToUtf8(wide) == part);
        Require(wide.size() <= kPartSize);
        joined += part;
    }
    Require(joined == decoded);
    return 0;
}
