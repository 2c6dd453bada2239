#include "jar/book_journal.h"

#include "jar/book_temp_file.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/path.h"
#include "platform/process.h"

#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Records: a kind letter and its file names, each ended by NUL (a file name holds no NUL).
constexpr char kTemp = 'T';   // name: a temporary file about to be created
constexpr char kAside = 'A';  // target, aside: the old file at target goes to aside
constexpr char kNew = 'N';    // temp, target: the new file at temp goes to target
constexpr char kDone = 'D';   // every new file is in place
constexpr std::size_t kMaxRecordBytes = 64u << 20;

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

// One record as read back; a record cut short by a kill is dropped.
struct Plan {
    std::vector<std::string> temps;
    std::vector<std::pair<std::string, std::string>> asides;  // target, aside
    std::vector<std::pair<std::string, std::string>> news;    // temp, target
    bool done = false;
};

Plan ReadPlan(const std::string& data)
{
    Plan plan;
    std::vector<std::string> fields;
    for (std::size_t from = sizeof kJournalMagic - 1, at; (at = data.find('\0', from)) != std::string::npos;
         from = at + 1)
        fields.push_back(data.substr(from, at - from));
    for (std::size_t i = 0; i < fields.size();) {
        const std::string& kind = fields[i];
        const std::size_t arity = kind.size() != 1 ? 99 : kind[0] == kTemp ? 1 : kind[0] == kDone ? 0 : 2;
        if (arity == 99 || i + arity >= fields.size() + (arity == 0 ? 1 : 0))
            break;
        if (kind[0] == kTemp)
            plan.temps.push_back(fields[i + 1]);
        else if (kind[0] == kAside)
            plan.asides.emplace_back(fields[i + 1], fields[i + 2]);
        else if (kind[0] == kNew)
            plan.news.emplace_back(fields[i + 1], fields[i + 2]);
        else if (kind[0] == kDone)
            plan.done = true;
        i += 1 + arity;
    }
    return plan;
}

// A name the record gives must be a plain file name in its folder.
bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

class Recovery {
public:
    Recovery(const fs::path& folder, const std::vector<std::string>& protectedFiles,
             std::vector<RecoveredFile>& done)
        : m_folder(folder), m_protected(protectedFiles), m_done(done) {}

    // Carries out one record; false when something could not be done (the record stays).
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
        for (const auto& [temp, target] : plan.news) {
            // The rename of temp to target is atomic: with temp gone, a file at target is
            // the new one, unless the old one is back already (its aside gone then).
            if (Exists(Path(temp)) || !IsRegularFile(Path(target)))
                continue;
            const auto aside = asideOf.find(target);
            if (aside == asideOf.end() || Exists(Path(aside->second)))
                Remove(target, RecoveredFile::removedNew);
        }
        for (const auto& [target, aside] : plan.asides) {
            if (!IsPlainName(target) || !IsPlainName(aside) || !IsRegularFile(Path(aside)) || Exists(Path(target)))
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
        if (!IsPlainName(name))
            return;
        const fs::path path = Path(name);
        if (!IsRegularFile(path))
            return;
        if (IsProtected(path)) {
            m_ok = false;  // the record stays for a build that does not read it
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

CBookJournal::CBookJournal(const std::string& bookPath) : m_strBookPath(bookPath) {}

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

void CBookJournal::Record(const std::string& line)
{
    // The record is a file of the book: its failures name the book.
    const std::string& bookPath = m_strBookPath;
    try {
        if (!m_file) {
            // The record exists before any file it names.
            m_strPath = TempPathFor(bookPath);
            m_file = std::make_unique<CFile>();
            m_file->Open(m_strPath, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeBinary);
            m_file->Write(kJournalMagic, sizeof kJournalMagic - 1);
        }
        // Written straight to the file, not buffered: a kill after this call keeps it.
        m_file->Write(line.data(), static_cast<std::uint32_t>(line.size()));
    } catch (const CFileException& e) {
        if (m_file && !m_file->IsOpen())
            m_file.reset();
        throw CFileException(e.GetCause(), e.GetOsError(), bookPath);
    }
}

std::string CBookJournal::NewTempFile(const std::string& targetPath)
{
    std::string tempPath = TempPathFor(targetPath);
    Record(Field(kTemp, {FileNameOfPath(tempPath)}));
    m_arrTemps.push_back(tempPath);
    return tempPath;
}

void CBookJournal::Commit(const std::vector<PendingBookFile>& files, const std::vector<std::string>& retired)
{
    struct Aside {
        std::string path, tempPath;
    };
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
        aside.push_back({path, TempPathFor(path)});
        plan += Field(kAside, {FileNameOfPath(path), FileNameOfPath(aside.back().tempPath)});
    }
    for (const PendingBookFile& file : files)
        plan += Field(kNew, {FileNameOfPath(file.tempPath), FileNameOfPath(file.targetPath)});
    Step();
    Record(plan);

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
        // Undone as far as the file system lets: a failure here would only hide the first.
        for (const std::string& path : placed) {
            try {
                CFile::Remove(path);
            } catch (const CFileException&) {
            }
        }
        for (std::size_t i = setAside; i-- > 0;) {
            try {
                CFile::Rename(aside[i].tempPath, aside[i].path);
            } catch (const CFileException&) {
            }
        }
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
        m_file->Close();
        m_file.reset();
        CFile::Remove(m_strPath);
        m_strPath.clear();
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
        if (m_file) {
            m_file->Abort();
            m_file.reset();
            CFile::Remove(m_strPath);
            m_strPath.clear();
        }
    } catch (const CException&) {
        // A failure is already on its way to the caller; the record stays for a later build.
    }
}

std::vector<RecoveredFile> RecoverInterruptedBuilds(const std::string& folder,
                                                    const std::vector<std::string>& protectedFiles,
                                                    const std::function<bool(std::uint32_t)>& isRunning)
{
    std::vector<RecoveredFile> done;
    const fs::path dir = folder.empty() ? fs::path(".") : U8Path(folder);
    std::vector<fs::path> records;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<std::uint32_t> owner = TempFileOwner(Utf8Path(it->path().filename()));
        if (!owner || isRunning(*owner) || !IsRegularFile(it->path()))
            continue;
        records.push_back(it->path());
    }
    for (const fs::path& path : records) {
        std::string data;
        try {
            CFile file;
            file.Open(Utf8Path(path), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
            const std::uint64_t length = file.GetLength();
            if (length < sizeof kJournalMagic - 1 || length > kMaxRecordBytes)
                continue;
            data.resize(static_cast<std::size_t>(length));
            data.resize(file.Read(data.data(), static_cast<std::uint32_t>(data.size())));
        } catch (const CFileException&) {
            continue;
        }
        if (data.compare(0, sizeof kJournalMagic - 1, kJournalMagic) != 0)
            continue;  // not a record of ours: a file that only looks like one
        Recovery recovery(dir, protectedFiles, done);
        if (recovery.Run(ReadPlan(data))) {
            try {
                CFile::Remove(Utf8Path(path));
            } catch (const CFileException&) {
            }
        }
    }
    return done;
}

std::vector<RecoveredFile> RecoverInterruptedBuilds(const std::string& folder,
                                                    const std::vector<std::string>& protectedFiles)
{
    return RecoverInterruptedBuilds(folder, protectedFiles,
                                    [](std::uint32_t id) { return id == CurrentProcessId() || IsProcessRunning(id); });
}
