#include "jar/jar_builder.h"

#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/ordered_work.h"
#include "zip/zip_exception.h"
#include "zip/zip_memory_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

const std::vector<std::string> kNoStrings;

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
bool EndsWithSeparator(const std::string& path) { return path.back() == '\\' || path.back() == '/'; }
#else
constexpr char kPathSeparator = '/';
bool EndsWithSeparator(const std::string& path) { return path.back() == '/'; }
#endif

// A name beside the book that no file has yet: "<book>.<random>.tmp".
std::string MakeTempPath(const std::string& jarPath)
{
    static std::mt19937_64 random(std::random_device {}() ^
                                  static_cast<std::uint64_t>(
                                      std::chrono::steady_clock::now().time_since_epoch().count()));
    for (;;) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random() & 0xFFFFFFFFu));
        const std::string path = jarPath + suffix;
        std::uint64_t size;
        if (!CFile::GetSize(path, size))
            return path;
    }
}

// Whether two paths name one existing file. Paths are UTF-8; std::filesystem would read a
// narrow string in the ANSI code page on Windows.
bool SameFile(const std::string& a, const std::string& b)
{
    const auto u8 = [](const std::string& path) { return std::filesystem::path(std::u8string(path.begin(), path.end())); };
    std::error_code ec;
    return std::filesystem::equivalent(u8(a), u8(b), ec);
}

} // namespace

CJarBuilder::CJarBuilder(const BookInfo& book)
    : m_book(book), m_pTitles(&kNoStrings), m_pTexts(&kNoStrings)
{
    m_zip.SetBufferSizes(15000000, 65536, 32768);
}

CJarBuilder::~CJarBuilder() = default;

void CJarBuilder::SetContents(const std::vector<std::string>& titles, const std::vector<std::string>& texts)
{
    if (titles.size() != texts.size())
        throw std::invalid_argument("CJarBuilder::SetContents: one title per text");
    m_pTitles = &titles;
    m_pTexts = &texts;
}

void CJarBuilder::Build(std::string& directory)
{
    if (!directory.empty() && !EndsWithSeparator(directory))
        directory += kPathSeparator;
    BuildTo(directory + kTemplateFileName, directory + m_book.bookName + ".jar");
}

void CJarBuilder::BuildTo(const std::string& templatePath, const std::string& jarPath)
{
    if (m_book.bookName.empty())
        throw CJarException(CJarException::emptyBookName);
    if (!IsValidBookName(m_book.bookName))
        throw CJarException(CJarException::badBookName);
    std::uint64_t templateSize;
    if (!CFile::GetSize(templatePath, templateSize))
        throw CJarException(CJarException::templateMissing, templatePath);

    for (const std::string& source : m_arrProtectedFiles) {
        if (SameFile(source, jarPath))
            throw CJarException(CJarException::outputIsSource, jarPath);
    }

    const std::string tempPath = MakeTempPath(jarPath);
    m_nDone = 0;
    m_nTotal = 2 + m_pTexts->size();
    bool replacing = false;  // the book is complete and being renamed over the old one
    try {
        CopyTemplate(templatePath, tempPath);
        try {
            m_zip.Open(tempPath, CZipContainer::zipOpen, 0);
        } catch (const CZipException&) {
            // The copy holds exactly the template's bytes: the template is at fault.
            throw CJarException(CJarException::templateDamaged, templatePath);
        }
        AddManifest();
        AddIndex();
        AddChunks();
        m_zip.Close();
        replacing = true;
        CFile::Rename(tempPath, jarPath);
    } catch (const CFileException& e) {
        Abandon(tempPath);
        if (e.GetFileName() == tempPath)
            throw CFileException(e.GetCause(), e.GetOsError(), jarPath, replacing);
        throw;
    } catch (const CZipException& e) {
        Abandon(tempPath);
        if (e.GetFileName() == tempPath)
            throw CZipException(e.GetCause(), jarPath);
        throw;
    } catch (...) {
        Abandon(tempPath);
        throw;
    }
    m_strJarPath = jarPath;
}

void CJarBuilder::CopyTemplate(const std::string& templatePath, const std::string& tempPath)
{
    CFile in;
    try {
        in.Open(templatePath, CFile::modeRead | CFile::typeBinary);
    } catch (const CFileException& e) {
        if (e.GetCause() == CFileException::fileNotFound)
            throw CJarException(CJarException::templateMissing, templatePath);
        throw;
    }
    CFile out;
    out.Open(tempPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    std::vector<char> buffer(std::min<std::uint64_t>(in.GetLength(), 1 << 20) + 1);
    std::uint32_t n;
    while ((n = in.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()))) != 0)
        out.Write(buffer.data(), n);
    out.Close();
    in.Close();
}

// Deflating is nearly all of a build's work, and the parts are independent: they are
// deflated on every core while this thread writes them in order.
void CJarBuilder::AddChunks()
{
    const std::vector<std::string>& texts = *m_pTexts;
    const std::string& archive = m_zip.GetStorage().GetFilePath();
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    RunInOrder<CZipPackedData>(
        texts.size(), threads, 2 * threads,
        [&](std::size_t i) {
            const std::string part = MakePartText(texts[i]);
            try {
                return PackEntryData(part.data(), part.size(), -1, ZSF_DEFAULT);
            } catch (const CZipException& e) {
                throw CZipException(e.GetCause(), archive);
            }
        },
        [&](std::size_t i, CZipPackedData& packed) {
            if (!m_zip.AddPackedEntry(PartEntryName(i), packed))
                ThrowEntryRefused();
            EntryAdded();
        });
}

void CJarBuilder::ThrowEntryRefused() const
{
    // The engine refuses an entry beyond the archive's 65535.
    ThrowZipError(m_zip.GetCount() >= 0xFFFF ? CZipException::ZE_ENTRY_LIMIT : CZipException::ZE_GENERIC,
                  m_zip.GetStorage().GetFilePath());
}

void CJarBuilder::EntryAdded()
{
    ++m_nDone;
    if (m_progress)
        m_progress(m_nDone, m_nTotal);
}

void CJarBuilder::AddEntry(const std::string& name, const std::string& data)
{
    if (data.size() > 0xFFFFFFFFu)
        ThrowZipError(CZipException::ZE_SIZE_TOO_LARGE, m_zip.GetStorage().GetFilePath());
    CZipMemoryFile file(1024);
    file.Write(data.data(), static_cast<std::uint32_t>(data.size()));
    if (!m_zip.AddNewEntry(file, name, -1, ZSF_DEFAULT, 65536))
        ThrowEntryRefused();
    EntryAdded();
}

void CJarBuilder::AddManifest() { AddEntry(kManifestEntryName, MakeManifest(m_book.bookName)); }

void CJarBuilder::AddIndex() { AddEntry(kIndexEntryName, MakeIndex(m_book, *m_pTitles)); }

void CJarBuilder::Abandon(const std::string& tempPath) noexcept
{
    // A failure is already on its way to the caller; failures of the clean-up itself would
    // only hide it, so they are not reported.
    try {
        m_zip.Close(CZipContainer::closeAfterException);
    } catch (const CException&) {
    }
    try {
        std::uint64_t size;
        if (CFile::GetSize(tempPath, size))
            CFile::Remove(tempPath);
    } catch (const CException&) {
    }
}
