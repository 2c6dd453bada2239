#include "jar/jar_builder.h"

#include "jar/book_name.h"
#include "jar/book_temp_file.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "jar/template_check.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/ordered_work.h"
#include "platform/path.h"
#include "zip/zip_exception.h"
#include "zip/zip_memory_file.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kNoStrings;

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

} // namespace

void CheckTemplatePresent(const std::string& templatePath)
{
    std::error_code ec;
    const fs::file_status status = fs::status(U8Path(templatePath), ec);
    if (!fs::exists(status) || fs::is_directory(status))
        throw CJarException(CJarException::templateMissing, templatePath);
    if (!fs::is_regular_file(status))
        throw CFileException(CFileException::notRegularFile, 0, templatePath);
}

void CheckBookPath(const std::string& jarPath, const std::string& templatePath,
                   const std::vector<std::string>& protectedFiles)
{
    const fs::path book = U8Path(jarPath);
    std::error_code ec;
    const fs::file_status status = fs::status(book, ec);
    if (!fs::exists(status))
        return;  // a new file is none of the others
    if (!fs::is_regular_file(status))
        throw CJarException(CJarException::outputNotFile, jarPath);
    if (SameFile(book, U8Path(templatePath)))
        throw CJarException(CJarException::outputIsTemplate, jarPath);
    for (const std::string& source : protectedFiles) {
        if (SameFile(book, U8Path(source)))
            throw CJarException(CJarException::outputIsSource, jarPath);
    }
}

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
    directory = JoinPath(directory, "");
    BuildTo(directory + kTemplateFileName, directory + m_book.bookName + ".jar");
}

void CJarBuilder::BuildTo(const std::string& templatePath, const std::string& jarPath)
{
    CheckBookName(m_book.bookName);
    CheckTemplatePresent(templatePath);
    CheckTemplate(templatePath);
    CheckBookPath(jarPath, templatePath, m_arrProtected);

    RemoveStaleTempFiles(jarPath);
    const std::string tempPath = TempPathFor(jarPath);
    m_strTargetPath = jarPath;
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
        if (e.GetPath() == tempPath)
            throw CFileException(e.GetCause(), e.GetOsError(), jarPath, replacing);
        throw;
    } catch (const CZipException& e) {
        // The engine's own texts are English and name the temporary file: the user gets the
        // program's words and the book's name.
        Abandon(tempPath);
        throw JarExceptionFromZip(e.GetCause(), jarPath);
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
            const std::string name = PartEntryName(i);
            if (!m_zip.AddPackedEntry(name, packed))
                ThrowEntryRefused(name);
            EntryAdded();
        });
}

void CJarBuilder::ThrowEntryRefused(const std::string& name) const
{
    // The engine refuses an entry beyond the archive's 65535, or one it cannot take in its
    // state (an archive of several volumes, say), without an exception of its own.
    if (m_zip.GetCount() >= 0xFFFF)
        throw CJarException(CJarException::tooManyParts, m_strTargetPath);
    throw CJarException(CJarException::archiveFailed, m_strTargetPath, "无法添加条目 " + name);
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
        ThrowEntryRefused(name);
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
