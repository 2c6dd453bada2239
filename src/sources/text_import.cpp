#include "sources/text_import.h"

#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "platform/utf8_sequence.h"
#include "sources/big5_decode.h"
#include "sources/chapters.h"
#include "sources/source_list.h"
#include "sources/text_convert.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <string_view>
#include <utility>

namespace {

// Input bytes decoded per piece: pieces keep the working memory of an import small.
constexpr std::size_t kPieceBytes = 64 * 1024;
// Decoded text kept while the chapters are found, in chunks of at least this many bytes.
constexpr std::size_t kChunkBytes = 4 * 1024 * 1024;

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Hands out the text of a source piece by piece, as UTF-8 without the byte-order mark and
// without NUL characters; what cannot be decoded becomes U+FFFD. With a converter, each
// piece is converted before it is handed out.
class TextDecoder {
public:
    TextDecoder(const char* data, std::size_t size, TextEncoding encoding, const CTextConverter* converter = nullptr)
        : m_p(reinterpret_cast<const unsigned char*>(data)), m_size(data ? size : 0), m_encoding(encoding),
          m_converter(converter)
    {
        m_pos = MarkLength();
    }

    // Roughly how many bytes of UTF-8 the text takes (Chinese text: GBK and UTF-16 grow by
    // half), to reserve room for the parts.
    std::size_t EstimatedLength() const
    {
        const std::size_t rest = m_size - m_pos;
        switch (m_encoding) {
        case EncodingUtf8:
        case EncodingUtf32Le:
        case EncodingUtf32Be: return rest;
        default: return rest + rest / 2;
        }
    }

    // Bytes of the source decoded so far.
    std::size_t Position() const { return m_pos; }

    // Appends the next piece to out; false when the whole text has been handed out.
    bool Next(std::string& out)
    {
        if (!m_converter)
            return NextDecoded(out);
        // Conversion goes by phrases, so a piece is converted up to its last line break and
        // the rest held back for the next: no phrase is cut in two. Of a line longer than
        // kHeldMost, what lies a phrase's reach before its end so far is converted.
        constexpr std::size_t kHeldMost = 4 * kPieceBytes;
        bool more = true;
        std::size_t take = 0;
        while (more) {
            const std::size_t before = m_held.size();
            more = NextDecoded(m_held);
            const std::size_t lineEnd = m_held.find_last_of("\r\n");
            if (lineEnd != std::string::npos && lineEnd >= before)
                take = lineEnd + 1;
            if (take > 0 || m_held.size() >= kHeldMost)
                break;
        }
        if (!more)
            take = m_held.size();  // the end of the text
        if (take == 0 && m_held.size() >= kHeldMost)
            take = m_converter->ConvertUntil(m_held, m_held.size() - kPhraseReachBytes, out);
        else if (take > 0)
            m_converter->ConvertUntil(std::string_view(m_held).substr(0, take), take, out);
        else
            return false;
        m_held.erase(0, take);
        return true;
    }

private:
    bool NextDecoded(std::string& out)
    {
        if (m_pos >= m_size)
            return false;
        switch (m_encoding) {
        case EncodingUtf8: NextUtf8(out); break;
        case EncodingUtf16Le:
        case EncodingUtf16Be: NextUtf16(out); break;
        case EncodingUtf32Le:
        case EncodingUtf32Be: NextUtf32(out); break;
        case EncodingBig5: NextBig5(out); break;
        default: NextGb18030(out); break;
        }
        return true;
    }

    bool StartsWith(std::initializer_list<unsigned char> mark) const
    {
        return m_size >= mark.size() && std::equal(mark.begin(), mark.end(), m_p);
    }

    // The byte-order mark is no character of the book.
    std::size_t MarkLength() const
    {
        switch (m_encoding) {
        case EncodingUtf8: return StartsWith({0xEF, 0xBB, 0xBF}) ? 3 : 0;
        case EncodingUtf16Le: return StartsWith({0xFF, 0xFE}) ? 2 : 0;
        case EncodingUtf16Be: return StartsWith({0xFE, 0xFF}) ? 2 : 0;
        case EncodingUtf32Le: return StartsWith({0xFF, 0xFE, 0x00, 0x00}) ? 4 : 0;
        case EncodingUtf32Be: return StartsWith({0x00, 0x00, 0xFE, 0xFF}) ? 4 : 0;
        default: return 0;
        }
    }

