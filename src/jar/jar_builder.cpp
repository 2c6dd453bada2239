#include "jar/jar_builder.h"

#include "jar/book_check.h"
#include "jar/book_files.h"
#include "jar/book_journal.h"
#include "jar/book_name.h"
#include "jar/jar_contents.h"
#include "jar/jar_exception.h"
#include "jar/template_check.h"
#include "jar/volume_plan.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/ordered_work.h"
#include "platform/path.h"
#include "platform/utf16.h"
#include "zip/zip_exception.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::vector<BookPart> kNoParts;

// Where the volume starting at part first lies in the whole book; partStarts[i] is the
// bytes of the part entries before part i, partStarts.back() those of all.
VolumePlace PlaceOf(const std::vector<std::uint64_t>& partStarts, std::size_t first)
{
    return {partStarts[first], partStarts.back()};
}

// The titles of parts first..first+count-1, as the index lists them.
std::vector<std::string> TitlesOf(const std::vector<BookPart>& parts, std::size_t first, std::size_t count)
{
    std::vector<std::string> titles;
    for (std::size_t k = first; k < first + count; ++k)
        titles.push_back(parts[k].title);
    return titles;
}

// partStarts[i]: the bytes of the part entries before part i; the last: those of all.
std::vector<std::uint64_t> PartStarts(const std::vector<BookPart>& parts)
{
    std::vector<std::uint64_t> starts(1, 0);
    for (const BookPart& part : parts)
        starts.push_back(starts.back() + PartTextBytes(part.text));
    return starts;
}

// The bytes of the entries of parts first..first+count-1, as the index gives them.
std::vector<std::uint64_t> LengthsOf(const std::vector<std::uint64_t>& partStarts, std::size_t first,
                                     std::size_t count)
{
    std::vector<std::uint64_t> lengths;
    for (std::size_t k = first; k < first + count; ++k)
        lengths.push_back(partStarts[k + 1] - partStarts[k]);
    return lengths;
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

bool IsRegularFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(U8Path(path), ec);
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(U8Path(path), ec));
}

CZipPackedData Pack(const std::string& data, int level) { return PackEntryData(data.data(), data.size(), level, ZSF_DEFAULT); }

// Deflating is nearly all of a build's work, and the parts are independent: they are
// deflated on every core while consume(i, packed) takes them on this thread in order. A
// failure of packing names the file at path.
void PackParts(const std::vector<BookPart>& parts, int level, const std::string& path,
               const std::function<void(std::size_t, CZipPackedData&)>& consume)
{
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    RunInOrder<CZipPackedData>(
        parts.size(), threads, 2 * threads,
        [&](std::size_t i) {
            const std::string part = MakePartText(parts[i].text);
            try {
                return Pack(part, level);
            } catch (const CZipException& e) {
                throw CZipException(e.GetCause(), path);
            }
        },
        consume);
}

// The size of the jar just written to tempPath, which the JAD must state exactly: a jar
// whose size cannot be read back is not delivered.
std::uint64_t WrittenSize(const std::string& tempPath, const std::string& jarPath)
{
    std::uint64_t bytes = 0;
    if (!CFile::GetSize(tempPath, bytes))
        throw CJarException(CJarException::archiveFailed, jarPath, "写完后无法读出文件大小");
    return bytes;
}

// True for a file whose owner may not write it (Windows' read-only attribute).
bool IsReadOnly(const fs::file_status& status)
{
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// A read-only book is not replaced nor removed: its owner said so.
void CheckReplaceable(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        std::error_code ec;
        const fs::file_status status = fs::status(U8Path(path), ec);
        if (!ec && fs::is_regular_file(status) && IsReadOnly(status))
            throw CJarException(CJarException::outputReadOnly, path);
    }
}

// A zip archive holds at most this many entries.
constexpr std::size_t kMaxEntries = 0xFFFF;

} // namespace

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
    CheckReplaceable({jarPath});
}

void CheckBookFileNames(const std::string& jarPath, std::size_t volume)
{
    const std::string jar = volume ? VolumePathFor(jarPath, volume) : jarPath;
    for (const std::string& path : {jar, JadPathFor(jar)}) {
        const std::string name = FileNameOfPath(path);
        const std::size_t units = Utf8ToUtf16(name).size();
        if (name.size() > kMaxFileNameLength || units > kMaxFileNameLength)
            throw CJarException(CJarException::fileNameTooLong, path,
                                "“" + name + "”有 " + std::to_string(name.size()) + " 字节，文件名最多 " +
                                    std::to_string(kMaxFileNameLength) + " 字节（一个汉字 3 字节）");
    }
}

