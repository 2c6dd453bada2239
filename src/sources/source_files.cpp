#include "sources/source_files.h"

#include "platform/ascii.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "platform/utf8_sequence.h"
#include "sources/natural_order.h"
#include "sources/source_list.h"
#include "sources/text_import.h"
#include "sources/text_plausibility.h"
#include "sources/text_sniff.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowListingError(const std::error_code& ec, const std::string& folder)
{
    const std::error_condition condition = ec.default_error_condition();
    CFileException::Cause cause = CFileException::genericException;
    if (condition == std::errc::no_such_file_or_directory)
        cause = CFileException::fileNotFound;
    else if (condition == std::errc::permission_denied)
        cause = CFileException::accessDenied;
    else if (condition == std::errc::not_a_directory)
        cause = CFileException::badPath;
    throw CFileException(cause, ec.value(), folder);
}

bool HasTxtExtension(const std::string& name)
{
    return EndsWithIgnoringAsciiCase(name, ".txt");
}

} // namespace

std::string TitleFromFileName(const std::string& fileName)
{
    // A path is reduced to its last component first.
    const std::string name = FileNameOfPath(fileName);
    const std::size_t dot = name.rfind('.');
    std::string title = dot == std::string::npos ? name : name.substr(0, dot);
    // A file name that is not UTF-8 (GBK bytes in a Linux folder) is read as GBK text is.
    if (!IsValidUtf8(title.data(), title.size())) {
        std::string decoded;
        AppendGb18030AsUtf8(title.data(), title.size(), decoded);
        title = std::move(decoded);
    }
    return title;
}

bool ReadSourceFile(const std::string& path, std::string& bytes)
{
    CFile file;
    try {
        file.Open(path, CFile::modeRead | CFile::typeBinary);
    } catch (const CFileException& e) {
        if (e.GetCause() == CFileException::notRegularFile)
            throw;  // a pipe or a device: refused with a message, not skipped
        return false;  // skipped silently: missing, a folder, locked by another program
    }
    // Read until the end of the file: its size is only a hint, as the file may grow or
    // shrink while it is read. One byte more than the hint lets a file of that size end at
    // the first read; a buffer that fills grows by half.
    bytes.clear();
    bytes.shrink_to_fit();
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(file.GetLength(), std::size_t(-1) / 2)) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(done + std::max<std::size_t>(done / 2, 1u << 20));
        const std::size_t want = std::min<std::size_t>(bytes.size() - done, 1u << 30);
        const std::uint32_t n = file.Read(bytes.data() + done, static_cast<std::uint32_t>(want));
        done += n;
        if (n < want)
            break;
    }
    bytes.resize(done);
    file.Close();
    return true;
}