    // Makes room for at most `most` bytes at the end of out; Commit shrinks it to what
    // was written.
    static char* Reserve(std::string& out, std::size_t most, std::size_t& start)
    {
        start = out.size();
        out.resize(start + most);
        return out.data() + start;
    }
    static void Commit(std::string& out, const char* end) { out.resize(static_cast<std::size_t>(end - out.data())); }

    void NextUtf8(std::string& out)
    {
        const std::size_t end = std::min(m_size, m_pos + kPieceBytes);
        std::size_t start;
        char* w = Reserve(out, (end - m_pos) * 3 + 3, start);  // U+FFFD per byte at worst
        while (m_pos < end) {
            const unsigned char b = m_p[m_pos];
            if (b != 0 && b < 0x80) {
                *w++ = static_cast<char>(b);
                ++m_pos;
                continue;
            }
            // A sequence may run past `end` into the next piece: the buffer is all there.
            const Utf8Sequence s = ReadUtf8Sequence(m_p + m_pos, m_size - m_pos);
            m_pos += s.length;
            if (s.status != Utf8Status::Valid)
                w = PutUtf8(w, kReplacementCharacter);
            else if (s.codePoint != 0)
                w = PutUtf8(w, s.codePoint);
        }
        Commit(out, w);
    }

    char32_t Unit16(std::size_t at) const
    {
        return m_encoding == EncodingUtf16Le ? m_p[at] | (m_p[at + 1] << 8) : (m_p[at] << 8) | m_p[at + 1];
    }

    void NextUtf16(std::string& out)
    {
        const std::size_t end = std::min(m_size, m_pos + kPieceBytes);
        std::size_t start;
        char* w = Reserve(out, (end - m_pos) / 2 * 3 + 4, start);
        while (m_pos < end) {
            if (m_size - m_pos < 2) {  // an odd byte at the end is not a character: ignored
                m_pos = m_size;
                break;
            }
            char32_t c = Unit16(m_pos);
            m_pos += 2;
            if (IsHighSurrogate(c) && m_size - m_pos >= 2 && IsLowSurrogate(Unit16(m_pos))) {
                c = 0x10000 + ((c - 0xD800) << 10) + (Unit16(m_pos) - 0xDC00);
                m_pos += 2;
            } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
                c = kReplacementCharacter;
            }
            if (c != 0)
                w = PutUtf8(w, c);
        }
        Commit(out, w);
    }

    void NextUtf32(std::string& out)
    {
        const std::size_t end = std::min(m_size, m_pos + kPieceBytes);
        std::size_t start;
        char* w = Reserve(out, (end - m_pos) + 4, start);
        while (m_pos < end) {
            if (m_size - m_pos < 4) {  // one to three bytes left over at the end
                w = PutUtf8(w, kReplacementCharacter);
                m_pos = m_size;
                break;
            }
            const unsigned char* q = m_p + m_pos;
            char32_t c = m_encoding == EncodingUtf32Le
                             ? q[0] | (q[1] << 8) | (q[2] << 16) | (static_cast<char32_t>(q[3]) << 24)
                             : (static_cast<char32_t>(q[0]) << 24) | (q[1] << 16) | (q[2] << 8) | q[3];
            m_pos += 4;
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                c = kReplacementCharacter;
            if (c != 0)
                w = PutUtf8(w, c);
        }
        Commit(out, w);
    }

    // GB18030 pieces end behind a byte below 30 (Big5 pieces below 40): no byte of a
    // multi-byte code is that small, so a piece never ends inside a character, and decoding
    // piece by piece gives what decoding the whole would.
    std::size_t PieceEnd(unsigned char below) const
    {
        const std::size_t target = m_pos + kPieceBytes;
        if (target >= m_size)
            return m_size;
        for (std::size_t j = target; j > m_pos; --j) {
            if (m_p[j - 1] < below)
                return j;
        }
        for (std::size_t j = target + 1; j <= m_size; ++j) {
            if (m_p[j - 1] < below)
                return j;
        }
        return m_size;
    }

    void NextGb18030(std::string& out)
    {
        const std::size_t end = PieceEnd(0x30);
        const std::size_t start = out.size();
        AppendGb18030AsUtf8(reinterpret_cast<const char*>(m_p + m_pos), end - m_pos, out);
        m_pos = end;
        // NUL is the byte 00 in GBK and in UTF-8 alike.
        if (std::memchr(out.data() + start, 0, out.size() - start))
            out.erase(std::remove(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '\0'), out.end());
    }