void CheckBookPaths(const std::string& jarPath, const std::string& templatePath,
                    const std::vector<std::string>& protectedFiles)
{
    if (HasJadExtension(jarPath))
        throw CJarException(CJarException::outputIsDescriptor, jarPath);
    const std::string name = FileNameOfPath(jarPath);
    if (!name.empty() && (name.back() == '.' || name.back() == ' '))
        throw CJarException(CJarException::outputNameEndsBadly, jarPath);
    CheckBookPath(jarPath, templatePath, protectedFiles);
    CheckBookPath(JadPathFor(jarPath), templatePath, protectedFiles);
}

std::vector<std::string> CJarBuilder::OlderVolumesAbove(const std::string& jarPath, std::size_t volumes) const
{
    std::vector<std::string> older;
    for (std::size_t n = volumes + 1;; ++n) {
        const std::string jar = VolumePathFor(jarPath, n), jad = JadPathFor(jar);
        if (!Exists(jar) && !Exists(jad))
            return older;
        // Only what provably is volume n of this book: another program's jar that happens
        // to have the name, a file of the user's, the template or a source stays.
        const std::string name = VolumeBookName(m_book.bookName, n);
        auto mayGo = [&](const std::string& path) {
            bool ours = IsRegularFile(path) && !SameFile(U8Path(path), U8Path(m_pTemplate->Path()));
            for (const std::string& source : m_arrProtected)
                ours = ours && !SameFile(U8Path(path), U8Path(source));
            return ours;
        };
        if (mayGo(jar) && IsBookVolume(jar, name))
            older.push_back(jar);
        if (mayGo(jad) && IsBookJad(jad, FileNameOfPath(jar), name))
            older.push_back(jad);
    }
}

// The files of one build: what was written to temporary files so far, waiting for the
// commit, and the jars among them.
struct CJarBuilder::Output {
    explicit Output(const std::string& path) : jarPath(path), journal(path) {}

    std::string jarPath;  // the book's path as given
    CBookJournal journal;  // every temporary file, and the commit
    std::vector<PendingBookFile> files;
    std::vector<BookVolume> volumes;
    bool numbered = false;  // the jars are volumes named (1), (2), ...

    // The book's file a temporary file stands for; path itself when it is none.
    std::string TargetOf(const std::string& path) const
    {
        for (const PendingBookFile& file : files)
            if (file.tempPath == path)
                return file.targetPath;
        return path;
    }
};

// The exact size of a volume before it is written: the template with its directory as the
// engine writes it anew, plus each entry added as the engine tells its size
// (CZipContainer::GetPackedEntrySize). The manifest and the index are deflated here as
// they will be in the jar, the index of a candidate volume each time it is asked about.
// Of each part only the sizes of its entry are kept, so that trial plans can be made
// after the parts' data is gone.
class CJarBuilder::VolumeSizes : public IVolumeSizes {
public:
    VolumeSizes(const std::string& templatePath, const BookInfo& book, const std::vector<BookPart>& parts,
                const std::vector<std::uint64_t>& partStarts, int packLevel)
        : m_book(book), m_parts(parts), m_partStarts(partStarts), m_nPackLevel(packLevel)
    {
        m_template.Open(templatePath, CZipContainer::zipOpenReadOnly);
        m_base = m_template.GetSizeWithNewDirectory();
    }
    ~VolumeSizes() override { m_template.Close(CZipContainer::closeAfterException); }
    VolumeSizes(const VolumeSizes&) = delete;
    VolumeSizes& operator=(const VolumeSizes&) = delete;

    // The next part: the size of its entry under a name of each length a part's entry can
    // have ("1.txt" to "10000.txt"; a jar holds fewer than 100000 entries).
    void Measure(const CZipPackedData& packed)
    {
        PartCost& cost = m_costs.emplace_back();
        for (std::size_t digits = 0, number = 0; digits < cost.size(); ++digits, number = number * 10 + 9)
            cost[digits] = m_template.GetPackedEntrySize(PartEntryName(number), packed);
    }

