#include "jar/book_temp_file.h"

#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/process.h"
#include "platform/path.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char kMarker[] = ".bm";
constexpr char kExtension[] = ".tmp";
constexpr std::size_t kDigits = 8 + 4;  // process id, number
constexpr std::size_t kSuffixLength = sizeof kMarker - 1 + kDigits + sizeof kExtension - 1;

// UTF-16 units of a UTF-8 character starting with byte b: 2 for four-byte sequences.
std::size_t Utf16Units(unsigned char b) { return b >= 0xF0 ? 2 : 1; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The longest start of name, cut before a character, that leaves room for the suffix
// within the name's own length in bytes and in UTF-16 units.
std::string Prefix(const std::string& name)
{
    std::size_t units = 0;
    for (unsigned char b : name)
        units += IsContinuation(b) ? 0 : Utf16Units(b);
    if (name.size() < kSuffixLength || units < kSuffixLength)
        return {};
    const std::size_t maxBytes = name.size() - kSuffixLength;
    const std::size_t maxUnits = units - kSuffixLength;
    std::size_t bytes = 0, used = 0;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t next = i + 1;
        while (next < name.size() && IsContinuation(static_cast<unsigned char>(name[next])))
            ++next;
        const std::size_t u = Utf16Units(static_cast<unsigned char>(name[i]));
        if (next > maxBytes || used + u > maxUnits)
            break;
        bytes = next;
        used += u;
        i = next;
    }
    return name.substr(0, bytes);
}

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

} // namespace

std::string TempFileName(const std::string& bookFileName, std::uint32_t processId, std::uint16_t number)
{
    char suffix[kSuffixLength + 1];
    std::snprintf(suffix, sizeof suffix, "%s%08x%04x%s", kMarker, static_cast<unsigned>(processId),
                  static_cast<unsigned>(number), kExtension);
    return Prefix(bookFileName) + suffix;
}

std::optional<std::uint32_t> TempFileOwner(const std::string& fileName, const std::string& bookFileName)
{
    const std::string prefix = Prefix(bookFileName);
    if (fileName.size() != prefix.size() + kSuffixLength || fileName.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    const std::size_t at = prefix.size();
    if (fileName.compare(at, sizeof kMarker - 1, kMarker) != 0 ||
        fileName.compare(fileName.size() - (sizeof kExtension - 1), std::string::npos, kExtension) != 0)
        return std::nullopt;
    std::uint32_t id = 0;
    for (std::size_t i = at + sizeof kMarker - 1, k = 0; k < kDigits; ++i, ++k) {
        if (!IsLowerHex(fileName[i]))
            return std::nullopt;
        if (k < 8)
            id = id * 16 + static_cast<std::uint32_t>(fileName[i] <= '9' ? fileName[i] - '0' : fileName[i] - 'a' + 10);
    }
    return id;
}

std::string TempPathFor(const std::string& bookPath)
{
    static std::atomic<std::uint16_t> s_number {0};
    const fs::path book = U8Path(bookPath);
    const std::string bookName = Utf8Path(book.filename());
    for (;;) {
        const fs::path path = book.parent_path() / U8Path(TempFileName(bookName, CurrentProcessId(), s_number++));
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (ec || !fs::exists(status))
            return Utf8Path(path);  // a folder that cannot be looked at fails when written
    }
}

void RemoveStaleTempFiles(const std::string& bookPath)
{
    const fs::path book = U8Path(bookPath);
    const std::string bookName = Utf8Path(book.filename());
    const fs::path folder = book.parent_path().empty() ? fs::path(".") : book.parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<std::uint32_t> owner = TempFileOwner(Utf8Path(it->path().filename()), bookName);
        std::error_code typeError;
        if (!owner || !it->is_regular_file(typeError))
            continue;
        if (*owner != CurrentProcessId() && !IsProcessRunning(*owner)) {
            std::error_code removeError;
            fs::remove(it->path(), removeError);
        }
    }
}

void CommitBookFiles(const std::vector<PendingBookFile>& files, const std::vector<std::string>& retired)
{
    struct Aside {
        std::string path, tempPath;
    };
    std::vector<Aside> aside;
    std::vector<std::string> placed;
    std::string renaming;
    bool existing = true;
    try {
        std::vector<std::string> old = retired;
        for (const PendingBookFile& file : files)
            old.push_back(file.targetPath);
        for (const std::string& path : old) {
            std::uint64_t size;
            if (!CFile::GetSize(path, size))
                continue;
            renaming = path;
            const std::string tempPath = TempPathFor(path);
            CFile::Rename(path, tempPath);
            aside.push_back({path, tempPath});
        }
        existing = false;
        for (const PendingBookFile& file : files) {
            renaming = file.targetPath;
            CFile::Rename(file.tempPath, file.targetPath);
            placed.push_back(file.targetPath);
        }
    } catch (const CFileException& e) {
        // Undone as far as the file system lets: a failure here would only hide the first.
        for (const std::string& path : placed) {
            try {
                CFile::Remove(path);
            } catch (const CFileException&) {
            }
        }
        for (auto it = aside.rbegin(); it != aside.rend(); ++it) {
            try {
                CFile::Rename(it->tempPath, it->path);
            } catch (const CFileException&) {
            }
        }
        throw CFileException(e.GetCause(), e.GetOsError(), renaming, existing);
    }
    for (const Aside& old : aside) {
        try {
            CFile::Remove(old.tempPath);
        } catch (const CFileException&) {
        }
    }
}
