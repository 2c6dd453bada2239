#include "jar/template_check.h"

#include "jar/archive_check.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/path.h"
#include "zip/zip_exception.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

void CheckTemplatePresent(const std::string& templatePath)
{
    std::error_code ec;
    const fs::file_status status = fs::status(U8Path(templatePath), ec);
    if (!fs::exists(status) || fs::is_directory(status))
        throw CJarException(CJarException::templateMissing, templatePath);
    if (!fs::is_regular_file(status))
        throw CFileException(CFileException::notRegularFile, 0, templatePath);
}

void CheckTemplate(const std::string& path)
{
    CFile file;
    file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    CheckTemplate(file);
    file.Close();
}

void CheckTemplate(CFile& file)
{
    const std::string& path = file.GetFilePath();
    ArchiveListing archive;
    try {
        archive = ReadArchive(file);
    } catch (const CZipException&) {
        throw CJarException(CJarException::templateDamaged, path);
    }
    auto damaged = [&path](const std::string& detail) {
        throw CJarException(CJarException::templateDamaged, path, detail);
    };
    if (!archive.problems.empty())
        damaged(archive.problems.front());

    std::set<std::string> names;
    for (const ArchiveEntry& e : archive.entries) {
        // A jar entry is a file or folder by its name: one without a name is none.
        if (e.name.empty())
            damaged("有一个条目没有名称");
        if (!names.insert(e.name).second)
            damaged("条目 " + e.name + " 出现了两次");
        if (IsManifestName(e.name) || e.name == kIndexEntryName || IsPartEntryName(e.name))
            damaged("已有电子书要添加的条目 " + e.name);
    }

    std::string data;
    for (ArchiveEntry& e : archive.entries) {
        const std::string problem = CheckArchiveEntry(file, archive, e, false, data);
        if (!problem.empty())
            damaged("条目 " + e.name + "：" + problem);
    }
    const std::string overlap = FindOverlappingEntries(archive);
    if (!overlap.empty())
        damaged(overlap);
}

CCheckedTemplate::CCheckedTemplate(const std::string& path)
{
    CheckTemplatePresent(path);
    try {
        m_file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    } catch (const CFileException& e) {
        if (e.GetCause() == CFileException::fileNotFound)  // gone since it was found
            throw CJarException(CJarException::templateMissing, path);
        throw;
    }
    CheckTemplate(m_file);
}

void CCheckedTemplate::CopyTo(const std::string& path)
{
    CFile out;
    out.Open(path, CFile::modeCreateNew | CFile::modeWrite | CFile::typeBinary);
    std::vector<char> buffer(std::min<std::uint64_t>(m_file.GetLength(), 1 << 20) + 1);
    m_file.Seek(0, CFile::begin);
    std::uint32_t n;
    while ((n = m_file.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()))) != 0)
        out.Write(buffer.data(), n);
    out.Close();
}