    std::uint64_t Base() const override { return m_base; }

    std::uint64_t PartBytes(std::size_t part, std::size_t position) const override
    {
        return m_costs[part][std::to_string(position + 1).size() - 1];
    }

    std::optional<std::uint64_t> JarBytes(std::size_t volume, std::size_t first, std::size_t count) override
    {
        if (m_template.GetCount() + 2 + count > kMaxEntries)
            return std::nullopt;
        const std::string name = volume ? VolumeBookName(m_book.bookName, volume) : m_book.bookName;
        std::uint64_t bytes = m_base + ManifestBytes(name, volume, first) + IndexBytes(name, first, count);
        for (std::size_t k = 0; k < count; ++k)
            bytes += PartBytes(first + k, k);
        return bytes;
    }

private:
    using PartCost = std::array<std::uint64_t, 5>;

    // The manifest of volume starting at part first; volume 0 is the whole book.
    std::uint64_t ManifestBytes(const std::string& bookName, std::size_t volume, std::size_t first)
    {
        auto it = m_manifests.find({bookName, first});
        if (it == m_manifests.end()) {
            const VolumePlace place = volume ? PlaceOf(m_partStarts, first) : VolumePlace {};
            const std::uint64_t bytes =
                m_template.GetPackedEntrySize(kManifestEntryName, Pack(MakeManifest(bookName, place), m_nPackLevel));
            it = m_manifests.emplace(std::make_pair(bookName, first), bytes).first;
        }
        return it->second;
    }

    std::uint64_t IndexBytes(const std::string& bookName, std::size_t first, std::size_t count) const
    {
        const BookInfo book {bookName, m_book.author, m_book.maker};
        return m_template.GetPackedEntrySize(kIndexEntryName,
                                             Pack(MakeIndex(book, TitlesOf(m_parts, first, count),
                                                            LengthsOf(m_partStarts, first, count)),
                                                  m_nPackLevel));
    }

    CZipContainer m_template;  // read only
    std::uint64_t m_base = 0;
    const BookInfo& m_book;
    const std::vector<BookPart>& m_parts;
    const std::vector<std::uint64_t>& m_partStarts;
    const int m_nPackLevel;
    std::vector<PartCost> m_costs;
    std::map<std::pair<std::string, std::size_t>, std::uint64_t> m_manifests;
};

CJarBuilder::CJarBuilder(const BookInfo& book)
    : m_book(book), m_pParts(&kNoParts)
{
    m_zip.SetBufferSizes(15000000, 65536, 32768);
}

CJarBuilder::~CJarBuilder() = default;

void CJarBuilder::BuildTo(CCheckedTemplate& templ, const std::string& jarPath)
{
    m_pTemplate = &templ;
    Output output(jarPath);
    m_strTargetPath = jarPath;
    m_nDone = 0;
    m_nTotal = 2 + m_pParts->size();
    std::vector<std::string> retired;
    try {
        // This build's record first, then what builds killed beside the book left is put
        // right (book_journal.h); a build of this book that runs now is waited for by the
        // user, not raced.
        output.journal.Begin();
        std::vector<std::string> reads = m_arrProtected;
        reads.push_back(templ.Path());
        const RecoveryReport recovered = RecoverInterruptedBuilds(jarPath, reads, output.journal.RecordPath());
        if (m_recovery && (!recovered.done.empty() || !recovered.refused.empty()))
            m_recovery(recovered);
        if (!recovered.running.empty())
            throw CJarException(CJarException::bookBeingBuilt, recovered.running.front());
        if (m_nMaxJarBytes == 0 || m_pParts->empty())
            WriteWholeBook(output);
        else
            WriteVolumes(output);
        if (output.numbered)
            retired = OlderVolumesAbove(jarPath, output.volumes.size());
        CheckReplaceable(retired);
        output.journal.Commit(output.files, retired);
    } catch (const CFileException& e) {
        Abandon(output);
        throw CFileException(e.GetCause(), e.GetOsError(), output.TargetOf(e.GetPath()), e.IsReplacing());
    } catch (const CZipException& e) {
        // The engine's own texts are English and name the temporary file: the user gets the
        // program's words and the book's name.
        Abandon(output);
        const std::string target = output.TargetOf(e.GetPath());
        throw JarExceptionFromZip(e.GetCause(), target == e.GetPath() ? m_strTargetPath : target);
    } catch (...) {
        Abandon(output);
        throw;
    }
    m_volumes = std::move(output.volumes);
    m_arrRemoved = std::move(retired);
}

