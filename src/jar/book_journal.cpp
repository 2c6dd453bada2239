#include "jar/book_journal.h"

#include "jar/book_files.h"
#include "jar/book_temp_file.h"
#include "platform/ascii.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/path.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Records: a kind letter and its fields, each ended by NUL (a file name holds no NUL).
constexpr char kBook = 'B';   // jar: the book's jar file name (first, once)
constexpr char kTemp = 'T';   // name: a temporary file about to be created
constexpr char kAside = 'A';  // target, aside: the old file at target goes to aside
constexpr char kNew = 'N';    // temp, target, size: the new file at temp goes to target
constexpr char kDone = 'D';   // every new file is in place

// The record of the version before this one: no book field and no sizes. A build killed
// by that version is still put right, under the same rules of names.
constexpr char kJournalMagicV1[] = "BookMaker build record 1\n";
constexpr std::size_t kMagicLength = sizeof kJournalMagic - 1;
static_assert(sizeof kJournalMagicV1 == sizeof kJournalMagic);

// The most a record can hold: about 400 bytes a volume, so ten thousand volumes. A larger
// file is not a record of ours, and reading it whole would cost seconds and memory.
constexpr std::uint64_t kMaxRecordBytes = 4u << 20;
// The highest volume number a record may name.
constexpr std::size_t kMaxVolume = 99999;

std::function<void(std::size_t)>& StepHook()
{
    static std::function<void(std::size_t)> hook;
    return hook;
}

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool IsRegularFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(path, ec));
}

std::string Field(char kind, std::initializer_list<std::string> names)
{
    std::string line(1, kind);
    line += '\0';
    for (const std::string& name : names)
        line += name + '\0';
    return line;
}

// A build id no other build is likely to draw; the record's exclusive creation makes sure.
std::uint32_t RandomBuildId()
{
    std::random_device device;
    std::uint64_t seed = device();
    seed = seed << 32 ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           std::hash<std::thread::id>()(std::this_thread::get_id());
    return static_cast<std::uint32_t>(std::mt19937_64(seed)());
}

// One record as read back. A record cut short by a kill ends at its last whole field.
struct Plan {
    int version = 0;
    std::string book;  // the jar's file name; empty in the first version
    std::vector<std::string> temps;
    std::vector<std::pair<std::string, std::string>> asides;  // target, aside
    struct New {
        std::string temp, target;
        std::optional<std::uint64_t> size;  // none in the first version
    };
    std::vector<New> news;
    bool done = false;
    std::string fault;  // why the record is not one a build wrote; empty when it is
};

std::optional<std::uint64_t> ParseSize(const std::string& text)
{
    if (text.empty() || text.size() > 19)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

Plan ReadPlan(const std::string& data)
{
    Plan plan;
    plan.version = data.compare(0, kMagicLength, kJournalMagic) == 0 ? 2 : 1;
    std::vector<std::string> fields;
    for (std::size_t from = kMagicLength, at; (at = data.find('\0', from)) != std::string::npos; from = at + 1)
        fields.push_back(data.substr(from, at - from));
    for (std::size_t i = 0; i < fields.size();) {
        const std::string& kind = fields[i];
        std::size_t arity = 0;
        if (kind.size() == 1 && kind[0] == kBook && plan.version == 2 && i == 0)
            arity = 1;
        else if (kind.size() == 1 && kind[0] == kTemp)
            arity = 1;
        else if (kind.size() == 1 && kind[0] == kAside)
            arity = 2;
        else if (kind.size() == 1 && kind[0] == kNew)
            arity = plan.version == 2 ? 3 : 2;
        else if (kind.size() == 1 && kind[0] == kDone)
            arity = 0;
        else {
            plan.fault = "记录已损坏";
            return plan;
        }
        if (i + arity >= fields.size() && arity != 0)
            break;  // cut short by a kill
        if (kind[0] == kBook) {
            plan.book = fields[i + 1];
        } else if (kind[0] == kTemp) {
            plan.temps.push_back(fields[i + 1]);
        } else if (kind[0] == kAside) {
            plan.asides.emplace_back(fields[i + 1], fields[i + 2]);
        } else if (kind[0] == kNew) {
            Plan::New n {fields[i + 1], fields[i + 2], std::nullopt};
            if (plan.version == 2 && !(n.size = ParseSize(fields[i + 3]))) {
                plan.fault = "记录已损坏";
                return plan;
            }
            plan.news.push_back(std::move(n));
        } else {
            plan.done = true;
        }
        i += 1 + arity;
    }
    if (plan.version == 2 && plan.book.empty() && !fields.empty())
        plan.fault = "记录已损坏";
    return plan;
}

// A name the file system takes as the plain file it says, in the record's own folder, on
// every system: no folder, drive or stream (':'), no name Windows would change (a trailing
// dot or space) or take as a device (CON, NUL, COM1, ...).
bool IsSafeName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ')
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || std::strchr("/\\:*?\"<>|", c))
            return false;
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    base = AsciiLower(base);
    static const char* const devices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (const char* device : devices)
        if (base == device)
            return false;
    return !((base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
              base[3] >= '0' && base[3] <= '9'));
}

