// The extra field of a header: records (u16 id, u16 size, data) kept in the order read and
// written back unchanged.
#pragma once

#include "zip/zip_buffer.h"
#include "zip/zip_records.h"

#include <cstdint>
#include <vector>

struct CZipExtraRecord {
    std::uint16_t m_uHeaderID = 0;
    CZipBuffer m_data;

    std::uint32_t GetTotalSize() const { return zip::kExtraRecordHeadSize + m_data.GetSize(); }
};

class CZipExtraField {
public:
    // Splits size bytes into records. False when they do not split into whole records
    // (fewer bytes left than a record's head, or a data size beyond the bytes left).
    bool Read(const char* data, std::uint32_t size);
    // Writes the records back to back at dest (GetTotalSize bytes).
    char* Write(char* dest) const;

    std::uint32_t GetTotalSize() const;
    bool IsEmpty() const { return m_records.empty(); }
    std::size_t GetCount() const { return m_records.size(); }
    const CZipExtraRecord& GetAt(std::size_t i) const { return m_records[i]; }

    // The first record with this id, or null.
    const CZipExtraRecord* Lookup(std::uint16_t id) const;
    void Add(CZipExtraRecord record) { m_records.push_back(std::move(record)); }
    void Remove(std::uint16_t id);
    void Clear() { m_records.clear(); }

private:
    std::vector<CZipExtraRecord> m_records;
};
