#include "jar/template_check.h"

#include "jar/archive_check.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "platform/file.h"
#include "zip/zip_exception.h"

#include <set>

void CheckTemplate(const std::string& path)
{
    ArchiveListing archive;
    try {
        archive = ReadArchive(path);
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

    CFile file;
    file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    std::string data;
    for (ArchiveEntry& e : archive.entries) {
        const std::string problem = CheckArchiveEntry(file, archive, e, false, data);
        if (!problem.empty())
            damaged("条目 " + e.name + "：" + problem);
    }
    file.Close();
    const std::string overlap = FindOverlappingEntries(archive);
    if (!overlap.empty())
        damaged(overlap);
}