// The names the files of one book may have, and its temporary names.
class BookNames {
public:
    explicit BookNames(const std::string& jarPath)
        : m_jarPath(jarPath), m_jar(FileNameOfPath(jarPath)), m_jad(FileNameOfPath(JadPathFor(jarPath)))
    {
        m_stem = m_jad.substr(0, m_jad.size() - 4);  // without ".jad"
    }

    const std::string& Jar() const { return m_jar; }

    // 书名.jar, 书名.jad, 书名(i).jar or 书名(i).jad of this book.
    bool IsBookFile(const std::string& name) const
    {
        if (!IsSafeName(name))
            return false;
        if (CFile::NamesEqual(name, m_jar) || CFile::NamesEqual(name, m_jad))
            return true;
        // A volume: the stem, then "(i)" with i from 1, no leading zero.
        if (name.size() <= m_stem.size() + 2 || !CFile::NamesEqual(name.substr(0, m_stem.size()), m_stem) ||
            name[m_stem.size()] != '(' || name[m_stem.size() + 1] == '0')
            return false;
        std::size_t volume = 0, at = m_stem.size() + 1;
        for (; at < name.size() && name[at] >= '0' && name[at] <= '9' && volume <= kMaxVolume; ++at)
            volume = volume * 10 + static_cast<std::size_t>(name[at] - '0');
        if (volume == 0 || volume > kMaxVolume)
            return false;
        const std::string jar = FileNameOfPath(VolumePathFor(m_jarPath, volume));
        return CFile::NamesEqual(name, jar) || CFile::NamesEqual(name, FileNameOfPath(JadPathFor(jar)));
    }

    // A temporary name of the record of build id: its prefix is the start of this book's
    // name (temporary names are cut from the names of the files they stand for).
    bool IsTempOf(const std::string& name, std::uint32_t id) const
    {
        if (!IsSafeName(name) || TempFileOwner(name) != id)
            return false;
        const std::string prefix = TempFilePrefix(name);
        return prefix.size() <= m_stem.size() && CFile::NamesEqual(m_stem.substr(0, prefix.size()), prefix);
    }

private:
    std::string m_jarPath, m_jar, m_jad, m_stem;
};

// Why a plan is not one a build of this book could have written; empty when it is.
std::string Distrust(const Plan& plan, const BookNames& book, std::uint32_t id)
{
    if (!plan.fault.empty())
        return plan.fault;
    if (plan.version == 2 && !CFile::NamesEqual(plan.book, book.Jar()))
        return "是生成“" + plan.book + "”时中断留下的，生成那本书时才会处理";
    auto notTemp = [&](const std::string& name) {
        return book.IsTempOf(name, id) ? std::string() : "记录里的“" + name + "”不是这次生成的临时文件";
    };
    auto notBook = [&](const std::string& name) {
        return book.IsBookFile(name) ? std::string() : "记录里的“" + name + "”不是这本书的文件";
    };
    for (const std::string& temp : plan.temps)
        if (std::string why = notTemp(temp); !why.empty())
            return why;
    for (const auto& [target, aside] : plan.asides) {
        if (std::string why = notBook(target); !why.empty())
            return why;
        if (std::string why = notTemp(aside); !why.empty())
            return why;
    }
    for (const Plan::New& n : plan.news) {
        if (std::string why = notTemp(n.temp); !why.empty())
            return why;
        if (std::string why = notBook(n.target); !why.empty())
            return why;
    }
    return {};
}

class Recovery {
public:
    Recovery(const fs::path& folder, const std::vector<std::string>& protectedFiles,
             std::vector<RecoveredFile>& done)
        : m_folder(folder), m_protected(protectedFiles), m_done(done) {}

