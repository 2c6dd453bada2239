#include "zip/zip_file.h"

#include "platform/file_exception.h"

bool CZipFile::Open(const std::string& path, unsigned flags, bool throwOnFailure)
{
    if (!IsClosed())
        Close();
    try {
        m_file.Open(path, flags);
    } catch (const CFileException&) {
        if (throwOnFailure)
            throw;
        return false;
    }
    return true;
}

void CZipFile::Close()
{
    if (!IsClosed())
        m_file.Close();
}

std::uint64_t CZipFile::Seek(std::int64_t offset, int origin)
{
    const CFile::SeekPosition from = origin == begin     ? CFile::begin
                                     : origin == current ? CFile::current
                                                         : CFile::end;
    return m_file.Seek(offset, from);
}