    void NextBig5(std::string& out)
    {
        const std::size_t end = PieceEnd(0x40);
        AppendBig5AsUtf8(reinterpret_cast<const char*>(m_p + m_pos), end - m_pos, out);
        m_pos = end;
    }

    const unsigned char* m_p;
    std::size_t m_size;
    TextEncoding m_encoding;
    const CTextConverter* m_converter;
    std::size_t m_pos = 0;
    std::string m_held;  // decoded text not yet converted: the end of an unfinished line
};

// The title of part `index` (from 0) of a text titled title: the title itself for a text
// kept whole, "标题(1)", "标题(2)", ... for a text cut into parts.
std::string PartTitle(const std::string& title, std::size_t index, bool last)
{
    return last && index == 0 ? title : title + "(" + std::to_string(index + 1) + ")";
}

// Drops spare capacity that would otherwise stay with the text in the list for good.
void ShrinkToFit(std::string& text)
{
    if (text.capacity() - text.size() > text.size() / 16 + 256)
        text.shrink_to_fit();
}

// Cuts well-formed UTF-8 text, fed piece by piece (each piece whole characters), into parts
// of at most kPartSize UTF-16 code units. A cut falls before the first character that does
// not fit, so never inside a surrogate pair; when that character is the LF of a CR LF, the CR
// goes to the next part with it. A part is handed on when the next one begins (so it is known
// not to be the last) or at Finish; there is always at least one part.
class PartCutter {
public:
    using Sink = std::function<void(std::string&& part, bool last)>;

    PartCutter(std::size_t estimatedLength, Sink sink) : m_estimate(estimatedLength), m_sink(std::move(sink))
    {
        Begin();
    }

    void Append(std::string_view text)
    {
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t room = kPartSize - m_units;
            // Most pieces fit whole (no more bytes than units left): count them in one plain pass.
            if (text.size() - i <= room) {
                m_part.append(text.data() + i, text.size() - i);
                m_units += Utf16Length(text.substr(i));
                return;
            }
            // Otherwise the longest run of whole characters from i that still fits; only
            // what is appended is counted, so a long text is counted once.
            std::size_t units = 0;
            std::size_t j = i;
            for (; j < text.size(); ++j) {
                const std::size_t u = Utf16UnitsOfByte(static_cast<unsigned char>(text[j]));
                if (u == 0)
                    continue;  // a continuation byte
                if (units + u > room)
                    break;
                units += u;
            }
            m_part.append(text.data() + i, j - i);
            m_units += units;
            i = j;
            if (i == text.size())
                return;
            Cut(text[i] == '\n' && !m_part.empty() && m_part.back() == '\r');
        }
    }

    void Finish()
    {
        ShrinkToFit(m_part);
        m_sink(std::move(m_part), true);
    }

private:
    void Begin()
    {
        m_part.clear();
        const std::size_t rest = m_estimate > m_handed ? m_estimate - m_handed : 0;
        m_part.reserve(std::min(rest, kPartSize * 3) + 16);
        m_units = 0;
    }

    void Cut(bool moveCr)
    {
        if (moveCr)
            m_part.pop_back();
        m_handed += m_part.size();
        ShrinkToFit(m_part);
        m_sink(std::move(m_part), false);
        Begin();
        if (moveCr) {
            m_part += '\r';
            m_units = 1;
        }
    }

    std::size_t m_estimate;
    std::size_t m_handed = 0;  // bytes in the parts handed on so far
    Sink m_sink;
    std::string m_part;
    std::size_t m_units = 0;
};

} // namespace

std::string DecodeText(const char* data, std::size_t size, TextEncoding encoding, const CTextConverter* converter)
{
    TextDecoder decoder(data, size, encoding, converter);
    std::string text;
    text.reserve(decoder.EstimatedLength());
    while (decoder.Next(text)) {
    }
    ShrinkToFit(text);
    return text;
}

std::vector<std::string> SplitText(const std::string& text)
{
    std::vector<std::string> parts;
    PartCutter cutter(text.size(), [&parts](std::string&& part, bool) { parts.push_back(std::move(part)); });
    cutter.Append(text);
    cutter.Finish();
    return parts;
}