    // Carries out one trusted plan; false when something could not be done (the record
    // stays).
    bool Run(const Plan& plan)
    {
        if (plan.done) {
            for (const auto& [target, aside] : plan.asides)
                Remove(aside, RecoveredFile::removedOld);
            RemoveTemps(plan);
            return m_ok;
        }
        // The commit did not finish (or did not start): the old set comes back.
        std::map<std::string, std::string> asideOf;
        for (const auto& [target, aside] : plan.asides)
            asideOf[target] = aside;
        for (const Plan::New& n : plan.news) {
            // The rename of temp to target is atomic: with temp gone, a file at target is
            // the new one, unless the old one is back already (its aside gone then).
            if (Exists(Path(n.temp)) || !IsRegularFile(Path(n.target)))
                continue;
            const auto aside = asideOf.find(n.target);
            if (aside != asideOf.end() && !Exists(Path(aside->second)))
                continue;
            // The new file has the size recorded: a file of another size there is not it.
            std::uint64_t size = 0;
            if (n.size && (!CFile::GetSize(Utf8Path(Path(n.target)), size) || size != *n.size)) {
                m_ok = false;
                continue;
            }
            Remove(n.target, RecoveredFile::removedNew);
        }
        for (const auto& [target, aside] : plan.asides) {
            if (!IsRegularFile(Path(aside)) || Exists(Path(target)) || IsProtected(Path(aside)))
                continue;
            try {
                CFile::Rename(Utf8Path(Path(aside)), Utf8Path(Path(target)));
                m_done.push_back({RecoveredFile::restored, Utf8Path(Path(target))});
            } catch (const CFileException&) {
                m_ok = false;
            }
        }
        for (const auto& [target, aside] : plan.asides)
            m_ok = m_ok && !Exists(Path(aside));
        RemoveTemps(plan);
        return m_ok;
    }

private:
    fs::path Path(const std::string& name) const { return m_folder / U8Path(name); }

    // The files the build was writing: after the new files placed were told apart.
    void RemoveTemps(const Plan& plan)
    {
        for (const std::string& temp : plan.temps)
            Remove(temp, RecoveredFile::removedTemporary);
    }

    bool IsProtected(const fs::path& path) const
    {
        for (const std::string& file : m_protected) {
            std::error_code ec;
            if (fs::equivalent(path, U8Path(file), ec))
                return true;
        }
        return false;
    }

    void Remove(const std::string& name, RecoveredFile::Action action)
    {
        const fs::path path = Path(name);
        if (!Exists(path))
            return;
        if (!IsRegularFile(path) || IsProtected(path)) {
            m_ok = false;  // the record stays; what it names is not for a build to remove
            return;
        }
        try {
            CFile::Remove(Utf8Path(path));
            m_done.push_back({action, Utf8Path(path)});
        } catch (const CFileException&) {
            m_ok = false;
        }
    }

    fs::path m_folder;
    const std::vector<std::string>& m_protected;
    std::vector<RecoveredFile>& m_done;
    bool m_ok = true;
};

} // namespace

std::string RecoveredFileText(RecoveredFile::Action action)
{
    switch (action) {
    case RecoveredFile::removedTemporary: return "已删除中断的生成留下的临时文件：";
    case RecoveredFile::removedNew: return "已删除中断的生成放入一半的新文件：";
    case RecoveredFile::restored: return "已恢复中断的生成换下的旧文件：";
    case RecoveredFile::removedOld: return "已删除中断的生成换下的旧文件：";
    }
    return {};
}

std::string RefusedRecordText() { return "未处理的生成记录："; }

CBookJournal::CBookJournal(const std::string& jarPath) : m_strJarPath(jarPath) {}

CBookJournal::~CBookJournal()
{
    if (m_file)
        m_file->Abort();
}

void CBookJournal::SetStepHook(std::function<void(std::size_t)> hook) { StepHook() = std::move(hook); }

void CBookJournal::Step()
{
    if (StepHook())
        StepHook()(m_nSteps);
    ++m_nSteps;
}

void CBookJournal::Begin()
{
    if (!m_file)
        Record({});
}

void CBookJournal::Create()
{
    // A new build id until the record can be created where nothing was: the id is this
    // build's alone for as long as the record is there.
    for (int attempt = 0;; ++attempt) {
        m_nBuildId = RandomBuildId();
        m_nNumber = 0;
        m_strPath = TempPathFor(m_strJarPath, m_nBuildId, m_nNumber);
        m_file = std::make_unique<CFile>();
        try {
            m_file->Open(m_strPath, CFile::modeCreateNew | CFile::modeWrite | CFile::shareDenyWrite |
                                        CFile::shareDelete | CFile::typeBinary);
            break;
        } catch (const CFileException& e) {
            m_file.reset();
            m_strPath.clear();
            if (e.GetCause() != CFileException::fileExists || attempt == 16)
                throw;
        }
    }
    // Held until the record is removed or this process ends. Another build may hold it for
    // a moment, looking whether this is a record; a file system without locks leaves the
    // record unlocked, and recovery does not act on records there.
    m_file->Lock(true);
    const std::string head = std::string(kJournalMagic, kMagicLength) + Field(kBook, {FileNameOfPath(m_strJarPath)});
    m_file->Write(head.data(), static_cast<std::uint32_t>(head.size()));
}

