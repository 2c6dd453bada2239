#include "zip/zip_extra_field.h"

#include "zip/zip_records.h"

#include <algorithm>

bool CZipExtraField::Read(const char* data, std::uint32_t size)
{
    m_records.clear();
    std::uint32_t pos = 0;
    while (pos < size) {
        if (size - pos < zip::kExtraRecordHeadSize)
            return false;
        CZipExtraRecord record;
        record.m_uHeaderID = zip::GetU16(data + pos);
        const std::uint16_t dataSize = zip::GetU16(data + pos + 2);
        pos += zip::kExtraRecordHeadSize;
        if (dataSize > size - pos)
            return false;
        record.m_data.Assign(data + pos, dataSize);
        pos += dataSize;
        m_records.push_back(std::move(record));
    }
    return true;
}

char* CZipExtraField::Write(char* dest) const
{
    for (const CZipExtraRecord& record : m_records) {
        dest = zip::PutU16(dest, record.m_uHeaderID);
        dest = zip::PutU16(dest, static_cast<std::uint16_t>(record.m_data.GetSize()));
        if (!record.m_data.IsEmpty())
            std::memcpy(dest, record.m_data.Data(), record.m_data.GetSize());
        dest += record.m_data.GetSize();
    }
    return dest;
}

std::uint32_t CZipExtraField::GetTotalSize() const
{
    std::uint32_t total = 0;
    for (const CZipExtraRecord& record : m_records)
        total += record.GetTotalSize();
    return total;
}

const CZipExtraRecord* CZipExtraField::Lookup(std::uint16_t id) const
{
    for (const CZipExtraRecord& record : m_records)
        if (record.m_uHeaderID == id)
            return &record;
    return nullptr;
}

void CZipExtraField::Remove(std::uint16_t id)
{
    m_records.erase(std::remove_if(m_records.begin(), m_records.end(),
                                   [id](const CZipExtraRecord& r) { return r.m_uHeaderID == id; }),
                    m_records.end());
}