std::size_t ImportText(CSourceList& list, const std::string& title, const char* data, std::size_t size,
                       bool replaceSelected, TextEncoding encoding, const ImportProgress& progress,
                       const CTextConverter* converter)
{
    if (title.empty() || data == nullptr)
        return 0;
    std::size_t added = 0;
    bool decoding = false;
    try {
        // The text is decoded and cut piece by piece: besides the caller's bytes only the
        // parts (which go into the list) and one piece exist, never a second whole copy.
        TextDecoder decoder(data, size, encoding, converter);
        PartCutter cutter(decoder.EstimatedLength(), [&](std::string&& part, bool last) {
            list.AddEntry(PartTitle(title, added, last), std::move(part), replaceSelected && added == 0);
            ++added;
        });
        std::string piece;
        for (;;) {
            decoding = true;
            const bool more = decoder.Next(piece);
            decoding = false;
            if (!more)
                break;
            cutter.Append(piece);
            piece.clear();
            if (progress)
                progress(decoder.Position(), size);
        }
        cutter.Finish();
    } catch (const std::bad_alloc&) {
        // Memory ran out decoding: the text could not be read, which the caller reports as
        // it reports a read error. Out of memory cutting or adding: the parts added so far
        // stay, and the text is too long for the list.
        if (decoding)
            throw;
        throw CImportException();
    }
    return added;
}

ImportedChapters ImportChapters(CSourceList& list, const std::string& title, const char* data, std::size_t size,
                                bool replaceSelected, TextEncoding encoding, const ImportProgress& progress,
                                const CTextConverter* converter, std::shared_ptr<const ChapterPattern> pattern)
{
    ImportedChapters imported;
    if (title.empty() || data == nullptr)
        return imported;
    // The text is decoded once, its chapters found as it comes, and kept in chunks of about
    // kChunkBytes; then it is cut into parts at the chapters and each chunk freed once cut.
    // Chunks that large are given back to the system when freed (and parts reuse them), so
    // the memory stays that of ImportText. Progress counts both passes: 2 × size.
    std::vector<std::string> chunks;
    std::vector<std::size_t> decoded;  // source bytes decoded up to the end of each chunk
    std::vector<Chapter> chapters;
    std::size_t length = 0;
    {
        TextDecoder decoder(data, size, encoding, converter);
        ChapterFinder finder(title, std::move(pattern));
        std::string chunk;
        for (;;) {
            const std::size_t before = chunk.size();
            const bool more = decoder.Next(chunk);
            finder.Feed(std::string_view(chunk).substr(before));
            if (!chunk.empty() && (!more || chunk.size() >= kChunkBytes)) {
                length += chunk.size();
                chunks.emplace_back(chunk);  // exactly its size
                decoded.push_back(decoder.Position());
                chunk.clear();
            }
            if (!more)
                break;
            if (progress)
                progress(decoder.Position(), 2 * size);
        }
        ChapterList found = finder.Finish();
        chapters = std::move(found.chapters);
        imported.refused = std::move(found.refused);
        imported.patternGaveUpLine = found.patternGaveUpLine;
    }
    try {
        imported.chapters = chapters.size();
        if (chapters.empty())
            chapters.push_back({title, 0, length, 1});
        std::size_t chunk = 0;
        std::size_t chunkBegin = 0;  // text offset of chunks[chunk]
        for (const Chapter& chapter : chapters) {
            std::size_t added = 0;
            PartCutter cutter(chapter.end - chapter.begin, [&](std::string&& part, bool last) {
                list.AddEntry(PartTitle(chapter.title, added, last), std::move(part), replaceSelected && imported.parts == 0);
                ++added;
                ++imported.parts;
            });
            for (std::size_t at = chapter.begin; at < chapter.end;) {
                const std::string& text = chunks[chunk];
                const std::size_t chunkEnd = chunkBegin + text.size();
                // A slice of at most kPieceBytes, ending between characters, then progress.
                std::size_t to = std::min({chapter.end, chunkEnd, at + kPieceBytes});
                while (to < chunkEnd && to > at + 1 && (static_cast<unsigned char>(text[to - chunkBegin]) & 0xC0) == 0x80)
                    --to;
                cutter.Append(std::string_view(text).substr(at - chunkBegin, to - at));
                at = to;
                if (to == chunkEnd) {
                    std::string().swap(chunks[chunk]);  // cut: its bytes are in the parts now
                    chunkBegin = chunkEnd;
                    ++chunk;
                }
                if (progress)
                    progress(size + (chunk > 0 ? decoded[chunk - 1] : 0), 2 * size);
            }
            cutter.Finish();
        }
    } catch (const std::bad_alloc&) {
        throw CImportException();
    }
    return imported;
}