void CBookJournal::Record(const std::string& line)
{
    // The record is a file of the book: its failures name the book.
    try {
        if (!m_file)
            Create();  // the record exists before any file it names
        // Written straight to the file, not buffered: a kill after this call keeps it.
        m_file->Write(line.data(), static_cast<std::uint32_t>(line.size()));
    } catch (const CFileException& e) {
        if (m_file && !m_file->IsOpen())
            m_file.reset();
        throw CFileException(e.GetCause(), e.GetOsError(), m_strJarPath);
    }
}

std::string CBookJournal::NewTempFile(const std::string& targetPath)
{
    Begin();
    std::string tempPath = TempPathFor(targetPath, m_nBuildId, m_nNumber);
    Record(Field(kTemp, {FileNameOfPath(tempPath)}));
    m_arrTemps.push_back(tempPath);
    return tempPath;
}

void CBookJournal::RemoveRecord()
{
    // Removed while still locked, so no other build reads it in between; on Windows the
    // name goes when the handle closes.
    CFile::Remove(m_strPath);
    m_file->Close();
    m_file.reset();
    m_strPath.clear();
}

void CBookJournal::Commit(const std::vector<PendingBookFile>& files, const std::vector<std::string>& retired)
{
    struct Aside {
        std::string path, tempPath;
    };
    Begin();
    // The plan first, whole: where each old file goes and each new file comes.
    std::vector<Aside> aside;
    std::vector<std::string> old = retired;
    for (const PendingBookFile& file : files)
        old.push_back(file.targetPath);
    std::string plan;
    for (const std::string& path : old) {
        std::uint64_t size;
        if (!CFile::GetSize(path, size))
            continue;
        aside.push_back({path, TempPathFor(path, m_nBuildId, m_nNumber)});
        plan += Field(kAside, {FileNameOfPath(path), FileNameOfPath(aside.back().tempPath)});
    }
    for (const PendingBookFile& file : files) {
        std::uint64_t size = 0;
        if (!CFile::GetSize(file.tempPath, size))
            throw CFileException(CFileException::fileNotFound, 0, file.targetPath);
        plan += Field(kNew, {FileNameOfPath(file.tempPath), FileNameOfPath(file.targetPath), std::to_string(size)});
    }
    Step();
    Record(plan);
    // The plan reaches the disk before the first rename: what a rename did, the record
    // can always undo.
    try {
        m_file->Flush();
        CFile::FlushFolder(Utf8Path(U8Path(m_strPath).parent_path()));
    } catch (const CFileException& e) {
        throw CFileException(e.GetCause(), e.GetOsError(), m_strJarPath);
    }

    std::vector<std::string> placed;
    std::size_t setAside = 0;
    std::string renaming;
    bool existing = true;
    try {
        for (const Aside& a : aside) {
            renaming = a.path;
            Step();
            CFile::Rename(a.path, a.tempPath);
            ++setAside;
        }
        existing = false;
        for (const PendingBookFile& file : files) {
            renaming = file.targetPath;
            Step();
            CFile::Rename(file.tempPath, file.targetPath);
            placed.push_back(file.targetPath);
        }
    } catch (const CFileException& e) {
        // Undone as far as the file system lets; what it does not, the record keeps for a
        // later build (a failure here would only hide the first).
        bool undone = true;
        for (const std::string& path : placed) {
            try {
                CFile::Remove(path);
            } catch (const CFileException&) {
                undone = false;
            }
        }
        for (std::size_t i = setAside; i-- > 0;) {
            try {
                CFile::Rename(aside[i].tempPath, aside[i].path);
            } catch (const CFileException&) {
                undone = false;
            }
        }
        m_bKeep = !undone;
        throw CFileException(e.GetCause(), e.GetOsError(), renaming, existing);
    }
    Step();
    Record(Field(kDone, {}));
    m_arrTemps.clear();
    bool removed = true;
    for (const Aside& setAsideFile : aside) {
        try {
            Step();
            CFile::Remove(setAsideFile.tempPath);
        } catch (const CFileException&) {
            removed = false;  // the record names it: a later build removes it
        }
    }
    if (removed) {
        Step();
        RemoveRecord();
    }
}