void CJarBuilder::WriteWholeBook(Output& output)
{
    const std::vector<BookPart>& parts = *m_pParts;
    const std::string jarTemp = TargetTemp(output.jarPath, output);
    const std::string jadTemp = TargetTemp(JadPathFor(output.jarPath), output);
    m_partStarts = PartStarts(parts);
    BeginJar(jarTemp, output.jarPath, m_book.bookName, 0, parts.size(), {});
    PackParts(parts, m_nPackLevel, jarTemp, [&](std::size_t i, CZipPackedData& packed) { AddPart(i, packed); });
    m_zip.Close();
    const std::uint64_t bytes = WrittenSize(jarTemp, output.jarPath);
    WriteJad(jadTemp, m_book.bookName, output.jarPath, bytes, {});
    output.volumes.push_back({output.jarPath, JadPathFor(output.jarPath), bytes, 0, parts.size()});
}

// The parts come in order from the cores, are measured, and wait until the planner knows
// the volume they belong to (CVolumePlanner), so no more than a volume's worth of deflated
// parts is held. After a part that fits no volume nothing more is written, but every part
// is still measured: the message names the limit that would do.
void CJarBuilder::WriteVolumes(Output& output)
{
    const std::vector<BookPart>& parts = *m_pParts;
    m_partStarts = PartStarts(parts);
    VolumeSizes sizes(m_pTemplate->Path(), m_book, parts, m_partStarts, m_nPackLevel);
    CVolumePlanner planner(sizes, m_nMaxJarBytes);
    std::vector<CZipPackedData> waiting;  // the parts not yet written, in order
    auto write = [&](const std::vector<PlannedVolume>& planned) {
        for (const PlannedVolume& v : planned) {
            if (planner.TooLarge())
                return;
            output.numbered = v.volume != 0;
            WriteVolume(v.volume, v.first, waiting, v.count, v.bytes, output);
            waiting.erase(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(v.count));
        }
    };
    PackParts(parts, m_nPackLevel, output.jarPath, [&](std::size_t, CZipPackedData& packed) {
        sizes.Measure(packed);
        if (planner.TooLarge()) {
            // Only measured: counted all the same, so that the progress goes on and a
            // cancel is heard.
            EntryAdded();
            return;
        }
        waiting.push_back(std::move(packed));
        write(planner.PartMeasured());
        if (planner.TooLarge())
            waiting.clear();
    });
    write(planner.Finish());
    if (const std::optional<std::size_t>& tooLarge = planner.TooLarge()) {
        // Each part alone in the volume of the highest number it could get: a limit that
        // most likely works, for the search of the smallest one.
        std::uint64_t guess = 0;
        for (std::size_t part = 0; part < parts.size(); ++part)
            guess = std::max(guess, sizes.JarBytes(part + 1, part, 1).value_or(0));
        throw CJarException::PartTooLarge(output.jarPath, *tooLarge, parts[*tooLarge].title, m_nMaxJarBytes,
                                          SmallestWorkingLimit(sizes, parts.size(), m_nMaxJarBytes, guess));
    }
}