std::string ReadTextStart(const std::string& path, const SourceReading& reading, std::size_t maxBytes)
{
    std::string bytes(maxBytes, '\0');
    try {
        CFile file;
        file.Open(path, CFile::modeRead | CFile::typeBinary);
        bytes.resize(file.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
        if (IsClearlyNotText(bytes.data(), bytes.size()))
            return {};
        const TextEncoding encoding = reading.encoding ? *reading.encoding : DetectEncoding(bytes.data(), bytes.size());
        CSourceList list;
        ImportText(list, "?", bytes.data(), bytes.size(), false, encoding);
        std::string text;
        for (const BookPart& part : list.GetParts())
            text += part.text;
        return text;
    } catch (const CException&) {
        return {};
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<std::string> ScanFolder(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(U8Path(folder), ec);
    if (ec)
        ThrowListingError(ec, folder);
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            ThrowListingError(ec, folder);
        std::error_code statusError;
        // Directories are skipped (a folder named d.txt too), and so is anything that is not
        // a file, such as a pipe, which reading would block on.
        if (!it->is_regular_file(statusError))
            continue;
        const std::string name = Utf8Path(it->path().filename());
        if (HasTxtExtension(name))
            names.push_back(name);
    }
    if (ec)
        ThrowListingError(ec, folder);
    std::sort(names.begin(), names.end(),
              [](const std::string& x, const std::string& y) { return NaturalCompare(x, y) < 0; });
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names)
        paths.push_back(Utf8Path(U8Path(folder) / U8Path(name)));
    return paths;
}

SourceFault FaultOf(bool opened, const std::exception_ptr& failure)
{
    if (!failure)
        return opened ? SourceFault::none : SourceFault::notOpened;
    try {
        std::rethrow_exception(failure);
    } catch (const CNotTextException&) {
        return SourceFault::notText;
    } catch (const CImportException&) {
        return SourceFault::notImported;
    } catch (const CException&) {
        return SourceFault::notRead;
    } catch (const std::exception&) {
        return SourceFault::notRead;  // larger than a string can hold, or memory ran out
    }
}

namespace {

// A file read and its encoding found: the encoding the user gave, or the detected one.
struct ReadSource {
    std::string bytes;
    TextEncoding encoding = EncodingAnsi;
    bool implausible = false;
    bool markOverrode = false;
};

bool ReadAndDetect(const std::string& path, const SourceReading& reading, ReadSource& source)
{
    std::string& bytes = source.bytes;
    if (!ReadSourceFile(path, bytes))
        return false;
    if (IsClearlyNotText(bytes.data(), bytes.size()))
        throw CNotTextException(path);
    TextEncoding encoding = reading.encoding ? *reading.encoding : DetectEncoding(bytes.data(), bytes.size());
    // An encoding given, and the file's byte-order mark says another: the mark is right
    // (read otherwise the text would be nonsense), and the user is told.
    const std::optional<TextEncoding> mark = EncodingOfMark(bytes.data(), bytes.size());
    if (mark && *mark != encoding) {
        source.markOverrode = true;
        encoding = *mark;
    }
    source.encoding = encoding;
    source.implausible = !reading.encoding && ReadsAsNonsense(bytes, encoding);
    return true;
}

const CTextConverter* ConverterFor(const SourceReading& reading)
{
    return reading.conversion == TextConversion::none ? nullptr : &Converter(reading.conversion);
}

// The whole text decoded, converted and cleaned; the file's bytes are freed once decoded.
std::string CleanedText(ReadSource& source, const CTextConverter* converter, CleanReport* report)
{
    std::string decoded = DecodeText(source.bytes.data(), source.bytes.size(), source.encoding, converter);
    std::string().swap(source.bytes);
    return CleanText(decoded, report);
}

} // namespace

bool ReadCleanedSource(const std::string& path, const SourceReading& reading, CleanedSource& cleaned)
{
    ReadSource source;
    try {
        if (!ReadAndDetect(path, reading, source))
            return false;
        cleaned.encoding = source.encoding;
        cleaned.implausible = source.implausible;
        cleaned.markOverrode = source.markOverrode;
        cleaned.report = {};
        cleaned.text = CleanedText(source, ConverterFor(reading), &cleaned.report);
    } catch (const std::bad_alloc&) {
        throw CSourceMemoryException(path);
    }
    return true;
}

bool AddSourceFile(CSourceList& list, const std::string& path, const std::string& title, AddedSource* added,
                   bool byChapters, const ImportProgress& progress, const SourceReading& reading)
{
    ReadSource source;
    std::string shownTitle;
    ImportedChapters imported;
    try {
        if (!ReadAndDetect(path, reading, source))
            return false;
        const CTextConverter* converter = ConverterFor(reading);
        // The title from the file's name is converted as the text is: it names parts in the index.
        shownTitle = converter ? converter->Convert(title) : title;
        const char* data = source.bytes.data();
        std::size_t size = source.bytes.size();
        TextEncoding encoding = source.encoding;
        std::string cleaned;
        if (reading.clean) {
            // Cleaning needs the whole text (the wrap width is the text's): it is decoded and
            // converted first, then imported as UTF-8.
            cleaned = CleanedText(source, converter, nullptr);
            data = cleaned.data();
            size = cleaned.size();
            encoding = EncodingUtf8;
            converter = nullptr;
        }
        if (byChapters)
            imported = ImportChapters(list, shownTitle, data, size, false, encoding, progress, converter,
                                      reading.chapterPattern);
        else
            imported.parts = ImportText(list, shownTitle, data, size, false, encoding, progress, converter);
    } catch (const std::bad_alloc&) {
        // The import throws CImportException once the text was read; before, the text
        // could not be read.
        throw CSourceMemoryException(path);
    }
    if (added) {
        added->title = shownTitle;
        added->encoding = source.encoding;
        added->implausible = source.implausible;
        added->markOverrode = source.markOverrode;
        added->parts = imported.parts;
        added->chapters = imported.chapters;
        added->refusedHeadings = std::move(imported.refused);
        added->patternGaveUpLine = imported.patternGaveUpLine;
    }
    return true;
}