void CBookJournal::Discard() noexcept
{
    try {
        for (const std::string& temp : m_arrTemps) {
            std::uint64_t size;
            if (CFile::GetSize(temp, size))
                CFile::Remove(temp);
        }
        m_arrTemps.clear();
        if (m_file && !m_bKeep)
            RemoveRecord();
    } catch (const CException&) {
        // A failure is already on its way to the caller; the record stays for a later build.
    }
}

RecoveryReport RecoverInterruptedBuilds(const std::string& jarPath, const std::vector<std::string>& protectedFiles,
                                        const std::string& ownRecord)
{
    RecoveryReport report;
    // The folder as the book's path names it (nothing for the current one), so that the
    // paths said are the book's own.
    const fs::path dir = U8Path(jarPath).parent_path();
    const BookNames book(jarPath);
    const std::string own = FileNameOfPath(ownRecord);
    std::vector<std::pair<fs::path, std::uint32_t>> candidates;
    std::error_code ec;
    for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8Path(it->path().filename());
        const std::optional<std::uint32_t> id = TempFileOwner(name);
        if (id && name != own && IsRegularFile(it->path()))
            candidates.emplace_back(dir / it->path().filename(), *id);
    }
    for (const auto& [path, id] : candidates) {
        const std::string name = Utf8Path(path);
        auto refuse = [&](const std::string& reason) { report.refused.push_back({name, reason}); };
        std::string data;
        CFile record;
        CFile::LockResult lock = CFile::LockResult::busy;
        try {
            // Most candidates are temporary files of builds: only the head is read of them.
            // A record stays readable while its build holds the lock.
            record.Open(name, CFile::modeRead | CFile::shareDenyNone | CFile::shareDelete | CFile::typeBinary);
            char head[kMagicLength];
            if (record.Read(head, kMagicLength) != kMagicLength ||
                (std::memcmp(head, kJournalMagic, kMagicLength) != 0 &&
                 std::memcmp(head, kJournalMagicV1, kMagicLength) != 0))
                continue;
            const std::uint64_t length = record.GetLength();
            if (length > kMaxRecordBytes) {
                refuse("记录有 " + std::to_string(length) + " 字节，比一次生成能写的大得多，未照它做任何事");
                continue;
            }
            // A handle that may lock it; on Windows a running build's own handle refuses
            // writers, which says as much as its lock.
            record.Open(name, CFile::modeReadWrite | CFile::shareDenyNone | CFile::shareDelete | CFile::typeBinary);
            lock = record.Lock(false);
            if (lock == CFile::LockResult::locked && !record.IsAt(name))
                continue;  // its build ended and removed it meanwhile
            data.resize(static_cast<std::size_t>(record.GetLength()));
            data.resize(record.Read(data.data(), static_cast<std::uint32_t>(data.size())));
        } catch (const CFileException& e) {
            if (e.GetCause() != CFileException::sharingViolation)
                continue;  // gone, or not ours to open
            lock = CFile::LockResult::busy;
            try {
                CFile reader;
                reader.Open(name, CFile::modeRead | CFile::shareDenyNone | CFile::shareDelete | CFile::typeBinary);
                data.resize(static_cast<std::size_t>(std::min<std::uint64_t>(reader.GetLength(), kMaxRecordBytes)));
                data.resize(reader.Read(data.data(), static_cast<std::uint32_t>(data.size())));
            } catch (const CFileException&) {
                continue;
            }
        }
        const Plan plan = ReadPlan(data);
        const std::string why = Distrust(plan, book, id);
        if (lock == CFile::LockResult::busy) {
            // A build runs: of this book, it is writing the same files.
            if (why.empty())
                report.running.push_back(name);
            continue;
        }
        if (!why.empty()) {
            refuse(why + "，未照它做任何事");
            continue;
        }
        if (lock == CFile::LockResult::unsupported) {
            refuse("这里的文件系统不支持文件锁，无法确认写它的生成已经结束，未照它做任何事");
            continue;
        }
        Recovery recovery(dir, protectedFiles, report.done);
        if (!recovery.Run(plan)) {
            refuse("有的文件无法处理，记录留给下次生成");
            continue;
        }
        try {
            CFile::Remove(name);  // still locked: no other build reads it in between
        } catch (const CFileException&) {
        }
    }
    return report;
}