void CJarBuilder::WriteVolume(std::size_t volume, std::size_t first,
                              const std::vector<CZipPackedData>& parts, std::size_t count, std::uint64_t expected,
                              Output& output)
{
    const std::string jarPath = volume ? VolumePathFor(output.jarPath, volume) : output.jarPath;
    const std::string bookName = volume ? VolumeBookName(m_book.bookName, volume) : m_book.bookName;
    if (volume) {
        // The request's check knew the book's own names, not the volumes'.
        CheckBookName(m_book.bookName, volume);
        CheckBookFileNames(output.jarPath, volume);
        CheckBookPaths(jarPath, m_pTemplate->Path(), m_arrProtected);
        if (m_volumeStarted) {
            // The volumes before it held the text before `first`: the rest comes in
            // volumes of the same size, at least one.
            const std::uint64_t before = m_partStarts[first];
            const std::uint64_t all = m_partStarts.back();
            const std::size_t estimated =
                volume == 1 || before == 0
                    ? 0
                    : std::max<std::size_t>(volume, static_cast<std::size_t>(((volume - 1) * all + before - 1) / before));
            m_volumeStarted(volume, jarPath, estimated);
        }
    }
    const std::string jarTemp = TargetTemp(jarPath, output);
    const std::string jadTemp = TargetTemp(JadPathFor(jarPath), output);
    const VolumePlace place = volume ? PlaceOf(m_partStarts, first) : VolumePlace {};
    BeginJar(jarTemp, jarPath, bookName, first, count, place);
    for (std::size_t k = 0; k < count; ++k)
        AddPart(k, parts[k]);
    m_zip.Close();
    const std::uint64_t bytes = WrittenSize(jarTemp, jarPath);
    // The limit is a promise to the phone: a jar that came out otherwise than measured is
    // not delivered.
    if (bytes != expected)
        throw CJarException(CJarException::archiveFailed, jarPath,
                            "写成 " + std::to_string(bytes) + " 字节，与算出的 " + std::to_string(expected) +
                                " 字节不符");
    WriteJad(jadTemp, bookName, jarPath, bytes, place);
    output.volumes.push_back({jarPath, JadPathFor(jarPath), bytes, first, count});
}

std::string CJarBuilder::TargetTemp(const std::string& targetPath, Output& output)
{
    const std::string tempPath = output.journal.NewTempFile(targetPath);
    output.files.push_back({tempPath, targetPath});
    return tempPath;
}

void CJarBuilder::BeginJar(const std::string& tempPath, const std::string& jarPath, const std::string& bookName,
                           std::size_t first, std::size_t count, const VolumePlace& place)
{
    m_strTargetPath = jarPath;
    m_pTemplate->CopyTo(tempPath);
    try {
        m_zip.Open(tempPath, CZipContainer::zipOpen, 0);
    } catch (const CZipException&) {
        // The copy holds exactly the template's bytes: the template is at fault.
        throw CJarException(CJarException::templateDamaged, m_pTemplate->Path());
    }
    const std::vector<std::string> titles = TitlesOf(*m_pParts, first, count);
    // The first jar's manifest and index count in the progress, the parts in every jar.
    const bool counted = first == 0;
    AddPacked(kManifestEntryName, Pack(MakeManifest(bookName, place), m_nPackLevel));
    if (counted)
        EntryAdded();
    AddPacked(kIndexEntryName, Pack(MakeIndex(BookInfo {bookName, m_book.author, m_book.maker}, titles,
                                              LengthsOf(m_partStarts, first, count)),
                                    m_nPackLevel));
    if (counted)
        EntryAdded();
}

void CJarBuilder::AddPart(std::size_t position, const CZipPackedData& packed)
{
    AddPacked(PartEntryName(position), packed);
    EntryAdded();
}

void CJarBuilder::AddPacked(const std::string& name, const CZipPackedData& packed)
{
    if (!m_zip.AddPackedEntry(name, packed))
        ThrowEntryRefused(name);
}

void CJarBuilder::WriteJad(const std::string& tempPath, const std::string& bookName, const std::string& jarPath,
                           std::uint64_t jarBytes, const VolumePlace& place)
{
    const std::string jad = MakeJad(bookName, FileNameOfPath(jarPath), jarBytes, place);
    CFile file;
    file.Open(tempPath, CFile::modeCreateNew | CFile::modeWrite | CFile::typeBinary);
    file.Write(jad.data(), static_cast<std::uint32_t>(jad.size()));
    file.Close();
}

void CJarBuilder::ThrowEntryRefused(const std::string& name) const
{
    // The engine refuses an entry beyond the archive's 65535, or one it cannot take in its
    // state (an archive of several volumes, say), without an exception of its own.
    if (m_zip.GetCount() >= kMaxEntries)
        throw CJarException(CJarException::tooManyParts, m_strTargetPath);
    throw CJarException(CJarException::archiveFailed, m_strTargetPath, "无法添加条目 " + name);
}

void CJarBuilder::EntryAdded()
{
    ++m_nDone;
    if (m_progress)
        m_progress(m_nDone, m_nTotal);
}

void CJarBuilder::Abandon(Output& output) noexcept
{
    // A failure is already on its way to the caller; failures of the clean-up itself would
    // only hide it, so they are not reported.
    try {
        m_zip.Close(CZipContainer::closeAfterException);
    } catch (const CException&) {
    }
    output.journal.Discard();
}
